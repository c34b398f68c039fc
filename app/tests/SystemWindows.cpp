#include "SystemWindows.h"

namespace {

struct Search {
    DWORD processId;
    const std::wstring* title;
    const wchar_t* className;
    bool prefixOnly;
    HWND found;
};

std::wstring classOf(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

BOOL CALLBACK matchTopLevel(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window)) {
        return TRUE;
    }
    if (search->className != nullptr && _wcsicmp(classOf(window).c_str(), search->className) != 0) {
        return TRUE;
    }
    const std::wstring text = textOf(window);
    const bool matches = search->prefixOnly ? text.compare(0, search->title->size(), *search->title) == 0
                                            : text == *search->title;
    if (matches) {
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
    if (search->className != nullptr && _wcsicmp(classOf(window).c_str(), search->className) != 0) {
        return TRUE;
    }
    if (search->text != nullptr && textOf(window) != *search->text) {
        return TRUE;
    }
    search->found.push_back(window);
    return TRUE;
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

HWND findWindowOf(DWORD processId, const std::wstring& title, const wchar_t* className) {
    Search search = {processId, &title, className, false, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForWindowOf(DWORD processId, const std::wstring& title, const wchar_t* className, DWORD timeoutMs) {
    HWND found = nullptr;
    waitFor([&] { return (found = findWindowOf(processId, title, className)) != nullptr; }, timeoutMs);
    return found;
}

bool hasWindowStartingWith(DWORD processId, const std::wstring& prefix) {
    Search search = {processId, &prefix, nullptr, true, nullptr};
    EnumWindows(matchTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
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

std::vector<HWND> descendantsOfClass(HWND parent, const wchar_t* className) {
    ChildSearch search = {className, nullptr, {}};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND descendantWithText(HWND parent, const std::wstring& text) {
    ChildSearch search = {nullptr, &text, {}};
    EnumChildWindows(parent, matchChild, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

std::wstring messageBoxText(HWND box) {
    // The message of a system message box is its static control 0xFFFF.
    HWND message = GetDlgItem(box, 0xFFFF);
    if (message != nullptr) {
        return textOf(message);
    }
    std::wstring text;
    for (HWND label : descendantsOfClass(box, L"Static")) {
        text += textOf(label);
    }
    return text;
}

std::wstring systemTextLine(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD count = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                           FORMAT_MESSAGE_FROM_SYSTEM,
                                       nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = count > 0 ? std::wstring(buffer, count) : std::wstring();
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, L"\r\n") == 0) {
        text.erase(text.size() - 2);
    }
    return text;
}
