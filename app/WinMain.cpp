// Kelvane's entry point: initialises the toolkit, runs the main frame and turns every failure
// that reaches it into the fatal-error box and the exit code.
#include <windows.h>

#include <exception>
#include <memory>
#include <string>

#include "app/Kelvane.h"
#include "awt/Toolkit.h"
#include "zeno/Exception.h"
#include "zeno/Strings.h"

namespace {

const wchar_t* const FATAL_ERROR_TITLE = L"Kelvane fatal error";
const UINT MB_ERROR_OK = 16;

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int showCommand) {
    try {
        awt::Toolkit::initialize(instance, showCommand, L"Kelvane");
        // The text after the program name, verbatim (quotes and trailing blanks stay).
        const std::wstring configPath =
            (commandLine != nullptr && commandLine[0] != L'\0') ? std::wstring(commandLine) : L"kelvane.cfg";
        auto frame = std::make_unique<Kelvane>(configPath);
        const int exitCode = frame->run();
        frame.reset();
        return exitCode;
    } catch (const zeno::Exception& e) {
        e.showMessageBox(nullptr, FATAL_ERROR_TITLE, MB_ERROR_OK);
        return static_cast<int>(e.getErrorCode());
    } catch (const std::exception& e) {
        // Not one of ours (out of memory, a library failure): still end with a box, not a crash.
        const std::string what = e.what();
        MessageBoxW(nullptr, std::wstring(what.begin(), what.end()).c_str(), FATAL_ERROR_TITLE, MB_ERROR_OK);
        return -1;
    }
}
