// The user-interface benchmark: starts the real Kelvane.exe on a header folder and measures, from
// the outside, what the user waits for:
//   - process start to the first painted main window (median over several starts), and the
//     working set and private bytes after loading;
//   - every key kind in a field (typing a name, typing digits, Up, Down, Page Up, Page Down, Esc,
//     Up and Down held at the keyboard's repeat rate) and clicks into a list, from the input to
//     the window that shows the result with nothing left to paint: median, 95th percentile, max.
// With --soak it instead repeats one cycle of typing, filtering, Esc and list clicks and prints
// the private bytes and the GDI and USER objects as it goes, to tell a leak from warm-up.
// Run by hand (tools/ui-benchmark.sh), not a test:
//   kelvane_ui_benchmark.exe [HEADER_FOLDER | --sdk-size] [--rounds N] [--starts N] [--soak CYCLES] [--program KELVANE_EXE]
// --sdk-size takes the headers of a current SDK's size that the build makes from the samples.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#if !defined(KELVANE_SAMPLE_DIR) || !defined(KELVANE_SDK_SIZE_DIR)
#error "KELVANE_SAMPLE_DIR and KELVANE_SDK_SIZE_DIR name the folders of the sample and SDK-size headers"
#endif

namespace {

const double SETTLE_TIMEOUT_MS = 10000;
const double START_TIMEOUT_MS = 60000;

double now() {
    static const double msPerTick = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return 1000.0 / static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * msPerTick;
}

// KELVANE_BENCHMARK_TRACE=1 prints every measured input to stderr.
const bool tracing = GetEnvironmentVariableW(L"KELVANE_BENCHMARK_TRACE", nullptr, 0) > 0;

[[noreturn]] void fail(const std::string& why) {
    std::fprintf(stderr, "ui benchmark: %s\n", why.c_str());
    std::fflush(stderr);
    ExitProcess(1);
}

std::wstring nativeSlashes(std::wstring path) {
    std::replace(path.begin(), path.end(), L'/', L'\\');
    while (path.size() > 3 && path.back() == L'\\') {
        path.pop_back();
    }
    return path;
}

std::string narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

// --- input -------------------------------------------------------------------------------------

void sendInputs(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

INPUT keyInput(WORD key, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void pressKey(WORD key) { sendInputs({keyInput(key, false), keyInput(key, true)}); }

void typeChar(wchar_t unit) {
    INPUT inputs[2] = {};
    for (int i = 0; i < 2; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wScan = unit;
        inputs[i].ki.dwFlags = KEYEVENTF_UNICODE | (i == 1 ? KEYEVENTF_KEYUP : 0);
    }
    sendInputs({inputs[0], inputs[1]});
}

void click(int screenX, int screenY) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = screenX * 65535 / (width - 1);
        input.mi.dy = screenY * 65535 / (height - 1);
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
    sendInputs({inputs[0], inputs[1], inputs[2]});
}

// The interval of the keyboard's auto-repeat (SPI_GETKEYBOARDSPEED 0..31 is about 2.5..30 a second).
double repeatIntervalMs() {
    DWORD speed = 31;
    SystemParametersInfoW(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    return 1000.0 / (2.5 + static_cast<double>(std::min<DWORD>(speed, 31)) * 27.5 / 31.0);
}

// --- the running program -------------------------------------------------------------------------

struct Pane {
    HWND name = nullptr;
    HWND decimal = nullptr;
    HWND hex = nullptr;
    HWND message = nullptr;
    HWND list = nullptr;
};

struct Program {
    PROCESS_INFORMATION process = {};
    HWND frame = nullptr;
    Pane left;
    Pane right;
    std::vector<HWND> windows;  // the frame and all its descendants
};

struct FrameSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK findFrame(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FrameSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t title[64] = {};
    GetWindowTextW(window, title, 64);
    if (owner == search->processId && IsWindowVisible(window) && std::wstring(title).rfind(L"Kelvane - ", 0) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM parameter) {
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

std::wstring classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

RECT screenRect(HWND window) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// Finds the frame and the controls of both panes; false while they are not all there yet.
bool findControls(Program& program) {
    FrameSearch search = {program.process.dwProcessId, nullptr};
    EnumWindows(findFrame, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
        return false;
    }
    std::vector<HWND> children;
    EnumChildWindows(search.found, collectWindow, reinterpret_cast<LPARAM>(&children));
    std::vector<HWND> edits;
    std::vector<HWND> lists;
    for (HWND child : children) {
        const std::wstring name = classOf(child);
        if (_wcsicmp(name.c_str(), L"Edit") == 0) {
            edits.push_back(child);
        } else if (_wcsicmp(name.c_str(), L"ListBox") == 0) {
            lists.push_back(child);
        }
    }
    if (edits.size() != 8 || lists.size() != 2) {
        return false;
    }
    auto leftToRightThenTopDown = [](HWND a, HWND b) {
        const RECT ra = screenRect(a);
        const RECT rb = screenRect(b);
        return ra.left != rb.left ? ra.left < rb.left : ra.top < rb.top;
    };
    std::sort(lists.begin(), lists.end(), leftToRightThenTopDown);
    // Edits of the left pane start left of the right list.
    const LONG split = screenRect(lists[1]).left;
    std::vector<HWND> leftEdits;
    std::vector<HWND> rightEdits;
    for (HWND edit : edits) {
        (screenRect(edit).left < split ? leftEdits : rightEdits).push_back(edit);
    }
    if (leftEdits.size() != 4 || rightEdits.size() != 4) {
        return false;
    }
    auto topDown = [](HWND a, HWND b) { return screenRect(a).top < screenRect(b).top; };
    std::sort(leftEdits.begin(), leftEdits.end(), topDown);
    std::sort(rightEdits.begin(), rightEdits.end(), topDown);
    program.left = Pane{leftEdits[0], leftEdits[1], leftEdits[2], leftEdits[3], lists[0]};
    program.right = Pane{rightEdits[0], rightEdits[1], rightEdits[2], rightEdits[3], lists[1]};
    program.frame = search.found;
    program.windows = children;
    program.windows.push_back(search.found);
    return true;
}

LRESULT ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result)) {
        return -2;
    }
    return static_cast<LRESULT>(result);
}

std::wstring textOf(HWND window) {
    wchar_t buffer[512] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG, 5000,
                             &length)) {
        return L"?";
    }
    return std::wstring(buffer, std::min<std::size_t>(length, 511));
}

LRESULT selectionOf(HWND list) { return ask(list, LB_GETCURSEL); }
LRESULT countOf(HWND list) { return ask(list, LB_GETCOUNT); }

// Nothing left to paint: no window of the frame has an update region.
bool painted(const Program& program) {
    if (!IsWindowVisible(program.frame)) {
        return false;
    }
    for (HWND window : program.windows) {
        if (IsWindowVisible(window) && GetUpdateRect(window, nullptr, FALSE)) {
            return false;
        }
    }
    return true;
}

HWND focusOf(const Program& program) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(program.process.dwThreadId, &info) ? info.hwndFocus : nullptr;
}

// Waits until the state shows the input's result and nothing is left to paint; the time since
// `from`. The program answers the question about its state only between messages, so a shown
// result means that the handling is over, and the question waits while the program is busy. The
// poll sleeps between questions: Wine's server, which the program needs for painting, is shared.
double settle(const Program& program, double from, const std::function<bool()>& shown, const char* what) {
    for (;;) {
        if (shown() && painted(program)) {
            return now() - from;
        }
        if (now() - from > SETTLE_TIMEOUT_MS) {
            fail(std::string("no settled window after ") + what);
        }
        Sleep(1);
    }
}

void waitForFocus(const Program& program, HWND field) {
    const double from = now();
    if (tracing) {
        std::fprintf(stderr, "focus %p (now %p, foreground %p)\n", static_cast<void*>(field),
                     static_cast<void*>(focusOf(program)), static_cast<void*>(GetForegroundWindow()));
    }
    while (focusOf(program) != field) {
        if (now() - from > SETTLE_TIMEOUT_MS) {
            fail("a field did not get the focus");
        }
        Sleep(1);
    }
    settle(program, now(), [] { return true; }, "focusing a field");
}

// --- memory --------------------------------------------------------------------------------------

struct Memory {
    double workingSetMb;
    double privateMb;
    DWORD gdiObjects;
    DWORD userObjects;
};

// Private bytes: the committed private memory, summed over the address space (Wine reports no
// PrivateUsage for another process).
double privateMbOf(HANDLE process) {
    std::uint64_t bytes = 0;
    const char* address = nullptr;
    MEMORY_BASIC_INFORMATION region = {};
    while (VirtualQueryEx(process, address, &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) {
            bytes += region.RegionSize;
        }
        const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) {
            break;
        }
        address = next;
    }
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

Memory memoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    return Memory{static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0), privateMbOf(process),
                  GetGuiResources(process, GR_GDIOBJECTS), GetGuiResources(process, GR_USEROBJECTS)};
}

// User and kernel time of the process so far.
double cpuMsOf(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) {
        return 0;
    }
    auto ms = [](const FILETIME& time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

// --- figures -------------------------------------------------------------------------------------

struct Figures {
    std::vector<std::string> order;
    std::map<std::string, std::vector<double>> samples;
    std::map<std::string, double> cpuMs;

    void add(const std::string& kind, double ms, double cpu) {
        if (samples.find(kind) == samples.end()) {
            order.push_back(kind);
        }
        samples[kind].push_back(ms);
        cpuMs[kind] += cpu;
    }
};

double percentile(std::vector<double> values, double fraction) {
    std::sort(values.begin(), values.end());
    const std::size_t rank = static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(values.size())));
    return values[std::min(values.size() - 1, rank == 0 ? 0 : rank - 1)];
}

void printFigures(const Figures& figures) {
    // The program's own processor time per input is steadier than the wall time on a busy machine.
    std::printf("%-28s %8s %8s %8s %6s %9s\n", "input to painted window", "median", "p95", "max", "n", "CPU/input");
    for (const std::string& kind : figures.order) {
        const std::vector<double>& values = figures.samples.at(kind);
        std::printf("%-28s %5.1f ms %5.1f ms %5.1f ms %6u %6.1f ms\n", kind.c_str(), percentile(values, 0.5),
                    percentile(values, 0.95), percentile(values, 1.0), static_cast<unsigned>(values.size()),
                    figures.cpuMs.at(kind) / static_cast<double>(values.size()));
    }
}

// --- the session ---------------------------------------------------------------------------------

class Session {
public:
    Session(Program& program, Figures* figures) : program(program), figures(figures) {}

    void focus(WORD functionKey, HWND field) {
        pressKey(functionKey);
        waitForFocus(program, field);
        pause();
    }

    // Types the text into the focused field, one measured key at a time.
    void type(const char* kind, HWND field, const std::wstring& text) {
        std::wstring expected = textOf(field);
        // The field's text was selected by its function key: the first character replaces it.
        expected.clear();
        for (wchar_t unit : text) {
            expected += unit;
            begin();
            const double from = now();
            if (unit == L'\b') {
                expected.pop_back();
                expected.pop_back();
                pressKey(VK_BACK);
            } else {
                typeChar(unit);
            }
            record(kind, settle(program, from, [&] { return textOf(field) == expected; }, kind));
        }
    }

    // A key whose handling moves the list's selection (nothing measured when it cannot move).
    void moveKey(const char* kind, WORD key, HWND list) {
        const LRESULT before = selectionOf(list);
        const LRESULT count = countOf(list);
        const bool down = key == VK_DOWN || key == VK_NEXT;
        if (count <= 0 || (down && before == count - 1) || (!down && before == 0)) {
            return;
        }
        begin();
            const double from = now();
        pressKey(key);
        record(kind, settle(program, from, [&] { return selectionOf(list) != before; }, kind));
    }

    // A key held down: key-down messages at the keyboard's repeat rate, each one measured.
    void holdKey(const char* kind, WORD key, HWND list, int repeats) {
        const double interval = repeatIntervalMs();
        double next = now();
        for (int i = 0; i < repeats; ++i) {
            const LRESULT before = selectionOf(list);
            const LRESULT count = countOf(list);
            if ((key == VK_DOWN && before == count - 1) || (key == VK_UP && before == 0)) {
                break;
            }
            while (now() < next) {
                Sleep(1);
            }
            begin();
            const double from = now();
            sendInputs({keyInput(key, false)});
            record(kind, settle(program, from, [&] { return selectionOf(list) != before; }, kind));
            next = from + interval;
        }
        sendInputs({keyInput(key, true)});
        pause();
    }

    void escape() {
        const std::wstring left = textOf(program.left.decimal);
        const std::wstring right = textOf(program.right.decimal);
        begin();
            const double from = now();
        pressKey(VK_ESCAPE);
        const double ms = settle(program, from,
                                 [&] { return textOf(program.right.decimal) == L"0" && textOf(program.left.decimal) == L"0"; },
                                 "Esc");
        if (left != L"0" || right != L"0") {
            record("Esc", ms);
        } else {
            pause();
        }
    }

    // Clicks the visible rows of the list, a few rows apart, each one measured.
    void clickRows(const char* kind, const Pane& pane, int clicks) {
        RECT client = {};
        GetClientRect(pane.list, &client);
        POINT origin = {0, 0};
        ClientToScreen(pane.list, &origin);
        const LRESULT itemHeight = ask(pane.list, LB_GETITEMHEIGHT);
        const LRESULT count = countOf(pane.list);
        if (itemHeight <= 0 || count <= 0) {
            return;
        }
        const LRESULT visible = std::min<LRESULT>(count - ask(pane.list, LB_GETTOPINDEX), client.bottom / itemHeight);
        for (int i = 0; i < clicks && visible > 1; ++i) {
            const LRESULT top = ask(pane.list, LB_GETTOPINDEX);
            LRESULT row = (i * 3 + 1) % visible;
            if (top + row == selectionOf(pane.list)) {
                row = (row + 1) % visible;
            }
            const std::wstring before = textOf(pane.decimal);
            begin();
            const double from = now();
            click(origin.x + client.right / 3, origin.y + static_cast<int>(row * itemHeight + itemHeight / 2));
            record(kind, settle(program, from, [&] { return textOf(pane.decimal) != before; }, kind));
        }
    }

    // One round of everything the user does with keys and clicks.
    void round() {
        const Pane& l = program.left;
        const Pane& r = program.right;
        escape();
        focus(VK_F1, l.name);
        type("typing a name", l.name, L"STATUS_ACCESS_VIOLATION\b\b\b\b\b\b\b\b\b\b");
        for (int i = 0; i < 12; ++i) moveKey("Down", VK_DOWN, l.list);
        for (int i = 0; i < 6; ++i) moveKey("Up", VK_UP, l.list);
        for (int i = 0; i < 4; ++i) moveKey("Page Down", VK_NEXT, l.list);
        for (int i = 0; i < 4; ++i) moveKey("Page Up", VK_PRIOR, l.list);
        escape();
        focus(VK_F2, l.decimal);
        type("typing digits", l.decimal, L"3221225477");
        focus(VK_F5, r.name);
        type("typing a name", r.name, L"ERROR_FILE_NOT_FOUND\b\b\b\b\b\b\b\b\b\b\b\b\b\b");
        for (int i = 0; i < 12; ++i) moveKey("Down", VK_DOWN, r.list);
        for (int i = 0; i < 6; ++i) moveKey("Up", VK_UP, r.list);
        for (int i = 0; i < 4; ++i) moveKey("Page Down", VK_NEXT, r.list);
        for (int i = 0; i < 4; ++i) moveKey("Page Up", VK_PRIOR, r.list);
        escape();
        focus(VK_F6, r.decimal);
        type("typing digits", r.decimal, L"1450");
        escape();
        clickRows("click into a list", l, 8);
        clickRows("click into a list", r, 8);
        escape();
        focus(VK_F1, l.name);
        holdKey("Down held (repeat rate)", VK_DOWN, l.list, 30);
        holdKey("Up held (repeat rate)", VK_UP, l.list, 20);
        focus(VK_F5, r.name);
        holdKey("Down held (repeat rate)", VK_DOWN, r.list, 30);
        holdKey("Up held (repeat rate)", VK_UP, r.list, 20);
        escape();
    }

    // The soak cycle: typing, filtering, Esc and list clicks.
    void soakCycle() {
        const Pane& l = program.left;
        const Pane& r = program.right;
        focus(VK_F1, l.name);
        type("soak", l.name, L"STATUS_IN\b\b");
        moveKey("soak", VK_DOWN, l.list);
        moveKey("soak", VK_NEXT, l.list);
        focus(VK_F6, r.decimal);
        type("soak", r.decimal, L"87");
        escape();
        clickRows("soak", l, 2);
        clickRows("soak", r, 2);
        focus(VK_F5, r.name);
        moveKey("soak", VK_DOWN, r.list);
        escape();
    }

    std::size_t actions() const { return actionCount; }

private:
    // Notes the program's processor time before an input.
    void begin() { cpuBefore = cpuMsOf(program.process.hProcess); }

    void record(const char* kind, double ms) {
        ++actionCount;
        const double cpu = cpuMsOf(program.process.hProcess) - cpuBefore;
        if (tracing) {
            std::fprintf(stderr, "%s: %.1f ms\n", kind, ms);
        }
        if (figures != nullptr) {
            figures->add(kind, ms, cpu);
        }
        pause();
    }

    // Lets the key-up messages of the last input go by before the next input.
    static void pause() { Sleep(15); }

    Program& program;
    Figures* figures;
    std::size_t actionCount = 0;
    double cpuBefore = 0;
};

// --- starting and stopping -----------------------------------------------------------------------

Program start(const std::wstring& exe, const std::wstring& folder, double* startMs) {
    Program program;
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    const double started = now();
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &program.process)) {
        fail("Kelvane.exe could not be started");
    }
    bool found = false;
    for (;;) {
        if (!found) {
            found = findControls(program);
        } else if (countOf(program.left.list) > 0 && countOf(program.right.list) > 0 && painted(program)) {
            break;
        }
        if (now() - started > START_TIMEOUT_MS) {
            TerminateProcess(program.process.hProcess, 1);
            fail("the main window did not come up");
        }
        Sleep(1);
    }
    *startMs = now() - started;
    return program;
}

void stop(Program& program) {
    PostMessageW(program.frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(program.process.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(program.process.hProcess, 1);
    }
    CloseHandle(program.process.hThread);
    CloseHandle(program.process.hProcess);
}

// The frame in front with the keyboard focus in one of its controls, so that keys reach it.
void bringToFront(const Program& program) {
    const double from = now();
    while (GetForegroundWindow() != program.frame || focusOf(program) == nullptr) {
        if (now() - from > SETTLE_TIMEOUT_MS) {
            fail("the main window did not come to the front");
        }
        SetForegroundWindow(program.frame);
        Sleep(50);
    }
}

std::wstring writeConfiguration(const std::wstring& headers) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kelvane-ui-benchmark-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::string text =
        "ntstatus.h=" + narrow(headers) + "\\ntstatus.h\r\nwinerror.h=" + narrow(headers) + "\\winerror.h\r\n";
    HANDLE file = CreateFileW((folder + L"\\kelvane.cfg").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE ||
        !WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr)) {
        fail("the configuration file could not be written");
    }
    CloseHandle(file);
    return folder;
}

std::uint64_t fileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        fail("missing header " + narrow(path));
    }
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::wstring headers = nativeSlashes(KELVANE_SAMPLE_DIR);
    std::wstring exe;
    int rounds = 3;
    int starts = 7;
    long soakCycles = 0;
    for (int i = 1; i < argc; ++i) {
        const std::wstring argument = argv[i];
        if (argument == L"--rounds" && i + 1 < argc) {
            rounds = std::max(0, _wtoi(argv[++i]));
        } else if (argument == L"--starts" && i + 1 < argc) {
            starts = std::max(1, _wtoi(argv[++i]));
        } else if (argument == L"--soak" && i + 1 < argc) {
            soakCycles = std::max(1, _wtoi(argv[++i]));
        } else if (argument == L"--sdk-size") {
            headers = nativeSlashes(KELVANE_SDK_SIZE_DIR);
        } else if (argument == L"--program" && i + 1 < argc) {
            exe = argv[++i];
        } else {
            headers = nativeSlashes(argument);
        }
    }
    if (exe.empty()) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        exe = self;
        exe.erase(exe.find_last_of(L"\\/"));
        exe.erase(exe.find_last_of(L"\\/") + 1);
        exe += L"app\\Kelvane.exe";
    }
    std::printf("headers: %s (ntstatus.h %.0f KB, winerror.h %.0f KB)\n", narrow(headers).c_str(),
                static_cast<double>(fileBytes(headers + L"\\ntstatus.h")) / 1024.0,
                static_cast<double>(fileBytes(headers + L"\\winerror.h")) / 1024.0);
    const std::wstring folder = writeConfiguration(headers);

    if (soakCycles > 0) {
        double startMs = 0;
        Program program = start(exe, folder, &startMs);
        bringToFront(program);
        Session session(program, nullptr);
        const Memory first = memoryOf(program.process.hProcess);
        std::printf("%8s %8s %12s %12s %6s %6s\n", "cycles", "actions", "private MB", "working MB", "GDI", "USER");
        std::printf("%8d %8d %12.2f %12.2f %6lu %6lu\n", 0, 0, first.privateMb, first.workingSetMb, first.gdiObjects,
                    first.userObjects);
        std::vector<std::pair<double, double>> curve;  // actions, private MB
        const long step = std::max(1L, soakCycles / 20);
        for (long cycle = 1; cycle <= soakCycles; ++cycle) {
            session.soakCycle();
            if (cycle % step == 0 || cycle == soakCycles) {
                const Memory m = memoryOf(program.process.hProcess);
                curve.emplace_back(static_cast<double>(session.actions()), m.privateMb);
                std::printf("%8ld %8u %12.2f %12.2f %6lu %6lu\n", cycle, static_cast<unsigned>(session.actions()),
                            m.privateMb, m.workingSetMb, m.gdiObjects, m.userObjects);
                std::fflush(stdout);
            }
        }
        // Growth over the second half, per 1,000 actions: warm-up is over by then.
        const auto& middle = curve[curve.size() / 2];
        const auto& last = curve.back();
        if (last.first > middle.first) {
            std::printf("private bytes over the second half: %+.3f MB per 1,000 actions\n",
                        (last.second - middle.second) * 1000.0 / (last.first - middle.first));
        }
        stop(program);
    } else {
        std::vector<double> startTimes;
        std::vector<double> workingSets;
        std::vector<double> privates;
        Figures figures;
        // A first start that is not counted: Wine's libraries come into memory.
        double warmUpMs = 0;
        Program warmUp = start(exe, folder, &warmUpMs);
        stop(warmUp);
        for (int run = 0; run < starts; ++run) {
            double startMs = 0;
            Program program = start(exe, folder, &startMs);
            startTimes.push_back(startMs);
            const Memory memory = memoryOf(program.process.hProcess);
            workingSets.push_back(memory.workingSetMb);
            privates.push_back(memory.privateMb);
            std::printf("  start %d: %.1f ms, working set %.2f MB, private %.2f MB, list rows %ld / %ld\n",
                        run + 1, startMs, memory.workingSetMb, memory.privateMb,
                        static_cast<long>(countOf(program.left.list)), static_cast<long>(countOf(program.right.list)));
            std::fflush(stdout);
            if (run == 0 && rounds > 0) {
                bringToFront(program);
                Session unmeasured(program, nullptr);
                unmeasured.round();
                Session session(program, &figures);
                for (int i = 0; i < rounds; ++i) {
                    session.round();
                }
            }
            stop(program);
        }
        std::printf("start to first painted window: median %.1f ms (min %.1f, max %.1f, %d starts)\n",
                    percentile(startTimes, 0.5), percentile(startTimes, 0.0), percentile(startTimes, 1.0), starts);
        std::printf("after loading: working set %.2f MB, private bytes %.2f MB (median)\n",
                    percentile(workingSets, 0.5), percentile(privates, 0.5));
        const Memory own = memoryOf(GetCurrentProcess());
        std::printf("for comparison, this console program under the same Wine: working set %.2f MB, private %.2f MB\n",
                    own.workingSetMb, own.privateMb);
        if (!figures.order.empty()) {
            printFigures(figures);
        }
    }
    DeleteFileW((folder + L"\\kelvane.cfg").c_str());
    RemoveDirectoryW(folder.c_str());
    return 0;
}
