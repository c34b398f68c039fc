#include "FrameSession.h"

#include <gtest/gtest.h>

#include <memory>

#include "app/Kelvane.h"
#include "awt/Toolkit.h"

int runFrame(const std::wstring& configPath, const std::function<void(UiDriver&, Kelvane*)>& script) {
    auto frame = std::make_unique<Kelvane>(configPath);
    Kelvane* shown = frame.get();
    const int exitCode = runDriven(
        awt::Toolkit::getInstance(), [&] { return shown->run(); },
        [&](UiDriver& ui) {
            ASSERT_TRUE(waitShown(ui, shown)) << "the main window did not come up";
            script(ui, shown);
        });
    frame.reset();
    return exitCode;
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

HWND focusedWindow(UiDriver& ui) {
    return ui.get<HWND>([] { return GetFocus(); });
}

bool wholeTextSelected(UiDriver& ui, HWND edit) {
    return ui.get<bool>([&] {
        DWORD start = 0;
        DWORD end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return start == 0 && end == static_cast<DWORD>(GetWindowTextLengthW(edit));
    });
}
