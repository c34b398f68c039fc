#include <algorithm>

#include <windows.h>
#include <commctrl.h>

#include "WidgetTestComponents.h"
#include "awt/AWTException.h"
#include "awt/Label.h"
#include "awt/ToolTip.h"

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

void enter(awt::Component* component) { SendMessageW(component->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2)); }

// A tool tip whose control refuses the first registration of the tool.
class RefusingTip : public awt::ToolTip {
public:
    explicit RefusingTip(awt::Component* target) : awt::ToolTip(target, L"tip") {}
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == TTM_ADDTOOLW && refusals > 0) {
            --refusals;
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        return awt::ToolTip::windowProc(message, wParam, lParam);
    }
    int refusals = 1;
};

// Puts a recorder in front of the tool-tip class's own procedure for the controls made while it
// lives: the control frees its state when it receives WM_NCDESTROY itself.
class ControlDestructions {
public:
    ControlDestructions() {
        classProc = swap(&record);
        seen.clear();
    }
    ~ControlDestructions() { swap(classProc); }
    static inline std::vector<HWND> seen;

private:
    static WNDPROC swap(WNDPROC proc) {
        HWND sample = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      nullptr, nullptr);
        const LONG_PTR previous = SetClassLongPtrW(sample, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        DestroyWindow(sample);
        return reinterpret_cast<WNDPROC>(previous);
    }
    static LRESULT CALLBACK record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCDESTROY) {
            seen.push_back(window);
        }
        return CallWindowProcW(classProc, window, message, wParam, lParam);
    }
    static inline WNDPROC classProc = nullptr;
};

} // namespace

// A tool tip needs a target with a window. The refused control is destroyed (hearing its own
// destruction), leaving no window and no relaying; the next entry tries again, and the
// destructor ends window and relaying.
TEST(ToolTip, NeedsATargetWithAWindowAndTriesAgainAfterARefusal) {
    TestWindow window;
    auto* label = window.put(new awt::Label(L"target"));
    ControlDestructions destructions;
    HWND made = nullptr;
    {
        awt::ToolTip orphan(nullptr, L"text");
        RefusingTip tip(label);
        for (awt::ToolTip* each : {&orphan, static_cast<awt::ToolTip*>(&tip)}) {
            EXPECT_FAILURE(each->createPeer(), zeno::IllegalStateException,
                           L"creating ToolTip peer without target component", NO_CODE);
        }
        window.createPeer();
        EXPECT_FAILURE(tip.mouseEntered(nullptr), awt::AWTException, L"::SendMessage(TTM_ADDTOOL) failed",
                       ERROR_NOT_ENOUGH_MEMORY);
        EXPECT_EQ(nullptr, tip.getHWND());
        EXPECT_FALSE(isPreprocessor(&tip));
        EXPECT_EQ(1u, destructions.seen.size());
        tip.mouseEntered(nullptr);
        made = tip.getHWND();
        ASSERT_NE(nullptr, made);
        EXPECT_EQ(1, SendMessageW(made, TTM_GETTOOLCOUNT, 0, 0));
        EXPECT_TRUE(isPreprocessor(&tip));
        label->removeMouseListener(&tip);
    }
    EXPECT_FALSE(IsWindow(made));
    ASSERT_EQ(2u, destructions.seen.size());
    EXPECT_EQ(made, destructions.seen.back());
    EXPECT_TRUE(toolkit()->getMessagePreprocessors().empty());
}

// The first mouse entry makes the window, owned by the target's top level; the text is asked for
// each time the control shows it; a new target needs a new window.
TEST(ToolTip, MouseEntryMakesTheWindowForTheCurrentTarget) {
    TestWindow window;
    auto* first = window.put(new awt::Label(L"NTSTATUS"), 10, 10, 120, 20);
    auto* second = window.put(new awt::Label(L"second"), 10, 40, 100, 20);
    window.createPeer();
    awt::ToolTip tip(nullptr, L"C:\\sdk\\include\\ntstatus.h");
    tip.setTarget(first);
    settle();
    EXPECT_EQ(nullptr, tip.getHWND()) << "no window before the mouse comes";
    enter(first);
    HWND old = tip.getHWND();
    ASSERT_NE(nullptr, old);
    EXPECT_EQ(window.getHWND(), GetWindow(old, GW_OWNER));
    EXPECT_TRUE(isPreprocessor(&tip));
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
    EXPECT_EQ(nullptr, tip.getHWND());
    EXPECT_FALSE(first->getListenerRegistry().contains<awt::MouseListener>(&tip));
    EXPECT_FALSE(isPreprocessor(&tip));
    enter(second);
    ASSERT_NE(nullptr, tip.getHWND());
    EXPECT_EQ(L"ヘッダファイル", shownText(tip, second));
    EXPECT_EQ(L"", shownText(tip, first)) << "no tool for the old target";
    old = tip.getHWND();
    tip.destroyPeer();
    EXPECT_FALSE(IsWindow(old));
    EXPECT_FALSE(isPreprocessor(&tip)) << "a tool tip without window relays nothing";
    second->removeMouseListener(&tip);
}
