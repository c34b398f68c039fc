#include "WidgetTestComponents.h"

namespace {

bool isPreprocessor(awt::ToolTip* tip) {
    const auto& chain = toolkit()->getMessagePreprocessors();
    return std::count(chain.begin(), chain.end(), static_cast<awt::MessagePreprocessor*>(tip)) == 1;
}

// What the tool-tip control shows for the tool of the window: it asks the tool tip each time.
std::wstring shownText(awt::ToolTip& tip, awt::Component* tool) {
    wchar_t buffer[1100] = {};
    TOOLINFOW info{TTTOOLINFOW_V2_SIZE, TTF_IDISHWND, tip.getHWND(), reinterpret_cast<UINT_PTR>(tool->getHWND()),
                   RECT{}, nullptr, buffer, 0, nullptr};
    SendMessageW(tip.getHWND(), TTM_GETTEXTW, 1100, reinterpret_cast<LPARAM>(&info));
    return buffer;
}

// Puts a recorder in front of the tool-tip class's own procedure for the controls made while it
// lives: the control frees its state when it receives WM_NCDESTROY itself.
struct ControlDestructions {
    ControlDestructions() { classProc = swap(&record); }
    ~ControlDestructions() { swap(classProc); }
    static WNDPROC swap(WNDPROC proc) {
        HWND sample =
            CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        const LONG_PTR previous = SetClassLongPtrW(sample, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        DestroyWindow(sample);
        seen.clear();
        return reinterpret_cast<WNDPROC>(previous);
    }
    static LRESULT CALLBACK record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCDESTROY) {
            seen.push_back(window);
        }
        return CallWindowProcW(classProc, window, message, wParam, lParam);
    }
    static inline std::vector<HWND> seen;
    static inline WNDPROC classProc = nullptr;
};

} // namespace

// A tool tip needs a target with a window and makes its own at the first mouse entry, owned by
// the target's top level; the text is asked for each time the control shows it. A refused
// control is destroyed (hearing its own destruction), leaving no window and no relaying; the next
// entry tries again. A new target needs a new window; destroyPeer and the destructor end window
// and relaying.
TEST(ToolTip, LivesFromTheFirstMouseEntryOverItsTargetToItsEnd) {
    TestWindow window;
    auto* first = window.put(new awt::Label(L"NTSTATUS"), 10, 10, 120, 20);
    auto* second = window.put(new awt::Label(L"second"), 10, 40, 100, 20);
    auto enter = [&](awt::Component* target) { SendMessageW(target->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); };
    ControlDestructions destructions;
    HWND made = nullptr;
    {
        awt::ToolTip orphan(nullptr, L"text");
        Rigged<awt::ToolTip> tip(nullptr, L"C:\\sdk\\include\\ntstatus.h");
        tip.failing = TTM_ADDTOOLW;  // refused once
        tip.refusals = 1;
        tip.lastError = ERROR_NOT_ENOUGH_MEMORY;
        tip.setTarget(first);
        for (awt::ToolTip* each : {&orphan, static_cast<awt::ToolTip*>(&tip)}) {
            EXPECT_FAILURE(each->createPeer(), zeno::IllegalStateException,
                           L"creating ToolTip peer without target component", NO_CODE);
        }
        window.createPeer();
        settle();
        // Whether the tool tip has a window, and whether the loop relays messages to it.
        const auto state = [&] { return std::pair(tip.getHWND() != nullptr, isPreprocessor(&tip)); };
        EXPECT_EQ(std::pair(false, false), state()) << "no window before the mouse comes";
        EXPECT_FAILURE(tip.mouseEntered(nullptr), awt::AWTException, L"::SendMessage(TTM_ADDTOOL) failed",
                       ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_EQ(std::pair(false, false), state());
        EXPECT_EQ(1u, destructions.seen.size());
        enter(first);
        HWND old = tip.getHWND();
        ASSERT_EQ(std::pair(true, true), state());
        EXPECT_EQ(1, SendMessageW(old, TTM_GETTOOLCOUNT, 0, 0));
        EXPECT_EQ(window.getHWND(), GetWindow(old, GW_OWNER));
        EXPECT_EQ(L"C:\\sdk\\include\\ntstatus.h", shownText(tip, first));
        tip.setText(L"ヘッダファイル");
        EXPECT_EQ(L"ヘッダファイル", shownText(tip, first));
        tip.mouseEntered(nullptr);
        EXPECT_TRUE(isPreprocessor(&tip)) << "entering again without leaving keeps one registration";
        EXPECT_EQ(old, tip.getHWND());
        tip.mouseExited(nullptr);
        EXPECT_FALSE(isPreprocessor(&tip));

        tip.mouseEntered(nullptr);
        tip.setTarget(second);
        EXPECT_FALSE(IsWindow(old));
        EXPECT_EQ(std::pair(false, false), state());
        EXPECT_FALSE(first->getListenerRegistry().contains<awt::MouseListener>(&tip));
        enter(second);
        ASSERT_NE(nullptr, tip.getHWND());
        EXPECT_EQ(L"ヘッダファイル", shownText(tip, second));
        EXPECT_EQ(L"", shownText(tip, first)) << "no tool for the old target";
        old = tip.getHWND();
        tip.destroyPeer();
        EXPECT_FALSE(IsWindow(old));
        EXPECT_EQ(std::pair(false, false), state()) << "a tool tip without window relays nothing";
        tip.mouseEntered(nullptr);
        made = tip.getHWND();
        EXPECT_EQ(std::pair(true, true), state());
        second->removeMouseListener(&tip);
    }
    EXPECT_FALSE(IsWindow(made));
    EXPECT_EQ(4u, destructions.seen.size()) << "refused, replaced, destroyed and ended with the tool tip";
    EXPECT_EQ(made, destructions.seen.back());
    EXPECT_TRUE(toolkit()->getMessagePreprocessors().empty());
}
