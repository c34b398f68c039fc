#include <algorithm>
#include <cstdlib>

#include <windows.h>

#include "WidgetTestComponents.h"
#include "awt/BorderLayout.h"
#include "awt/BorderedPanel.h"
#include "awt/Button.h"
#include "awt/Frame.h"
#include "awt/GridFlowLayout.h"
#include "awt/Label.h"
#include "awt/List.h"
#include "awt/StatusBar.h"
#include "awt/TextArea.h"
#include "awt/TextField.h"
#include "awt/ToolTip.h"

// One window with every widget, laid out by the toolkit's layouts, with Japanese texts. Run the
// test program with KELVANE_SHOW_MS=milliseconds set to keep it on screen (with its tool tip shown) for a look.
TEST(Showcase, EveryWidgetInOneWindow) {
    awt::BorderLayout frameLayout;
    awt::GridFlowLayout column;
    column.setRowsAndCols(0, 1);
    column.setDefaultGaps();
    column.setGridAlignment(awt::GridFlowLayout::FILL, awt::GridFlowLayout::TOP);
    awt::Frame frame(nullptr, L"awt ウィジェット");
    frame.setLayout(&frameLayout);
    auto* group = new awt::BorderedPanel(IDS_SETTINGS);
    group->setLayout(&column);
    auto* field = new awt::TextField(32);
    field->setText(L"STATUS_ACCESS_VIOLATION");
    auto* area = new awt::TextArea(L"メモリ アクセス違反です。\r\nThe instruction referenced memory.", 3, 32);
    area->setEditable(false);
    auto* list = new awt::List();
    list->add(L"STATUS_SUCCESS");
    list->add(L"STATUS_ACCESS_VIOLATION");
    list->select(1);
    auto* label = new awt::Label(L"設定: ヘッダファイル (ntstatus.h)");
    const std::initializer_list<awt::Component*> children{field, area, list, new awt::Button(IDS_HEADER_FILE), label};
    for (awt::Component* each : children) {
        group->add(each);
    }
    frame.add(group, awt::BorderLayout::CENTER);
    frame.add(new awt::StatusBar(L"準備完了", true), awt::BorderLayout::SOUTH);
    awt::ToolTip tip(label, L"ツールチップ: C:\\sdk\\include\\ntstatus.h");
    frame.setBounds(20, 20, 560, 480);
    frame.setVisible(true);
    SetForegroundWindow(frame.getHWND());
    settle();

    // The column fills the group box's inner width below the caption, which sits in the box's
    // top inset.
    const awt::Insets insets = group->getInsets();
    for (awt::Component* each : children) {
        EXPECT_TRUE(IsWindowVisible(each->getHWND()));
        EXPECT_EQ(group->getSize().width - insets.left - insets.right, each->getSize().width);
        EXPECT_GE(each->getSize().height, each->getPreferredSize().height);
    }
    EXPECT_EQ(insets.top, field->getLocation().y);

    // The sunken edges of the text components and the list are drawn although the layout moved
    // them without redrawing.
    HDC screen = GetDC(nullptr);
    for (awt::Component* framed : std::initializer_list<awt::Component*>{field, area, list}) {
        RECT edge;
        GetWindowRect(framed->getHWND(), &edge);
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(screen, edge.left, (edge.top + edge.bottom) / 2));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(screen, (edge.left + edge.right) / 2, edge.top));
    }
    ReleaseDC(nullptr, screen);

    // The real mouse rests on the label: its moves reach the tool-tip control through the loop's
    // preprocessor chain until the tip shows the text it asked for; leaving ends the relaying.
    RECT rect;
    GetWindowRect(label->getHWND(), &rect);
    SetCursorPos(rect.left + 30, (rect.top + rect.bottom) / 2);
    runFor(200);
    SetCursorPos(rect.left + 32, (rect.top + rect.bottom) / 2);
    // Only the toolkit's own loop passes the moves through the preprocessors.
    const DWORD start = GetTickCount();
    while ((tip.getHWND() == nullptr || !IsWindowVisible(tip.getHWND())) && GetTickCount() - start < 3000) {
        runFor(100);
    }
    EXPECT_TRUE(tip.getHWND() != nullptr && IsWindowVisible(tip.getHWND()));
    EXPECT_EQ(L"ツールチップ: C:\\sdk\\include\\ntstatus.h", windowText(tip.getHWND()));
    if (const char* hold = std::getenv("KELVANE_SHOW_MS")) {
        runFor(static_cast<UINT>(std::atoi(hold)));
    }
    SetCursorPos(0, 0);
    const auto& chain = toolkit()->getMessagePreprocessors();
    EXPECT_TRUE(waitUntil([&] {
        return std::find(chain.begin(), chain.end(), static_cast<awt::MessagePreprocessor*>(&tip)) == chain.end();
    })) << "leaving the label did not end the relaying";
    label->removeMouseListener(&tip);
    frame.dispose();
}
