#include <array>

#include "WidgetTestComponents.h"
#include "awt/Frame.h"

namespace {

using awt::StatusBar;
using Edges = std::vector<int>;

// The control's border widths: horizontal, vertical and between parts.
std::array<int, 3> bordersOf(HWND bar) {
    std::array<int, 3> borders{-1, -1, -1};
    SendMessageW(bar, SB_GETBORDERS, 0, reinterpret_cast<LPARAM>(borders.data()));
    return borders;
}

Edges edgesOf(HWND bar) {
    Edges edges(static_cast<std::size_t>(SendMessageW(bar, SB_GETPARTS, 0, 0)));
    SendMessageW(bar, SB_GETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

std::wstring partText(HWND bar, int index) {
    std::wstring text(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, index, 0)), L'\0');
    SendMessageW(bar, SB_GETTEXTW, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

} // namespace

// With a grip the one stretching part ends 20 pixels (the bar's height) before the inner edge;
// a maximized frame draws no grip.
TEST(StatusBar, OneStretchingPartFillsTheBarUpToTheGrip) {
    awt::Frame frame(nullptr, L"status");
    auto* bar = place(&frame, new StatusBar(L"準備完了", true), 0, 0, 400, 20);
    frame.createPeer();
    HWND hwnd = bar->getHWND();
    EXPECT_EQ(L"準備完了", partText(hwnd, 0)) << "texts are sent with the window";
    bar->validate();
    const int b1 = bordersOf(hwnd)[1];
    EXPECT_EQ(Edges{400 - 20 - b1}, edgesOf(hwnd));
    ShowWindow(frame.getHWND(), SW_SHOWMAXIMIZED);
    ASSERT_TRUE(frame.isMaximized());
    bar->setBounds(0, 0, 400, 20);
    bar->validate();
    EXPECT_EQ(Edges{400 - b1}, edgesOf(hwnd));
    frame.dispose();
}

// The stretching first part takes what the fixed ones leave; a gap between every two parts. Any
// number of text changes between two layouts cost one SB_SETTEXT at the next validate. A part
// belongs to one bar; a message the control refuses is reported by name.
TEST(StatusBar, PartsGetTheirWidthsGapsAndTextsAtTheNextValidate) {
    TestWindow window;
    auto* bar = window.put(new Rigged<StatusBar>(L"message", false), 0, 0, 500, 22);
    bar->addPart(new StatusBar::Part(L"NTSTATUS", StatusBar::Part::FIXED, false));
    auto* fixed = new StatusBar::Part(L"Win32", StatusBar::Part::FIXED, true);
    bar->addPart(fixed);
    StatusBar other(L"other", false);
    for (StatusBar* target : {static_cast<StatusBar*>(bar), &other}) {
        EXPECT_FAILURE(target->addPart(fixed), zeno::IllegalArgumentException, L"specified part on other StatusBar",
                       NO_CODE);
    }
    EXPECT_EQ(std::pair(3, 1), std::pair(bar->getPartCount(), other.getPartCount()));
    bar->updatePart(other.getPart(0));  // no window: nothing happens
    window.createPeer();
    EXPECT_FAILURE(bar->updatePart(other.getPart(0)), zeno::IllegalArgumentException,
                   L"specified part is not part of this status bar", NO_CODE);
    HWND hwnd = bar->getHWND();
    EXPECT_EQ((Edges{0, 0, 0}), edgesOf(hwnd)) << "edges come with validate";
    bar->validate();
    const auto [horizontal, vertical, between] = bordersOf(hwnd);
    auto w = [&](int part) { return bar->getPart(part)->getPreferredSize(); };
    // The bordered parts are the highest.
    EXPECT_EQ((awt::Dimension{2 * vertical + w(0).width + w(1).width + w(2).width + 2 * between,
                              w(2).height + 2 * horizontal}),
              bar->getPreferredSize());
    const int last = 500 - vertical;
    EXPECT_EQ((Edges{last - w(2).width - between - w(1).width - between, last - w(2).width - between, last}),
              edgesOf(hwnd));
    EXPECT_EQ(SBT_NOBORDERS, HIWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, 1, 0)));
    EXPECT_EQ(0, HIWORD(SendMessageW(hwnd, SB_GETTEXTLENGTHW, 2, 0)));

    const awt::Dimension before = bar->getPreferredSize();
    bar->setText(L"a much longer status message");
    fixed->setText(L"changed");
    EXPECT_EQ(L"message", partText(hwnd, 0)) << "not sent at once";
    EXPECT_EQ(L"Win32", partText(hwnd, 2));
    EXPECT_GT(bar->getPreferredSize().width, before.width) << "a stretching part clears the size";
    settle();
    EXPECT_EQ(L"a much longer status message", partText(hwnd, 0));
    EXPECT_EQ(L"changed", partText(hwnd, 2)) << "its repaint ran the update, which validates";
    bar->setText(IDS_STATUS);
    settle();
    SendMessageW(hwnd, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"behind its back"));
    bar->setText(L"準備完了");
    bar->addPart(new StatusBar::Part(L"added", StatusBar::Part::FIXED, true));
    settle();
    EXPECT_EQ(L"behind its back", partText(hwnd, 0)) << "the same text again is not sent";
    EXPECT_EQ(L"added", partText(hwnd, 3)) << "a part added to the shown bar gets its text";

    bar->lastError = ERROR_INVALID_PARAMETER;
    const struct { UINT message; bool validates; const wchar_t* text; } cases[] = {
        {SB_GETBORDERS, true, L"::SendMessage(SB_GETBORDERS) failed"},
        {SB_SETPARTS, true, L"::SendMessage(SB_SETPARTS) failed"},
        {SB_GETRECT, false, L"::SendMessage(SB_GETRECT) failed"},
        {SB_SETTEXTW, true, L"::SendMessage(SB_SETTEXT) failed"}};
    for (const auto& each : cases) {
        bar->failing = each.message;
        EXPECT_FAILURE(each.validates ? bar->validate() : fixed->setText(L"new"), awt::AWTException, each.text,
                       ERROR_INVALID_PARAMETER);
    }
    bar->failing = 0;
    bar->validate();
    EXPECT_EQ(L"new", partText(hwnd, 2)) << "the text stayed due until it was sent";
}
