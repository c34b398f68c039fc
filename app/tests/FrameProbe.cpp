#include "FrameProbe.h"

#include <commctrl.h>

#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"

extern "C" ULONG WINAPI RtlNtStatusToDosError(LONG status);

std::wstring windowText(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, &text[0], length + 1);
    text.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
    return text;
}

PaneView viewOf(ErrorCodePane* pane) {
    PaneView view;
    view.currentCode = pane->getCurrentCode();
    view.name = windowText(pane->getNameField()->getHWND());
    view.decimal = windowText(pane->getDecimalField()->getHWND());
    view.hex = windowText(pane->getHexField()->getHWND());
    view.message = windowText(pane->getMessageArea()->getHWND());
    HWND list = pane->getList()->getHWND();
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, row, 0);
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<std::size_t>(length));
        view.rows.push_back(text);
    }
    view.selectedRow = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    return view;
}

std::wstring statusTextOf(Kelvane* frame) {
    HWND bar = frame->getStatusBar()->getHWND();
    const LRESULT length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::wstring resourceString(UINT id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

namespace {

std::wstring formatted(DWORD flags, HMODULE source, std::uint32_t code) {
    wchar_t* buffer = nullptr;
    const DWORD count = FormatMessageW(flags, source, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = count > 0 ? std::wstring(buffer, count) : std::wstring();
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    return text;
}

}  // namespace

std::wstring systemNtStatusText(std::uint32_t code) {
    return formatted(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_HMODULE |
                         FORMAT_MESSAGE_FROM_SYSTEM,
                     GetModuleHandleW(L"ntdll.dll"), code);
}

std::wstring systemWin32Text(std::uint32_t code) {
    return formatted(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                     nullptr, code);
}

std::uint32_t platformNtStatusToWin32(std::uint32_t code) {
    return RtlNtStatusToDosError(static_cast<LONG>(code));
}
