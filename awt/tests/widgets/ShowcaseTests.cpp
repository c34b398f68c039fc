#include <cstdlib>

#include "WidgetTestComponents.h"

// A shown window with Japanese texts. Run the test program with KELVANE_SHOW_MS=milliseconds set
// to keep it on screen for a look. (A tool tip under the real mouse is checked end to end by the
// application's tests, on the header path of a pane title.)
TEST(Showcase, ShownWidgetsDrawTheirEdgesAfterAMoveWithoutRedraw) {
    TestWindow window;
    auto* field = window.put(new awt::TextField(32));
    field->setText(L"STATUS_ACCESS_VIOLATION");
    auto* area = window.put(new awt::TextArea(L"メモリ アクセス違反です。\r\nThe instruction referenced memory.", 3, 32));
    auto* list = window.put(new awt::List());
    list->add(L"STATUS_ACCESS_VIOLATION");
    window.put(new awt::Label(L"設定: ヘッダファイル (ntstatus.h)"), 10, 220, 300, 20);
    window.show();

    // Moved without redrawing, as layouts move them: the sunken edges are drawn all the same.
    awt::Component* const framed[] = {field, area, list};
    for (int i = 0; i < 3; ++i) {
        framed[i]->setBounds(10, 30 + 60 * i, 300, 50);
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
    if (const char* hold = std::getenv("KELVANE_SHOW_MS")) {
        runFor(static_cast<UINT>(std::atoi(hold)));
    }
}
