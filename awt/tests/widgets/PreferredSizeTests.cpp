#include "WidgetTestComponents.h"
#include "awt/BorderedPanel.h"
#include "awt/GdiObject.h"

namespace {

// A font of the worked examples: cells 13 high, characters 6 wide on average, no leading.
HFONT exampleFont(int height = 13, int width = 6) {
    return CreateFontW(height, width, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
}

void setFont(awt::Component* component, HFONT font) {
    SendMessageW(component->getHWND(), WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
}

} // namespace

// Every widget measured in the example font, with client edges of 2 and borders of 1. A
// one-line label is the ruler for the extent of a text. No widget answers a size before its
// window exists.
TEST(PreferredSize, OfEveryWidgetInTheExampleFont) {
    const awt::GdiObject<HFONT> font(exampleFont());
    TestWindow window;
    auto label = [&](const wchar_t* text) { return window.put(new awt::Label(text)); };
    auto* list = new awt::List();
    auto* bar = new awt::StatusBar(L"準備完了", false);
    awt::Component* measured[] = {
        label(L"ab\ncd\n"), label(L"\n\nx"), label(L"設定\nヘッダファイル\r"), label(L""),
        window.put(new awt::Button(L"Browse...")), window.put(new awt::Button(IDS_BROWSE)),
        window.put(new awt::TextField(32)), window.put(new awt::TextArea(L"", 5, 32)),
        window.put(new awt::List()), window.put(list), window.put(bar)};
    list->add(L"STATUS_SUCCESS");
    list->add(L"STATUS_ACCESS_VIOLATION");
    bar->addPart(new awt::StatusBar::Part(L"NTSTATUS", awt::StatusBar::Part::FIXED, false));
    for (awt::Component* each : measured) {
        EXPECT_EQ(awt::Dimension{}, each->getPreferredSize()) << "no window yet";
    }
    window.createPeer();
    for (int i = 0; i < window.getComponentCount(); ++i) {
        setFont(window.getComponent(i), font.get());
    }

    auto width = [&](const wchar_t* text) {  // of a one-line label made now
        awt::Label* ruler = label(text);
        setFont(ruler, font.get());
        return ruler->getPreferredSize().width;
    };
    const int scrollBar = GetSystemMetrics(SM_CXVSCROLL);
    const int listHeight = 3 * static_cast<int>(SendMessageW(list->getHWND(), LB_GETITEMHEIGHT, 0, 0)) + 4;
    const awt::Dimension expected[] = {
        {std::max(width(L"ab"), width(L"cd")), 26},  // a final line feed adds no line
        {width(L"x"), 39}, {std::max(width(L"設定"), width(L"ヘッダファイル\r")), 26}, {0, 0},
        {width(L"Browse...") + 20, 21}, {width(L"参照...") + 20, 21}, {198, 19}, {198 + scrollBar, 71},
        {6 + scrollBar, listHeight}, {6 + scrollBar + width(L"STATUS_ACCESS_VIOLATION"), listHeight},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(expected[i], measured[i]->getPreferredSize()) << "widget " << i;
    }
    EXPECT_EQ((awt::Dimension{width(L"準備完了") + 4, 19}), bar->getPart(0)->getPreferredSize());
    EXPECT_EQ((awt::Dimension{width(L"NTSTATUS") + 2, 17}), bar->getPart(1)->getPreferredSize());

    // A list measures again when its items change.
    list->removeAll();
    EXPECT_EQ(expected[8], list->getPreferredSize());
    list->insert(L"STATUS_ACCESS_VIOLATION", 0);
    EXPECT_EQ(expected[9], list->getPreferredSize());
}

// The insets come from the font of the current window, not the cached ones. The parent's
// control colour (its answer to WM_CTLCOLORSTATIC: the panel's own background brush) erases the
// panel, which takes the mouse over its whole area.
TEST(BorderedPanel, InsetsFollowTheFontAndThePanelErasesAndTakesTheMouse) {
    const awt::GdiObject<HFONT> small(exampleFont());
    const awt::GdiObject<HFONT> big(exampleFont(16, 8));
    TestWindow window;
    auto* panel = window.put(new awt::BorderedPanel(IDS_SETTINGS), 20, 20, 120, 80);
    EXPECT_EQ(awt::Insets{}, panel->getInsets()) << "no window yet";
    const COLORREF red = RGB(200, 0, 0);
    panel->setBackground(red);
    window.show();
    HWND hwnd = panel->getHWND();
    EXPECT_EQ(L"設定", windowText(hwnd)) << "the title from the string table";
    panel->setTitle(L"ヘッダファイル");
    SetWindowTextW(hwnd, L"changed behind its back");
    panel->setTitle(L"ヘッダファイル");
    EXPECT_EQ(L"changed behind its back", windowText(hwnd)) << "the same title again";

    HDC dc = GetDC(hwnd);
    EXPECT_EQ(1, SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0));
    EXPECT_EQ(std::pair(red, red), std::pair(GetPixel(dc, 60, 40), GetPixel(dc, 119, 79))) << "the whole panel";
    ReleaseDC(hwnd, dc);
    RECT rect;
    GetWindowRect(hwnd, &rect);
    EXPECT_EQ(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(rect.left, rect.top)));
    EXPECT_NE(HTCLIENT, SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(rect.right, rect.top + 40)));
    // Where the plain group box would let the mouse through, the panel's own window is hit.
    EXPECT_EQ(hwnd, WindowFromPoint(POINT{rect.left + 60, rect.top + 40}));

    setFont(panel, small.get());
    EXPECT_EQ((awt::Insets{19, 8, 8, 8}), panel->getInsets());
    panel->destroyPeer();
    EXPECT_EQ(awt::Insets{}, panel->getInsets());
    panel->createPeer();
    setFont(panel, big.get());
    EXPECT_EQ((awt::Insets{24, 10, 10, 10}), panel->getInsets());
}
