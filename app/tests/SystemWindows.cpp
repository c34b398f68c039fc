#include "SystemWindows.h"

#include <gtest/gtest.h>

#include "awt/Toolkit.h"

namespace {

struct Search {
    DWORD processId;
    const std::wstring* title;
    const wchar_t* className;
    bool prefixOnly;
    HWND found;
};

bool hasClass(HWND window, const wchar_t* className) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return className == nullptr || _wcsicmp(name, className) == 0;
}

BOOL CALLBACK matchTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !hasClass(window, search->className)) {
        return TRUE;
    }
    const std::wstring text = textOf(window);
    if (search->prefixOnly ? text.compare(0, search->title->size(), *search->title) == 0 : text == *search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findTopLevel(DWORD processId, const std::wstring& title, const wchar_t* className, bool prefixOnly) {
    Search search = {processId, &title, className, prefixOnly, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct ChildSearch {
    const wchar_t* className;
    const std::wstring* text;
    std::vector<HWND> found;
};

BOOL CALLBACK matchChild(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    if (hasClass(window, search->className) && (search->text == nullptr || textOf(window) == *search->text)) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::wstring formatted(DWORD flags, HMODULE source, DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD count = FormatMessageW(flags | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                           FORMAT_MESSAGE_FROM_SYSTEM,
                                       source, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = count > 0 ? std::wstring(buffer, count) : std::wstring();
    LocalFree(buffer);
    return text;
}

}  // namespace

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs) {
            return false;
        }
        Sleep(25);
    }
    return true;
}

HWND waitForWindowOf(DWORD processId, const std::wstring& title, const wchar_t* className, DWORD timeoutMs) {
    HWND found = nullptr;
    waitFor([&] { return (found = findTopLevel(processId, title, className, false)) != nullptr; }, timeoutMs);
    return found;
}

bool hasWindowStartingWith(DWORD processId, const std::wstring& prefix) {
    return findTopLevel(processId, prefix, nullptr, true) != nullptr;
}

std::wstring textOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::wstring();
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG,
                             5000, &copied)) {
        return std::wstring();
    }
    text.resize(copied);
    return text;
}

std::vector<HWND> descendants(HWND parent, const wchar_t* className, const std::wstring* text) {
    ChildSearch search = {className, text, {}};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND descendantWithText(HWND parent, const std::wstring& text) {
    const std::vector<HWND> found = descendants(parent, nullptr, &text);
    return found.empty() ? nullptr : found.front();
}

std::wstring messageBoxText(HWND box) {
    // The message of a system message box is its static control 0xFFFF.
    return textOf(GetDlgItem(box, 0xFFFF));
}

std::wstring systemWin32Text(DWORD code) {
    return formatted(0, nullptr, code);
}

std::wstring systemNtStatusText(DWORD code) {
    return formatted(FORMAT_MESSAGE_FROM_HMODULE, GetModuleHandleW(L"ntdll.dll"), code);
}

std::wstring errorBoxText(const std::wstring& classLine, const std::wstring& message, DWORD code) {
    std::wstring text = classLine + (message.empty() ? L"" : L"\n" + message) + L"\n\nError code: " +
                        std::to_wstring(static_cast<int>(code));
    std::wstring system = systemWin32Text(code);
    if (system.size() >= 2 && system.compare(system.size() - 2, 2, L"\r\n") == 0) {
        system.erase(system.size() - 2);
    }
    return system.empty() ? text : text + L"\n" + system;
}

HWND settingsDialogAfterErrorBox(DWORD processId, const std::wstring& expectedText) {
    HWND box = waitForWindowOf(processId, L"Kelvane", L"#32770");
    if (box == nullptr) {
        ADD_FAILURE() << "no error box";
        return nullptr;
    }
    EXPECT_EQ(expectedText, messageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    return waitForWindowOf(processId, awt::Toolkit::loadString(9));
}

void clickButton(HWND dialog, const std::wstring& caption) {
    HWND button = descendantWithText(dialog, caption);
    ASSERT_NE(nullptr, button) << "the dialog lacks a button";
    PostMessageW(button, BM_CLICK, 0, 0);
}
