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

bool listens(awt::Component* component, awt::ToolTip* tip) {
    return component->getListenerRegistry().contains<awt::MouseListener>(tip);
}

// What the tool-tip control shows for the tool of the window: it asks the tool tip each time.
std::wstring shownText(awt::ToolTip& tip, awt::Component* tool) {
    wchar_t buffer[1100] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = tip.getHWND();
    info.uId = reinterpret_cast<UINT_PTR>(tool->getHWND());
    info.uFlags = TTF_IDISHWND;
    info.lpszText = buffer;
    SendMessageW(tip.getHWND(), TTM_GETTEXTW, 1100, reinterpret_cast<LPARAM>(&info));
    return buffer;
}

void enter(awt::Component* component) {
    SendMessageW(component->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
}

// A tool tip whose control refuses the first registration of the tool.
class RefusingTip : public awt::ToolTip {
public:
    RefusingTip(awt::Component* target) : awt::ToolTip(target, L"tip") {}
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
        HWND sample = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      nullptr, nullptr);
        classProc = reinterpret_cast<WNDPROC>(
            SetClassLongPtrW(sample, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(&record)));
        DestroyWindow(sample);
        seen.clear();
    }
    ~ControlDestructions() {
        HWND sample = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                      nullptr, nullptr);
        SetClassLongPtrW(sample, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(classProc));
        DestroyWindow(sample);
    }
    static LRESULT CALLBACK record(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCDESTROY) {
            seen.push_back(window);
        }
        return CallWindowProcW(classProc, window, message, wParam, lParam);
    }
    static inline WNDPROC classProc = nullptr;
    static inline std::vector<HWND> seen;
};

} // namespace

TEST(ToolTip, TheControlHearsItsOwnDestructionOnEveryWayOut) {
    TestWindow window;
    auto* label = window.put(new awt::Label(L"target"));
    window.createPeer();
    ControlDestructions destructions;
    HWND made = nullptr;
    {
        RefusingTip tip(label);
        EXPECT_THROW(tip.mouseEntered(nullptr), awt::AWTException);
        EXPECT_EQ(1u, destructions.seen.size()) << "the refused control was destroyed behind its back";
        tip.mouseEntered(nullptr);
        made = tip.getHWND();
        ASSERT_NE(nullptr, made);
        label->removeMouseListener(&tip);
    }
    EXPECT_FALSE(IsWindow(made));
    ASSERT_EQ(2u, destructions.seen.size()) << "the destructor destroyed the control behind its back";
    EXPECT_EQ(made, destructions.seen.back());
}

TEST(ToolTip, NeedsATargetWithAWindow) {
    TestWindow window;
    auto* label = window.put(new awt::Label(L"target"));
    awt::ToolTip orphan(nullptr, L"text");
    awt::ToolTip early(label, L"text");
    for (awt::ToolTip* tip : {&orphan, &early}) {
        EXPECT_FAILURE(tip->createPeer(), zeno::IllegalStateException,
                       L"creating ToolTip peer without target component", NO_CODE);
    }
    window.createPeer();
    early.createPeer();
    EXPECT_NE(nullptr, early.getHWND());
}

TEST(ToolTip, FirstMouseEntryMakesTheWindowAndAsksForTheTextOnDemand) {
    TestWindow window;
    auto* label = window.put(new awt::Label(L"NTSTATUS"), 10, 10, 120, 20);
    awt::ToolTip tip(label, L"C:\\sdk\\include\\ntstatus.h");
    window.createPeer();
    settle();
    EXPECT_EQ(nullptr, tip.getHWND()) << "no window before the mouse comes";
    enter(label);
    HWND tipWindow = tip.getHWND();
    ASSERT_NE(nullptr, tipWindow);
    EXPECT_EQ(window.getHWND(), GetWindow(tipWindow, GW_OWNER)) << "owned by the target's top level";
    EXPECT_TRUE(isPreprocessor(&tip));
    EXPECT_EQ(L"C:\\sdk\\include\\ntstatus.h", shownText(tip, label));
    tip.setText(L"ヘッダファイル");
    EXPECT_EQ(L"ヘッダファイル", shownText(tip, label)) << "used the next time the control asks";

    tip.mouseEntered(nullptr);
    EXPECT_TRUE(isPreprocessor(&tip)) << "entering again without leaving keeps one registration";
    EXPECT_EQ(tipWindow, tip.getHWND());
    tip.mouseExited(nullptr);
    EXPECT_FALSE(isPreprocessor(&tip));
    tip.mouseEntered(nullptr);
    tip.destroyPeer();
    EXPECT_FALSE(IsWindow(tipWindow));
    EXPECT_FALSE(isPreprocessor(&tip)) << "a tool tip without window relays nothing";
}

TEST(ToolTip, TargetCanComeLaterAndChange) {
    TestWindow window;
    auto* first = window.put(new awt::Label(L"first"), 10, 10, 100, 20);
    auto* second = window.put(new awt::Label(L"second"), 10, 40, 100, 20);
    window.createPeer();
    {
        awt::ToolTip tip(nullptr, L"later");
        tip.setTarget(first);
        enter(first);
        HWND old = tip.getHWND();
        ASSERT_NE(nullptr, old);
        EXPECT_EQ(L"later", shownText(tip, first));

        tip.setTarget(second);
        EXPECT_FALSE(IsWindow(old)) << "a new target needs a new window";
        EXPECT_EQ(nullptr, tip.getHWND());
        EXPECT_FALSE(listens(first, &tip)) << "the old target's mouse events no longer reach it";
        EXPECT_FALSE(isPreprocessor(&tip));
        enter(second);
        ASSERT_NE(nullptr, tip.getHWND());
        EXPECT_EQ(L"later", shownText(tip, second));
        EXPECT_EQ(L"", shownText(tip, first)) << "no tool for the old target";
        second->removeMouseListener(&tip);
    }
    EXPECT_TRUE(toolkit()->getMessagePreprocessors().empty()) << "the destructor left the chain";
}

TEST(ToolTip, RefusedToolLeavesNoWindowAndTheNextEntryTriesAgain) {
    TestWindow window;
    auto* label = window.put(new awt::Label(L"target"));
    window.createPeer();
    RefusingTip tip(label);
    EXPECT_FAILURE(tip.mouseEntered(nullptr), awt::AWTException, L"::SendMessage(TTM_ADDTOOL) failed",
                   ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(nullptr, tip.getHWND());
    EXPECT_FALSE(isPreprocessor(&tip));
    tip.mouseEntered(nullptr);
    ASSERT_NE(nullptr, tip.getHWND());
    EXPECT_EQ(1, SendMessageW(tip.getHWND(), TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_TRUE(isPreprocessor(&tip));
    label->removeMouseListener(&tip);
}
