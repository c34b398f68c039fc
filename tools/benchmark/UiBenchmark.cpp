// The user-interface benchmark: starts the real Kelvane.exe on the sample headers and measures
//   1. the time from starting the process to the first painted main window (both lists filled,
//      nothing left to paint), over several starts;
//   2. the time from a keystroke in the NTSTATUS name field to the updated, painted list.
// Run by hand (tools/ui-benchmark.sh), not a test:
//   kelvane_ui_benchmark.exe [PATH_TO_KELVANE_EXE]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdint>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#ifndef KELVANE_SAMPLE_DIR
#error "KELVANE_SAMPLE_DIR names the folder of the sample headers"
#endif

namespace {

const int STARTS = 7;
const DWORD TIMEOUT_MS = 30000;

double now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

[[noreturn]] void fail(const char* why) {
    std::fprintf(stderr, "ui benchmark: %s\n", why);
    ExitProcess(1);
}

std::wstring nativeSlashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// The whole file, or nothing when it cannot be read.
std::string readBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[65536];
    DWORD count = 0;
    while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        bytes.append(buffer, count);
    }
    CloseHandle(file);
    return bytes;
}

// The names the NTSTATUS list shows: per value the last name that the header defines for it.
std::map<std::uint32_t, std::string> sampleNtStatusNames(const std::wstring& path) {
    std::string text = readBytes(path);
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::map<std::uint32_t, std::string> names;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream tokens(line);
        std::string define, name, value;
        tokens >> define >> name >> value;
        const std::string prefix = "((NTSTATUS)0x";
        if (define != "#define" || name.compare(0, 7, "STATUS_") != 0 || value.compare(0, prefix.size(), prefix) != 0 ||
            value.size() < prefix.size() + 2 || value.compare(value.size() - 2, 2, "L)") != 0) {
            continue;
        }
        const std::string digits = value.substr(prefix.size(), value.size() - prefix.size() - 2);
        if (digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
            continue;
        }
        names[static_cast<std::uint32_t>(std::stoull(digits.empty() ? "0" : digits, nullptr, 16))] = name;
    }
    return names;
}

std::size_t matching(const std::map<std::uint32_t, std::string>& names, const std::string& text) {
    std::size_t count = 0;
    for (const auto& entry : names) {
        count += entry.second.find(text) != std::string::npos ? 1 : 0;
    }
    return count;
}

struct Windows {
    HWND frame = nullptr;
    HWND leftList = nullptr;
    HWND rightList = nullptr;
};

struct FindFrame {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findFrame(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FindFrame*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner == search->processId && IsWindowVisible(window) && std::wstring(title) == L"Kelvane - kelvane.cfg") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectLists(HWND window, LPARAM parameter) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (_wcsicmp(name, L"ListBox") == 0) {
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    }
    return TRUE;
}

Windows findWindows(DWORD processId) {
    Windows windows;
    FindFrame search = {processId, nullptr};
    EnumWindows(findFrame, reinterpret_cast<LPARAM>(&search));
    windows.frame = search.found;
    if (windows.frame == nullptr) {
        return windows;
    }
    std::vector<HWND> lists;
    EnumChildWindows(windows.frame, collectLists, reinterpret_cast<LPARAM>(&lists));
    if (lists.size() == 2) {
        RECT a, b;
        GetWindowRect(lists[0], &a);
        GetWindowRect(lists[1], &b);
        windows.leftList = a.left <= b.left ? lists[0] : lists[1];
        windows.rightList = a.left <= b.left ? lists[1] : lists[0];
    }
    return windows;
}

LRESULT itemCount(HWND list) {
    DWORD_PTR count = 0;
    return SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 1000, &count) ? static_cast<LRESULT>(count) : -1;
}

bool painted(HWND window) {
    return IsWindowVisible(window) && !GetUpdateRect(window, nullptr, FALSE);
}

void median(const char* what, std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::printf("%s: median %.1f ms, min %.1f ms, max %.1f ms (%u samples)\n", what, values[values.size() / 2],
                values.front(), values.back(), static_cast<unsigned>(values.size()));
}

void sendChar(wchar_t unit) {
    INPUT inputs[2] = {};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wScan = unit;
        inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    SendInput(2, inputs, sizeof(INPUT));
}

void sendKey(WORD key) {
    INPUT inputs[2] = {};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = key;
        inputs[i].ki.dwFlags = i == 1 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(2, inputs, sizeof(INPUT));
}

template <class Condition>
bool spinUntil(Condition condition) {
    const double start = now();
    while (!condition()) {
        if (now() - start > TIMEOUT_MS) {
            return false;
        }
        Sleep(0);
    }
    return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring program = argc > 1 ? argv[1] : std::wstring(self);
    if (argc <= 1) {
        program.erase(program.find_last_of(L"\\/"));
        program.erase(program.find_last_of(L"\\/") + 1);
        program += L"app\\Kelvane.exe";
    }
    const std::wstring sampleDir = nativeSlashes(KELVANE_SAMPLE_DIR);
    const auto names = sampleNtStatusNames(sampleDir + L"\\ntstatus.h");
    if (names.empty()) {
        fail("the sample ntstatus.h has no codes");
    }

    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kelvane-ui-benchmark-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring config = folder + L"\\kelvane.cfg";
    {
        std::string text = "ntstatus.h=";
        for (wchar_t unit : sampleDir + L"\\ntstatus.h") text += static_cast<char>(unit);
        text += "\r\nwinerror.h=";
        for (wchar_t unit : sampleDir + L"\\winerror.h") text += static_cast<char>(unit);
        text += "\r\n";
        HANDLE file = CreateFileW(config.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  nullptr);
        DWORD written = 0;
        if (file == INVALID_HANDLE_VALUE ||
            !WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
            fail("the configuration file could not be written");
        }
        CloseHandle(file);
    }

    std::vector<double> startTimes;
    std::vector<double> keyTimes;
    for (int run = 0; run < STARTS; ++run) {
        std::wstring commandLine = L"\"" + program + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        const double started = now();
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                            &process)) {
            fail("Kelvane.exe could not be started");
        }
        Windows windows;
        const bool up = spinUntil([&] {
            if (windows.leftList == nullptr) {
                windows = findWindows(process.dwProcessId);
                return false;
            }
            return itemCount(windows.leftList) == static_cast<LRESULT>(names.size()) && itemCount(windows.rightList) > 0 &&
                   painted(windows.frame) && painted(windows.leftList) && painted(windows.rightList);
        });
        if (!up) {
            TerminateProcess(process.hProcess, 1);
            fail("the main window did not come up");
        }
        startTimes.push_back(now() - started);
        std::printf("  start %d: %.1f ms\n", run + 1, startTimes.back());

        if (run == 0) {
            // Keystrokes into the NTSTATUS name field (F1 focuses it), each one changing the list.
            SetForegroundWindow(windows.frame);
            spinUntil([&] { return GetForegroundWindow() == windows.frame; });
            sendKey(VK_F1);
            Sleep(200);
            // Typing narrows the list step by step, Backspace widens it again.
            const std::string word = "_VIOLATION";
            std::string typed;
            std::size_t previous = names.size();
            for (std::size_t step = 0; step < 2 * word.size(); ++step) {
                const bool typing = step < word.size();
                if (typing) {
                    typed += word[step];
                } else {
                    typed.pop_back();
                }
                const std::size_t expected = matching(names, typed);
                const double pressed = now();
                if (typing) {
                    sendChar(static_cast<wchar_t>(word[step]));
                } else {
                    sendKey(VK_BACK);
                }
                const bool updated = spinUntil([&] {
                    return itemCount(windows.leftList) == static_cast<LRESULT>(expected) && painted(windows.leftList);
                });
                if (!updated) {
                    fail("the list did not follow a keystroke");
                }
                if (expected != previous) {
                    keyTimes.push_back(now() - pressed);
                    std::printf("  \"%s\": %u rows, %.1f ms\n", typed.c_str(), static_cast<unsigned>(expected),
                                keyTimes.back());
                }
                previous = expected;
                Sleep(50);
            }
        }
        PostMessageW(windows.frame, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process.hProcess, TIMEOUT_MS) != WAIT_OBJECT_0) {
            TerminateProcess(process.hProcess, 1);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    DeleteFileW(config.c_str());
    RemoveDirectoryW(folder.c_str());

    std::printf("sample headers: %u NTSTATUS values in the list\n", static_cast<unsigned>(names.size()));
    median("process start to first painted main window", startTimes);
    if (keyTimes.empty()) {
        fail("no keystroke changed the list");
    }
    median("keystroke in the name field to the updated, painted list", keyTimes);
    return 0;
}
