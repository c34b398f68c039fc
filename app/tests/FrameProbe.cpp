#include "FrameProbe.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <memory>

#include "SystemWindows.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"
#include "awt/Toolkit.h"

PaneView viewOf(ErrorCodePane* pane) {
    PaneView view;
    view.currentCode = pane->getCurrentCode();
    view.name = textOf(pane->getNameField()->getHWND());
    view.decimal = textOf(pane->getDecimalField()->getHWND());
    view.hex = textOf(pane->getHexField()->getHWND());
    view.message = textOf(pane->getMessageArea()->getHWND());
    HWND list = pane->getList()->getHWND();
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT row = 0; row < count; ++row) {
        std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, row, 0)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(&text[0]))));
        view.rows.push_back(text);
    }
    view.selectedRow = static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0));
    return view;
}

std::wstring statusTextOf(Kelvane* frame) {
    HWND bar = frame->getStatusBar()->getHWND();
    std::wstring text(static_cast<std::size_t>(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, 0, 0))) + 1, L'\0');
    text.resize(LOWORD(SendMessageW(bar, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(&text[0]))));
    return text;
}

int runFrame(const std::wstring& configPath, const std::function<void(UiDriver&, Kelvane*)>& script) {
    auto frame = std::make_unique<Kelvane>(configPath);
    Kelvane* shown = frame.get();
    return runDriven(
        awt::Toolkit::getInstance(), [&] { return shown->run(); },
        [&](UiDriver& ui) {
            ASSERT_TRUE(waitShown(ui, shown)) << "the main window did not come up";
            script(ui, shown);
        });
}

bool waitShown(UiDriver& ui, Kelvane* frame) {
    const bool visible = ui.waitUntil(
        [&] { return frame->getHWND() != nullptr && IsWindowVisible(frame->getHWND()) && frame->getStatusBar() != nullptr; },
        20000);
    if (!visible) {
        return false;
    }
    ui.onUi([&] { SetForegroundWindow(frame->getHWND()); });
    return ui.waitUntil([&] { return GetForegroundWindow() == frame->getHWND(); });
}
