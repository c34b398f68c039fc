#include <algorithm>
#include <memory>

#include "WidgetTestSupport.h"
#include "awt/BorderedPanel.h"
#include "awt/Button.h"
#include "awt/Label.h"
#include "awt/Panel.h"

using namespace widgets_test;

namespace {

// Height of one line as a static control measures it.
int lineHeight(const TEXTMETRICW& metrics) { return metrics.tmHeight + metrics.tmExternalLeading; }

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

} // namespace

TEST(Label, MeasuresItsLinesInTheWindowFont) {
    TestWindow window;
    auto* twoLines = new awt::Label(L"ab\ncd\n");
    auto* blankFirst = new awt::Label(L"\n\nx");
    auto* japanese = new awt::Label(L"設定\nヘッダファイル\r");
    auto* empty = new awt::Label(L"");
    for (awt::Label* label : {twoLines, blankFirst, japanese, empty}) {
        window.add(label);
        EXPECT_EQ(awt::Dimension{}, label->getPreferredSize()) << "no window yet";
    }
    window.createPeer();
    settle();

    FontProbe probe(twoLines->getHWND());
    const TEXTMETRICW metrics = probe.metrics();
    EXPECT_EQ((awt::Dimension{std::max(probe.extent(L"ab").cx, probe.extent(L"cd").cx),
                              2 * lineHeight(metrics)}),
              twoLines->getPreferredSize())
        << "a final line feed adds no line";
    EXPECT_EQ((awt::Dimension{probe.extent(L"x").cx, 3 * lineHeight(metrics)}),
              blankFirst->getPreferredSize())
        << "consecutive line feeds give empty lines";
    EXPECT_EQ((awt::Dimension{std::max(probe.extent(L"設定").cx, probe.extent(L"ヘッダファイル\r").cx),
                              2 * lineHeight(metrics)}),
              japanese->getPreferredSize())
        << "a carriage return is measured as part of its line";
    EXPECT_EQ(awt::Dimension{}, empty->getPreferredSize());
}

TEST(Label, CreatesAStaticWithItsTextAndAlignment) {
    TestWindow window;
    auto* label = new awt::Label(IDS_HEADER_FILE, SS_CENTER);
    window.add(label);
    window.createPeer();
    HWND hwnd = label->getHWND();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(L"ヘッダファイル", label->getText());
    EXPECT_EQ(L"ヘッダファイル", windowText(hwnd));
    EXPECT_EQ(L"Static", className(hwnd));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(SS_CENTER), style & SS_TYPEMASK);
    EXPECT_EQ(static_cast<DWORD>(SS_NOPREFIX | SS_NOTIFY), style & (SS_NOPREFIX | SS_NOTIFY));

    label->setAlignment(SS_RIGHT);
    EXPECT_EQ(static_cast<DWORD>(SS_RIGHT), GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK);
    EXPECT_EQ(SS_RIGHT, label->getAlignment());

    // The same alignment again leaves the window alone: a style changed behind the label's back
    // stays as it is.
    SetWindowLongW(hwnd, GWL_STYLE, (GetWindowLongW(hwnd, GWL_STYLE) & ~SS_TYPEMASK) | SS_LEFT);
    label->setAlignment(SS_RIGHT);
    EXPECT_EQ(static_cast<DWORD>(SS_LEFT), GetWindowLongW(hwnd, GWL_STYLE) & SS_TYPEMASK);
}

TEST(Button, PreferredSizeLeavesRoomForEdgesAndFocusFrame) {
    TestWindow window;
    auto* button = new awt::Button(IDS_BROWSE);
    auto* latin = new awt::Button(L"Browse...");
    window.add(button);
    window.add(latin);
    EXPECT_EQ(awt::Dimension{}, button->getPreferredSize());
    window.createPeer();

    for (awt::Button* each : {button, latin}) {
        FontProbe probe(each->getHWND());
        const TEXTMETRICW metrics = probe.metrics();
        const SIZE extent = probe.extent(each->getText());
        EXPECT_EQ((awt::Dimension{
                      extent.cx + 2 * (metrics.tmAveCharWidth + GetSystemMetrics(SM_CXEDGE)) + 4,
                      extent.cy + 2 * (metrics.tmExternalLeading + GetSystemMetrics(SM_CYEDGE)) + 4}),
                  each->getPreferredSize());
    }
    EXPECT_EQ(L"参照...", windowText(button->getHWND()));
}

TEST(Button, StylesAndDefaultButton) {
    TestWindow window;
    auto* button = new awt::Button(L"OK");
    window.add(button);
    window.createPeer();
    HWND hwnd = button->getHWND();
    EXPECT_EQ(L"Button", className(hwnd));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(BS_PUSHBUTTON), style & BS_TYPEMASK);
    EXPECT_EQ(static_cast<DWORD>(BS_CENTER | BS_VCENTER | WS_TABSTOP),
              style & (BS_CENTER | BS_VCENTER | WS_TABSTOP));
    EXPECT_TRUE(button->isFocusable());

    button->setDefaultButton(true);
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), GetWindowLongW(hwnd, GWL_STYLE) & BS_TYPEMASK);
    // A new window is made as the default button from the start.
    button->destroyPeer();
    button->createPeer();
    EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON),
              GetWindowLongW(button->getHWND(), GWL_STYLE) & BS_TYPEMASK);
}

TEST(Button, ClickNotifiesEveryListenerLastAddedFirst) {
    TestWindow window;
    auto* button = new awt::Button(L"Go");
    window.add(button);
    button->setBounds(10, 10, 80, 24);
    std::vector<std::wstring> journal;
    EventCounter first(L"first", &journal);
    EventCounter second(L"second", &journal);
    button->addActionListener(&first);
    button->addActionListener(&second);
    button->addActionListener(&first);
    window.createPeer();
    settle();

    // BM_CLICK presses and releases the button like the mouse; the button reports BN_CLICKED.
    SendMessageW(button->getHWND(), BM_CLICK, 0, 0);
    settle();
    EXPECT_EQ((std::vector<std::wstring>{L"second:action", L"first:action"}), journal);
    EXPECT_EQ(button, first.lastSource);

    // Other notifications of the button fire nothing.
    journal.clear();
    SendMessageW(window.getHWND(), WM_COMMAND, MAKEWPARAM(0, BN_SETFOCUS),
                 reinterpret_cast<LPARAM>(button->getHWND()));
    EXPECT_TRUE(journal.empty());

    button->removeActionListener(&second);
    SendMessageW(button->getHWND(), BM_CLICK, 0, 0);
    settle();
    EXPECT_EQ((std::vector<std::wstring>{L"first:action"}), journal);
}

TEST(Panel, IsANotifyingStaticThatHoldsChildren) {
    TestWindow window;
    auto* panel = new awt::Panel();
    auto* inner = new awt::Button(L"inner");
    panel->add(inner);
    window.add(panel);
    panel->setBounds(10, 10, 200, 100);
    inner->setBounds(5, 5, 80, 24);
    window.createPeer();
    HWND hwnd = panel->getHWND();
    EXPECT_EQ(L"Static", className(hwnd));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(SS_NOTIFY | WS_CLIPCHILDREN), style & (SS_NOTIFY | WS_CLIPCHILDREN));
    EXPECT_EQ(hwnd, GetParent(inner->getHWND()));

    // The panel routes its child's notifications, so a click on the inner button arrives.
    EventCounter clicks;
    inner->addActionListener(&clicks);
    SendMessageW(inner->getHWND(), BM_CLICK, 0, 0);
    settle();
    EXPECT_EQ(1, clicks.actions);
}

namespace {

// A bordered panel that can be given a bigger font for its next window.
class FontPanel : public awt::BorderedPanel {
public:
    explicit FontPanel(const std::wstring& title) : awt::BorderedPanel(title) {}
    ~FontPanel() noexcept(false) override {
        if (bigFont != nullptr) {
            destroyPeer();
            DeleteObject(bigFont);
        }
    }
    void applyFont(HWND window) override {
        if (bigFont != nullptr) {
            SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(bigFont), 0);
        } else {
            awt::BorderedPanel::applyFont(window);
        }
    }
    HFONT bigFont = nullptr;
};

awt::Insets expectedGroupInsets(HWND panel) {
    const TEXTMETRICW metrics = FontProbe(panel).metrics();
    const int h = metrics.tmHeight;
    const int left = metrics.tmAveCharWidth + GetSystemMetrics(SM_CXEDGE);
    return awt::Insets{h + h / 2, left, h / 2 + GetSystemMetrics(SM_CYEDGE), left};
}

} // namespace

TEST(BorderedPanel, InsetsComeFromTheFontAndFollowANewWindow) {
    TestWindow window;
    auto* panel = new FontPanel(L"設定");
    window.add(panel);
    EXPECT_EQ(awt::Insets{}, panel->getInsets()) << "no window yet";
    window.createPeer();
    const awt::Insets first = expectedGroupInsets(panel->getHWND());
    EXPECT_EQ(first, panel->getInsets());
    EXPECT_GT(first.top, 0);

    panel->destroyPeer();
    EXPECT_EQ(awt::Insets{}, panel->getInsets());
    panel->bigFont = CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                                 0, L"Tahoma");
    panel->createPeer();
    const awt::Insets second = expectedGroupInsets(panel->getHWND());
    EXPECT_EQ(second, panel->getInsets());
    EXPECT_GT(second.top, first.top) << "the new font's insets, not the cached ones";
}

TEST(BorderedPanel, IsAGroupBoxGroupWithItsTitle) {
    TestWindow window;
    auto* panel = new awt::BorderedPanel(IDS_SETTINGS);
    window.add(panel);
    window.createPeer();
    HWND hwnd = panel->getHWND();
    EXPECT_EQ(L"Button", className(hwnd));
    EXPECT_EQ(L"設定", windowText(hwnd));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    EXPECT_EQ(static_cast<DWORD>(BS_GROUPBOX), style & BS_TYPEMASK);
    EXPECT_EQ(static_cast<DWORD>(WS_GROUP | WS_CLIPCHILDREN), style & (WS_GROUP | WS_CLIPCHILDREN));
    EXPECT_TRUE(panel->isGroup());

    panel->setTitle(L"ヘッダファイル");
    EXPECT_EQ(L"ヘッダファイル", windowText(hwnd));
    // The same title again does not touch the window.
    SetWindowTextW(hwnd, L"changed behind its back");
    panel->setTitle(L"ヘッダファイル");
    EXPECT_EQ(L"changed behind its back", windowText(hwnd));
}

TEST(BorderedPanel, ErasesWithItsParentsControlColourAndTakesTheMouse) {
    TestWindow window;
    auto* panel = new awt::BorderedPanel(L"colours");
    window.add(panel);
    panel->setBounds(20, 20, 120, 80);
    const COLORREF red = RGB(200, 0, 0);
    // The parent answers WM_CTLCOLORSTATIC for the panel with the panel's own background brush.
    panel->setBackground(red);
    window.createPeer();
    window.setVisible(true);
    settle();
    HWND hwnd = panel->getHWND();

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 120, 80);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const LRESULT erased = SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(memory), 0);
    EXPECT_EQ(1, erased);
    EXPECT_EQ(red, GetPixel(memory, 60, 40));
    EXPECT_EQ(red, GetPixel(memory, 119, 79));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    RECT rect;
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(rect.left + 60, rect.top + 40)));
    EXPECT_EQ(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(rect.left, rect.top)));
    EXPECT_NE(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(rect.right, rect.top + 40)));
    // Where the plain group box would let the mouse through, the panel's own window is hit.
    POINT inside{rect.left + 60, rect.top + 40};
    EXPECT_EQ(hwnd, WindowFromPoint(inside));
}
