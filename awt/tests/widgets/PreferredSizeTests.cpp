#include <algorithm>
#include <map>

#include "WidgetTestComponents.h"
#include "awt/Button.h"
#include "awt/Label.h"
#include "awt/List.h"
#include "awt/StatusBar.h"
#include "awt/TextArea.h"
#include "awt/TextField.h"
#include "awt/BorderedPanel.h"

namespace {

TEXTMETRICW metricsOf(HWND window) {
    HDC dc = GetDC(window);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, previous);
    ReleaseDC(window, dc);
    return metrics;
}

// The insets AdjustWindowRectEx gives for the window's current styles.
awt::Insets frameOf(HWND window) {
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectEx(&rect, styleOf(window), FALSE, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
    return awt::Insets{-rect.top, -rect.left, rect.bottom, rect.right};
}

} // namespace

// Every widget measures in the default GUI font. A one-line label is the ruler for the extent
// of a text; the rest are the margins each widget adds, in the font's metrics and the system's
// border widths. No widget answers a size before its window exists.
TEST(PreferredSize, OfEveryWidgetInTheDefaultGuiFont) {
    TestWindow window;
    auto label = [&](const wchar_t* text) { return window.put(new awt::Label(text)); };
    const std::vector<std::wstring> names{L"STATUS_SUCCESS", L"STATUS_WAIT_1", L"STATUS_ACCESS_VIOLATION"};
    awt::Component* measured[] = {
        label(L"ab\ncd\n"), label(L"\n\nx"), label(L"設定\nヘッダファイル\r"), label(L""),
        window.put(new awt::Button(L"Browse...")), window.put(new awt::Button(IDS_BROWSE)),
        window.put(new awt::TextField(32)), window.put(new awt::TextArea(L"", 5, 32)),
        window.put(new awt::List()), window.put(new awt::List()), window.put(new awt::StatusBar(L"準備完了", false))};
    for (const std::wstring& name : names) {
        static_cast<awt::List*>(measured[9])->add(name);
    }
    auto* bar = static_cast<awt::StatusBar*>(measured[10]);
    auto* plainPart = new awt::StatusBar::Part(L"NTSTATUS", awt::StatusBar::Part::FIXED, false);
    EXPECT_EQ(awt::Dimension{}, plainPart->getPreferredSize()) << "no bar";
    bar->addPart(plainPart);
    std::map<std::wstring, awt::Label*> rulers;
    for (const wchar_t* text : {L"ab", L"cd", L"x", L"設定", L"ヘッダファイル\r", L"Browse...", L"参照...",
                                L"STATUS_ACCESS_VIOLATION", L"準備完了", L"NTSTATUS"}) {
        rulers[text] = label(text);
    }
    for (awt::Component* each : measured) {
        EXPECT_EQ(awt::Dimension{}, each->getPreferredSize()) << "no window yet";
    }
    window.createPeer();

    const TEXTMETRICW font = metricsOf(measured[0]->getHWND());
    const int lineHeight = font.tmHeight + font.tmExternalLeading;
    auto width = [&](const wchar_t* text) { return rulers.at(text)->getPreferredSize().width; };
    const awt::Insets edit = frameOf(measured[6]->getHWND());
    const awt::Insets listBox = frameOf(measured[8]->getHWND());
    const int itemHeight = static_cast<int>(SendMessageW(measured[8]->getHWND(), LB_GETITEMHEIGHT, 0, 0));
    const int buttonWidth = 2 * (font.tmAveCharWidth + GetSystemMetrics(SM_CXEDGE)) + 4;
    const int buttonHeight = font.tmHeight + 2 * (font.tmExternalLeading + GetSystemMetrics(SM_CYEDGE)) + 4;
    const int emptyListWidth = listBox.left + listBox.right + 2 * GetSystemMetrics(SM_CXBORDER) +
                               GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(lineHeight, rulers.at(L"x")->getPreferredSize().height);
    EXPECT_GT(edit.left, 0) << "the client edge is part of a text field's frame";
    const awt::Dimension expected[] = {
        {std::max(width(L"ab"), width(L"cd")), 2 * lineHeight},  // a final line feed adds no line
        {width(L"x"), 3 * lineHeight},
        {std::max(width(L"設定"), width(L"ヘッダファイル\r")), 2 * lineHeight},
        {0, 0},
        {width(L"Browse...") + buttonWidth, buttonHeight},
        {width(L"参照...") + buttonWidth, buttonHeight},
        {32 * font.tmAveCharWidth + edit.left + edit.right + 2, font.tmHeight + edit.top + edit.bottom + 2},
        {32 * font.tmAveCharWidth + edit.left + edit.right + GetSystemMetrics(SM_CXVSCROLL) + 2,
         5 * font.tmHeight + edit.top + edit.bottom + 2},
        {emptyListWidth, 3 * itemHeight + listBox.top + listBox.bottom},
        {emptyListWidth + width(L"STATUS_ACCESS_VIOLATION"), 3 * itemHeight + listBox.top + listBox.bottom},
    };
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(expected[i], measured[i]->getPreferredSize()) << "widget " << i;
    }
    EXPECT_EQ((awt::Dimension{width(L"準備完了") + 2 + 2 * GetSystemMetrics(SM_CXBORDER),
                               font.tmHeight + 4 + 2 * GetSystemMetrics(SM_CYBORDER)}),
              bar->getPart(0)->getPreferredSize());
    EXPECT_EQ((awt::Dimension{width(L"NTSTATUS") + 2, font.tmHeight + 4}), plainPart->getPreferredSize());

    // A list measures again when its items change.
    auto* list = static_cast<awt::List*>(measured[9]);
    list->removeAll();
    EXPECT_EQ(emptyListWidth, list->getPreferredSize().width);
    list->insert(L"STATUS_ACCESS_VIOLATION", 0);
    EXPECT_EQ(expected[9], list->getPreferredSize());
}

namespace {

// A bordered panel that can be given a bigger font for its next window.
class FontPanel : public awt::BorderedPanel {
public:
    FontPanel() : awt::BorderedPanel(IDS_SETTINGS) {}
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
    const TEXTMETRICW metrics = metricsOf(panel);
    const int h = metrics.tmHeight;
    const int left = metrics.tmAveCharWidth + GetSystemMetrics(SM_CXEDGE);
    return awt::Insets{h + h / 2, left, h / 2 + GetSystemMetrics(SM_CYEDGE), left};
}

} // namespace

TEST(BorderedPanel, InsetsComeFromTheFontAndFollowANewWindow) {
    TestWindow window;
    auto* panel = window.put(new FontPanel());
    EXPECT_EQ(awt::Insets{}, panel->getInsets()) << "no window yet";
    window.createPeer();
    HWND hwnd = panel->getHWND();
    EXPECT_EQ(L"設定", windowText(hwnd)) << "the title from the string table";
    panel->setTitle(L"ヘッダファイル");
    SetWindowTextW(hwnd, L"changed behind its back");
    panel->setTitle(L"ヘッダファイル");
    EXPECT_EQ(L"changed behind its back", windowText(hwnd)) << "the same title again leaves the window";
    const awt::Insets first = expectedGroupInsets(panel->getHWND());
    EXPECT_EQ(first, panel->getInsets());

    panel->destroyPeer();
    EXPECT_EQ(awt::Insets{}, panel->getInsets());
    panel->bigFont = CreateFontW(-40, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                                 0, L"Tahoma");
    panel->createPeer();
    EXPECT_EQ(expectedGroupInsets(panel->getHWND()), panel->getInsets());
    EXPECT_GT(panel->getInsets().top, first.top) << "the new font's insets, not the cached ones";
}

