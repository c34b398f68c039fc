#include <algorithm>
#include <cstdlib>

#include <windows.h>

#include "WidgetTestComponents.h"
#include "awt/Label.h"
#include "awt/List.h"
#include "awt/TextArea.h"
#include "awt/TextField.h"
#include "awt/ToolTip.h"

// A shown window with Japanese texts. Run the test program with KELVANE_SHOW_MS=milliseconds set
// to keep it on screen (with its tool tip shown) for a look.
TEST(Showcase, ShownWidgetsDrawTheirEdgesAndTheToolTipFollowsTheRealMouse) {
    TestWindow window;
    auto* field = window.put(new awt::TextField(32));
    field->setText(L"STATUS_ACCESS_VIOLATION");
    auto* area = window.put(new awt::TextArea(L"メモリ アクセス違反です。\r\nThe instruction referenced memory.", 3, 32));
    auto* list = window.put(new awt::List());
    list->add(L"STATUS_ACCESS_VIOLATION");
    auto* label = window.put(new awt::Label(L"設定: ヘッダファイル (ntstatus.h)"), 10, 220, 300, 20);
    awt::ToolTip tip(label, L"ツールチップ: C:\\sdk\\include\\ntstatus.h");
    window.show();

    // Moved without redrawing, as layouts move them: the sunken edges are drawn all the same.
    const std::initializer_list<awt::Component*> framed{field, area, list};
    int top = 30;
    for (awt::Component* each : framed) {
        each->setBounds(10, top, 300, 50);
        top += 60;
    }
    settle();
    HDC screen = GetDC(nullptr);
    for (awt::Component* each : framed) {
        RECT edge;
        GetWindowRect(each->getHWND(), &edge);
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(screen, edge.left, (edge.top + edge.bottom) / 2));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(screen, (edge.left + edge.right) / 2, edge.top));
    }
    ReleaseDC(nullptr, screen);

    // The real mouse rests on the label: its moves reach the tool-tip control through the loop's
    // preprocessor chain (only the toolkit's own loop passes them through it) until the tip shows
    // the text it asked for; leaving ends the relaying.
    RECT rect;
    GetWindowRect(label->getHWND(), &rect);
    SetCursorPos(rect.left + 30, (rect.top + rect.bottom) / 2);
    runFor(200);
    SetCursorPos(rect.left + 32, (rect.top + rect.bottom) / 2);
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
}
