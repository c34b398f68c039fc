#include <windows.h>
#include <commctrl.h>

#include "WidgetTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Frame.h"
#include "awt/StatusBar.h"

using namespace widgets_test;

namespace {

struct Borders {
    int horizontal;
    int vertical;
    int between;
};

Borders bordersOf(HWND bar) {
    int values[3] = {-1, -1, -1};
    SendMessageW(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(values));
    return Borders{values[0], values[1], values[2]};
}

std::vector<int> edgesOf(HWND bar) {
    const auto count = static_cast<int>(SendMessageW(bar, SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<std::size_t>(count));
    SendMessageW(bar, SB_GETPARTS, count, reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

std::wstring partText(HWND bar, int index) {
    const auto length = LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, index, 0));
    std::vector<wchar_t> buffer(length + 1u, L'\0');
    SendMessageW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

// Preferred size of a part as the bar's font gives it.
awt::Dimension partSize(HWND bar, const std::wstring& text, bool bordered) {
    const SIZE extent = FontProbe(bar).extent(text);
    awt::Dimension size{extent.cx + 2, extent.cy + 4};
    if (bordered) {
        size.width += 2 * GetSystemMetrics(SM_CXBORDER);
        size.height += 2 * GetSystemMetrics(SM_CYBORDER);
    }
    return size;
}

} // namespace

TEST(StatusBar, OneStretchingPartFillsTheBarUpToTheGrip) {
    awt::Frame frame(nullptr, L"status");
    auto* bar = new awt::StatusBar(L"準備完了", true);
    frame.add(bar);
    bar->setBounds(0, 0, 400, 20);
    frame.createPeer();
    HWND hwnd = bar->getHWND();
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    EXPECT_EQ(std::wstring(STATUSCLASSNAMEW), name);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const DWORD wanted = SBARS_SIZEGRIP | CCS_NORESIZE | CCS_NOPARENTALIGN;
    EXPECT_EQ(wanted, style & wanted);
    EXPECT_EQ(L"準備完了", partText(hwnd, 0)) << "texts are sent with the window";

    bar->validate();
    const Borders borders = bordersOf(hwnd);
    const int w = partSize(hwnd, L"準備完了", true).width;
    EXPECT_EQ(w, bar->getPart(0)->getPreferredSize().width);
    // total = 2 b1 + w; the part gets 400 - total - 20 more; its edge is b1 + that width.
    const int total = 2 * borders.vertical + w;
    EXPECT_EQ(std::vector<int>{borders.vertical + w + (400 - total - 20)}, edgesOf(hwnd));
    if (borders.vertical == 2) {
        EXPECT_EQ(std::vector<int>{378}, edgesOf(hwnd));
    }

    // A maximized frame draws no grip, so the part takes its room too.
    ShowWindow(frame.getHWND(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(frame.isMaximized());
    bar->setBounds(0, 0, 400, 20);
    bar->validate();
    EXPECT_EQ(std::vector<int>{400 - borders.vertical}, edgesOf(hwnd));
    frame.dispose();
}

TEST(StatusBar, SeveralPartsGetTheirWidthsAndTheGapsBetween) {
    TestWindow window;
    auto* bar = new awt::StatusBar(L"message", false);
    auto* fixed = new awt::StatusBar::Part(L"NTSTATUS", awt::StatusBar::Part::FIXED, false);
    auto* last = new awt::StatusBar::Part(L"Win32", awt::StatusBar::Part::FIXED, true);
    EXPECT_EQ(awt::Dimension{}, fixed->getPreferredSize()) << "no bar yet";
    bar->addPart(fixed);
    bar->addPart(last);
    window.add(bar);
    bar->setBounds(0, 0, 500, 22);
    window.createPeer();
    EXPECT_EQ((std::vector<int>{0, 0, 0}), edgesOf(bar->getHWND())) << "edges come with validate";
    bar->validate();
    HWND hwnd = bar->getHWND();
    const Borders borders = bordersOf(hwnd);

    const awt::Dimension w0 = partSize(hwnd, L"message", true);
    const awt::Dimension w1 = partSize(hwnd, L"NTSTATUS", false);
    const awt::Dimension w2 = partSize(hwnd, L"Win32", true);
    EXPECT_EQ((awt::Dimension{w0.width + w1.width + w2.width + 2 * borders.between + 2 * borders.vertical,
                              std::max({w0.height, w1.height, w2.height}) + 2 * borders.horizontal}),
              bar->getPreferredSize());

    const int total = 2 * borders.vertical + w0.width + w1.width + w2.width + 2 * borders.between;
    const int first = borders.vertical + w0.width + (500 - total);
    const int second = first + borders.between + w1.width;
    EXPECT_EQ((std::vector<int>{first, second, second + borders.between + w2.width}), edgesOf(hwnd));
    EXPECT_EQ(500 - borders.vertical, edgesOf(hwnd).back()) << "the row ends where the total says";
    EXPECT_EQ(SBT_NOBORDERS, HIWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, 1, 0)));
    EXPECT_EQ(0, HIWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, 2, 0)));
    EXPECT_EQ(L"NTSTATUS", partText(hwnd, 1));
    EXPECT_EQ(1, bar->indexOf(fixed));
    EXPECT_EQ(-1, bar->indexOf(nullptr));
}

TEST(StatusBar, TextsReachTheWindowAtTheNextValidate) {
    TestWindow window;
    auto* bar = new awt::StatusBar(L"first", true);
    auto* fixed = new awt::StatusBar::Part(L"fixed", awt::StatusBar::Part::FIXED, true);
    bar->addPart(fixed);
    window.add(bar);
    bar->setBounds(0, 0, 400, 22);
    window.createPeer();
    settle();
    HWND hwnd = bar->getHWND();
    const awt::Dimension before = bar->getPreferredSize();

    bar->setText(L"a much longer status message");
    EXPECT_EQ(L"first", partText(hwnd, 0)) << "not sent at once";
    EXPECT_EQ(L"a much longer status message", bar->getPart(0)->getText());
    EXPECT_GT(bar->getPreferredSize().width, before.width) << "a stretching part clears the size";
    settle();
    EXPECT_EQ(L"a much longer status message", partText(hwnd, 0));

    fixed->setText(L"changed");
    EXPECT_EQ(L"fixed", partText(hwnd, 1));
    settle();
    EXPECT_EQ(L"changed", partText(hwnd, 1)) << "its repaint ran the update, which validates";

    bar->setText(IDS_STATUS);
    settle();
    EXPECT_EQ(L"準備完了", partText(hwnd, 0));

    // The same text again changes nothing, not even the cached size.
    const awt::Dimension now = bar->getPreferredSize();
    SendMessageW(hwnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"behind its back"));
    bar->setText(L"準備完了");
    settle();
    EXPECT_EQ(L"behind its back", partText(hwnd, 0));
    EXPECT_EQ(now, bar->getPreferredSize());

    // A part added to the shown bar gets its text too.
    bar->addPart(new awt::StatusBar::Part(L"added", awt::StatusBar::Part::FIXED, true));
    settle();
    EXPECT_EQ(3u, edgesOf(hwnd).size());
    EXPECT_EQ(L"added", partText(hwnd, 2));
}

TEST(StatusBar, PartsBelongToOneBar) {
    TestWindow window;
    auto* bar = new awt::StatusBar(L"one", false);
    awt::StatusBar other(L"other", false);
    window.add(bar);
    awt::StatusBar::Part* own = bar->getPart(0);
    EXPECT_EQ(bar, own->getOwner());
    EXPECT_FAILURE(bar->addPart(own), zeno::IllegalArgumentException, L"specified part on other StatusBar",
                   NO_CODE);
    EXPECT_FAILURE(other.addPart(own), zeno::IllegalArgumentException, L"specified part on other StatusBar",
                   NO_CODE);
    EXPECT_EQ(1, bar->getPartCount());
    EXPECT_EQ(1, other.getPartCount());

    bar->updatePart(other.getPart(0));  // no window: nothing happens
    window.createPeer();
    EXPECT_FAILURE(bar->updatePart(other.getPart(0)), zeno::IllegalArgumentException,
                   L"specified part is not part of this status bar", NO_CODE);
    EXPECT_EQ(0, bar->getStyle() & SBARS_SIZEGRIP);
}

namespace {

// A status bar whose control stops answering one message.
class FailingBar : public awt::StatusBar {
public:
    FailingBar() : awt::StatusBar(L"text", false) {}
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == failing) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        return awt::StatusBar::windowProc(message, wParam, lParam);
    }
    UINT failing = 0;
};

} // namespace

TEST(StatusBar, BackgroundAndFailedMessages) {
    TestWindow window;
    auto* bar = new FailingBar();
    window.add(bar);
    bar->setBounds(0, 0, 300, 20);
    bar->setBackground(RGB(10, 20, 30));
    window.createPeer();
    // SB_SETBKCOLOR answers the colour it replaces: the one set at creation.
    EXPECT_EQ(static_cast<LRESULT>(RGB(10, 20, 30)),
              SendMessageW(bar->getHWND(), SB_SETBKCOLOR, 0, static_cast<LPARAM>(CLR_DEFAULT)));

    bar->failing = SB_GETBORDERS;
    EXPECT_FAILURE(bar->validate(), awt::AWTException, L"::SendMessage(SB_GETBORDERS) failed",
                   ERROR_INVALID_PARAMETER);
    bar->failing = SB_SETPARTS;
    EXPECT_FAILURE(bar->validate(), awt::AWTException, L"::SendMessage(SB_SETPARTS) failed",
                   ERROR_INVALID_PARAMETER);
    auto* fixed = new awt::StatusBar::Part(L"fixed", awt::StatusBar::Part::FIXED, true);
    bar->failing = 0;
    bar->addPart(fixed);
    bar->validate();
    bar->failing = SB_GETRECT;
    EXPECT_FAILURE(fixed->setText(L"new"), awt::AWTException, L"::SendMessage(SB_GETRECT) failed",
                   ERROR_INVALID_PARAMETER);
    bar->failing = SB_SETTEXTW;
    EXPECT_FAILURE(bar->validate(), awt::AWTException, L"::SendMessage(SB_SETTEXT) failed",
                   ERROR_INVALID_PARAMETER);
    bar->failing = 0;
    bar->validate();
    EXPECT_EQ(L"new", partText(bar->getHWND(), 1)) << "the text stayed due until it was sent";
}
