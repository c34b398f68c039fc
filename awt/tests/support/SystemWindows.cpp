#include "awt/tests/support/SystemWindows.h"

#include <functional>

#include "awt/tests/support/Loop.h"

namespace test {

namespace {

using Visit = std::function<bool(HWND)>;

BOOL CALLBACK visitOne(HWND window, LPARAM visit) {
    return (*reinterpret_cast<Visit*>(visit))(window) ? TRUE : FALSE;
}

// Calls visit for the top-level windows (parent null) or the descendants, while it returns true.
void enumerate(HWND parent, Visit visit) {
    const auto each = reinterpret_cast<LPARAM>(&visit);
    parent == nullptr ? EnumWindows(visitOne, each) : EnumChildWindows(parent, visitOne, each);
}

bool hasClass(HWND window, const wchar_t* name) {
    return name == nullptr || _wcsicmp(className(window).c_str(), name) == 0;
}

} // namespace

std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::wstring();
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    const bool read = SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                                          SMTO_ABORTIFHUNG, 5000, &copied) != 0;
    text.resize(read ? copied : 0);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND findWindow(const std::wstring& title, const wchar_t* className, DWORD processId, bool prefixOnly) {
    HWND found = nullptr;
    enumerate(nullptr, [&](HWND window) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && IsWindowVisible(window) && hasClass(window, className)) {
            const std::wstring text = windowText(window);
            found = (prefixOnly ? text.compare(0, title.size(), title) == 0 : text == title) ? window : nullptr;
        }
        return found == nullptr;
    });
    return found;
}

HWND waitForWindow(const std::wstring& title, const wchar_t* className, DWORD processId, DWORD limitMs) {
    HWND found = nullptr;
    pollUntil([&] { return (found = findWindow(title, className, processId)) != nullptr; }, limitMs);
    return found;
}

std::vector<HWND> descendants(HWND parent, const wchar_t* className, const std::wstring* text) {
    std::vector<HWND> found;
    enumerate(parent, [&](HWND window) {
        if (hasClass(window, className) && (text == nullptr || windowText(window) == *text)) {
            found.push_back(window);
        }
        return true;
    });
    return found;
}

HWND descendantWithText(HWND parent, const std::wstring& text) {
    const std::vector<HWND> found = descendants(parent, nullptr, &text);
    return found.empty() ? nullptr : found.front();
}

std::wstring messageBoxText(HWND box) {
    return windowText(GetDlgItem(box, 0xFFFF));
}

void dismissBox(HWND box, int command) {
    PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(command), 0);
}

bool clickButton(HWND dialog, const std::wstring& caption) {
    HWND button = descendantWithText(dialog, caption);
    return button != nullptr && PostMessageW(button, BM_CLICK, 0, 0);
}

} // namespace test
