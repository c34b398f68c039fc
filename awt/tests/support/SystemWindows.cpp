#include "awt/tests/support/SystemWindows.h"

#include "awt/tests/support/Loop.h"

namespace test {

namespace {

bool hasClass(HWND window, const wchar_t* name) {
    return name == nullptr || _wcsicmp(className(window).c_str(), name) == 0;
}

struct Search {
    const std::wstring& title;
    const wchar_t* className;
    DWORD processId;
    bool prefixOnly;
    HWND found;
};

BOOL CALLBACK matchTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window) || !hasClass(window, search->className)) {
        return TRUE;
    }
    const std::wstring text = windowText(window);
    if (search->prefixOnly ? text.compare(0, search->title.size(), search->title) == 0
                           : text == search->title) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    const wchar_t* className;
    const std::wstring* text;
    std::vector<HWND> found;
};

BOOL CALLBACK matchChild(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<ChildSearch*>(parameter);
    if (hasClass(window, search->className) && (search->text == nullptr || windowText(window) == *search->text)) {
        search->found.push_back(window);
    }
    return TRUE;
}

} // namespace

std::wstring windowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) {
        return std::wstring();
    }
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, length + 1, reinterpret_cast<LPARAM>(&text[0]),
                             SMTO_ABORTIFHUNG, 5000, &copied)) {
        return std::wstring();
    }
    text.resize(copied);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

HWND findWindow(const std::wstring& title, const wchar_t* className, DWORD processId, bool prefixOnly) {
    Search search{title, className, processId, prefixOnly, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindow(const std::wstring& title, const wchar_t* className, DWORD processId, DWORD limitMs) {
    HWND found = nullptr;
    pollUntil([&] { return (found = findWindow(title, className, processId)) != nullptr; }, limitMs);
    return found;
}

std::vector<HWND> descendants(HWND parent, const wchar_t* className, const std::wstring* text) {
    ChildSearch search{className, text, {}};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
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
    if (button != nullptr) {
        PostMessageW(button, BM_CLICK, 0, 0);
    }
    return button != nullptr;
}

} // namespace test
