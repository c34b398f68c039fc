#include "AppTestSupport.h"

#include <atomic>
#include <thread>

#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"

namespace testheaders {

const char* const ntStatusHeader =
    "#define STATUS_SUCCESS                   ((NTSTATUS)0x00000000L)\r\n"
    "#define STATUS_PENDING                   ((NTSTATUS)0x00000103L)    // operation in progress\r\n"
    "#define STATUS_UNSUCCESSFUL              ((NTSTATUS)0xC0000001L)\r\n"
    "#define STATUS_ACCESS_VIOLATION          ((NTSTATUS)0xC0000005L)\r\n"
    "#define STATUS_INVALID_LOCK_SEQUENCE     ((NTSTATUS)0xC000001EL)\r\n"
    "#define STATUS_INVALID_VIEW_SIZE         ((NTSTATUS)0xC000001FL)\r\n"
    "#define STATUS_ACCESS_DENIED             ((NTSTATUS)0xC0000022L)\r\n"
    "#define STATUS_OBJECT_NAME_NOT_FOUND     ((NTSTATUS)0xC0000034L)\r\n"
    "#define STATUS_KELVANE_UNMAPPED          ((NTSTATUS)0xC0FE0001L)\r\n";

const char* const win32Header =
    "#define ERROR_SUCCESS 0L\r\n"
    "#define ERROR_INVALID_FUNCTION 1L\r\n"
    "#define ERROR_FILE_NOT_FOUND 2L\r\n"
    "#define ERROR_ACCESS_DENIED 5L\r\n"
    "#define ERROR_INVALID_HANDLE 6L\r\n"
    "#define ERROR_KELVANE_HANDLE 6L\r\n"
    "#define ERROR_IO_PENDING 997L\r\n"
    "#define ERROR_NOACCESS 998L\r\n";

std::string configuration(const std::wstring& ntStatusPath, const std::wstring& win32Path) {
    // The temporary folder's paths are ASCII.
    return "ntstatus.h=" + std::string(ntStatusPath.begin(), ntStatusPath.end()) + "\r\nwinerror.h=" +
           std::string(win32Path.begin(), win32Path.end()) + "\r\n";
}

std::wstring writeAll(TempFolder& folder) {
    const std::wstring ntStatusPath = folder.writeFile(L"ntstatus.h", ntStatusHeader);
    const std::wstring win32Path = folder.writeFile(L"winerror.h", win32Header);
    return folder.writeFile(L"kelvane.cfg", configuration(ntStatusPath, win32Path));
}

}  // namespace testheaders

namespace {

BOOL CALLBACK closeWindow(HWND window, LPARAM) {
    if (IsWindowVisible(window)) {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

}  // namespace

PaneView viewOf(ErrorCodePane* pane) {
    const auto text = [](awt::Component* field) { return test::windowText(field->getHWND()); };
    PaneView view{pane->getCurrentCode(), text(pane->getNameField()), text(pane->getDecimalField()),
                  text(pane->getHexField()), text(pane->getMessageArea()), {}, -1};
    HWND list = pane->getList()->getHWND();
    for (LRESULT row = 0; row < SendMessageW(list, LB_GETCOUNT, 0, 0); ++row) {
        wchar_t text[256] = {};
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(text));
        view.rows.push_back(text);
    }
    view.selectedRow = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    return view;
}

std::wstring systemText(DWORD code, const wchar_t* module) {
    wchar_t* buffer = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM |
                        (module != nullptr ? FORMAT_MESSAGE_FROM_HMODULE : 0);
    const DWORD count = FormatMessageW(flags, module != nullptr ? GetModuleHandleW(module) : nullptr, code, 0,
                                       reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = count > 0 ? std::wstring(buffer, count) : std::wstring();
    LocalFree(buffer);
    return text;
}

std::wstring errorBoxText(const std::wstring& classLine, const std::wstring& message, DWORD code) {
    std::wstring text = classLine + (message.empty() ? L"" : L"\n" + message) + L"\n\nError code: " +
                        std::to_wstring(static_cast<int>(code));
    const std::wstring system = systemText(code);
    return system.empty() ? text : text + L"\n" + system.substr(0, system.find_last_not_of(L"\r\n") + 1);
}

HWND settingsDialogAfterErrorBox(DWORD processId, const std::wstring& expectedText) {
    HWND box = test::waitForWindow(L"Kelvane", L"#32770", processId, 15000);
    if (box == nullptr) {
        ADD_FAILURE() << "no error box";
        return nullptr;
    }
    EXPECT_EQ(expectedText, test::messageBoxText(box));
    test::dismissBox(box);
    return test::waitForWindow(awt::Toolkit::loadString(9), nullptr, processId, 15000);
}

int runScripted(Kelvane& frame, const std::function<void()>& script) {
    std::atomic<bool> ended{false};
    const DWORD runThread = GetCurrentThreadId();
    std::thread driver([&] {
        script();
        while (!ended) {
            EnumThreadWindows(runThread, closeWindow, 0);
            Sleep(100);
        }
    });
    int result = -1;
    try {
        result = frame.run();
    } catch (...) {
        ADD_FAILURE() << "run threw";
    }
    ended = true;
    driver.join();
    return result;
}
