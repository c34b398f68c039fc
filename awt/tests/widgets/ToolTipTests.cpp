#include <algorithm>

#include <windows.h>
#include <commctrl.h>

#include "WidgetTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Label.h"
#include "awt/ToolTip.h"

using namespace widgets_test;

namespace {

bool isPreprocessor(awt::ToolTip* tip) {
    const auto& chain = toolkit()->getMessagePreprocessors();
    return std::count(chain.begin(), chain.end(), static_cast<awt::MessagePreprocessor*>(tip)) == 1;
}

bool listens(awt::Component* component, awt::ToolTip* tip) {
    return component->getListenerRegistry().contains<awt::MouseListener>(tip);
}

// What the tool-tip control shows for the tool of the window: it asks the tool tip each time.
std::wstring shownText(HWND tipWindow, HWND tool) {
    wchar_t buffer[1100] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = tipWindow;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.uFlags = TTF_IDISHWND;
    info.lpszText = buffer;
    SendMessageW(tipWindow, TTM_GETTEXTW, 1100, reinterpret_cast<LPARAM>(&info));
    return buffer;
}

void enter(awt::Component* component) {
    SendMessageW(component->getHWND(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
}

POINT centreOnScreen(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

} // namespace

TEST(ToolTip, NeedsATargetWithAWindow) {
    TestWindow window;
    auto* label = new awt::Label(L"target");
    window.add(label);
    awt::ToolTip orphan(nullptr, L"text");
    EXPECT_FAILURE(orphan.createPeer(), zeno::IllegalStateException,
                   L"creating ToolTip peer without target component", NO_CODE);
    awt::ToolTip early(label, L"text");
    EXPECT_TRUE(listens(label, &early));
    EXPECT_EQ(nullptr, early.getHWND()) << "no window before the mouse comes";
    EXPECT_FAILURE(early.createPeer(), zeno::IllegalStateException,
                   L"creating ToolTip peer without target component", NO_CODE);
    window.createPeer();
    early.createPeer();
    EXPECT_NE(nullptr, early.getHWND());
}

TEST(ToolTip, FirstMouseEntryMakesTheWindowAndAsksForTheTextOnDemand) {
    TestWindow window;
    auto* label = new awt::Label(L"NTSTATUS");
    window.add(label);
    label->setBounds(10, 10, 120, 20);
    awt::ToolTip tip(label, L"C:\\sdk\\include\\ntstatus.h");
    window.createPeer();
    settle();
    EXPECT_EQ(nullptr, tip.getHWND());

    enter(label);
    HWND tipWindow = tip.getHWND();
    ASSERT_NE(nullptr, tipWindow);
    wchar_t name[64] = {};
    GetClassNameW(tipWindow, name, 64);
    EXPECT_EQ(std::wstring(TOOLTIPS_CLASSW), name);
    EXPECT_EQ(window.getHWND(), GetWindow(tipWindow, GW_OWNER)) << "owned by the target's top level";
    EXPECT_EQ(static_cast<LONG_PTR>(WS_EX_TOPMOST),
              GetWindowLongPtrW(tipWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(1, SendMessageW(tipWindow, TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_TRUE(isPreprocessor(&tip));

    EXPECT_EQ(L"C:\\sdk\\include\\ntstatus.h", shownText(tipWindow, label->getHWND()));
    tip.setText(L"ヘッダファイル");
    EXPECT_EQ(L"ヘッダファイル", shownText(tipWindow, label->getHWND()))
        << "a new text is used the next time the control asks";
    tip.setText(L"");
    EXPECT_EQ(L"", shownText(tipWindow, label->getHWND()));

    // Entering again without leaving keeps one registration.
    tip.mouseEntered(nullptr);
    EXPECT_TRUE(isPreprocessor(&tip));
    EXPECT_EQ(tipWindow, tip.getHWND());
    tip.mouseExited(nullptr);
    EXPECT_FALSE(isPreprocessor(&tip));
    tip.mouseEntered(nullptr);
    tip.destroyPeer();
    EXPECT_EQ(nullptr, tip.getHWND());
    EXPECT_FALSE(IsWindow(tipWindow));
    EXPECT_FALSE(isPreprocessor(&tip)) << "a tool tip without window relays nothing";
}

TEST(ToolTip, TargetCanComeLaterAndChange) {
    TestWindow window;
    auto* first = new awt::Label(L"first");
    auto* second = new awt::Label(L"second");
    window.add(first);
    window.add(second);
    first->setBounds(10, 10, 100, 20);
    second->setBounds(10, 40, 100, 20);
    window.createPeer();
    {
        awt::ToolTip tip(nullptr, L"later");
        tip.setTarget(first);
        EXPECT_TRUE(listens(first, &tip));
        enter(first);
        HWND old = tip.getHWND();
        ASSERT_NE(nullptr, old);
        EXPECT_EQ(L"later", shownText(old, first->getHWND()));

        tip.setTarget(second);
        EXPECT_EQ(nullptr, tip.getHWND()) << "a new target needs a new window";
        EXPECT_FALSE(IsWindow(old));
        EXPECT_FALSE(listens(first, &tip)) << "the old target's mouse events no longer reach it";
        EXPECT_TRUE(listens(second, &tip));
        EXPECT_FALSE(isPreprocessor(&tip));
        enter(second);
        ASSERT_NE(nullptr, tip.getHWND());
        EXPECT_EQ(L"later", shownText(tip.getHWND(), second->getHWND()));
        EXPECT_EQ(L"", shownText(tip.getHWND(), first->getHWND())) << "no tool for the old target";
        EXPECT_TRUE(isPreprocessor(&tip));
        second->removeMouseListener(&tip);
    }
    EXPECT_TRUE(toolkit()->getMessagePreprocessors().empty()) << "the destructor left the chain";
}

TEST(ToolTip, ShowsWhileTheRealMouseRestsOnTheTarget) {
    TestWindow window(60, 60, 300, 160);
    auto* label = new awt::Label(L"Win32 エラー");
    window.add(label);
    label->setBounds(20, 30, 160, 24);
    awt::ToolTip tip(label, L"ヘッダファイル C:\\sdk\\winerror.h");
    window.createPeer();
    window.setVisible(true);
    SetForegroundWindow(window.getHWND());
    settle();

    const POINT centre = centreOnScreen(label->getHWND());
    SetCursorPos(centre.x, centre.y);
    runLoopFor(300);
    ASSERT_NE(nullptr, tip.getHWND()) << "the mouse entered the label";
    // Moves over the target reach the control through the loop's preprocessor chain.
    SetCursorPos(centre.x + 2, centre.y + 1);
    runLoopFor(300);
    SetCursorPos(centre.x + 3, centre.y + 1);
    const DWORD start = GetTickCount();
    while (!IsWindowVisible(tip.getHWND()) && GetTickCount() - start < 3000) {
        runLoopFor(100);
    }
    EXPECT_TRUE(IsWindowVisible(tip.getHWND()));
    EXPECT_EQ(L"ヘッダファイル C:\\sdk\\winerror.h", windowText(tip.getHWND()))
        << "the control shows the text it asked for";

    SetCursorPos(5, 5);
    runLoopFor(300);
    EXPECT_FALSE(isPreprocessor(&tip)) << "the mouse left the label";
}

namespace {

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

} // namespace

TEST(ToolTip, RefusedToolLeavesNoWindowAndTheNextEntryTriesAgain) {
    TestWindow window;
    auto* label = new awt::Label(L"target");
    window.add(label);
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
