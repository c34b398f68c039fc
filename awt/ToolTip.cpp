#include "awt/ToolTip.h"

#include "awt/AWTException.h"
#include "awt/Component.h"
#include "awt/Toolkit.h"
#include "zeno/Exception.h"

namespace awt {

ToolTip::ToolTip(Component* target, const std::wstring& text) : target(target), text(text) {
    if (target != nullptr) {
        target->addMouseListener(this);
    }
}

ToolTip::~ToolTip() noexcept {
    if (toolkit != nullptr) {
        toolkit->removeMessagePreprocessor(this);
    }
    if (hwnd != nullptr) {
        HWND window = hwnd;
        hwnd = nullptr;
        unbind(window);
        DestroyWindow(window);
    }
}

void ToolTip::createPeer() {
    if (hwnd != nullptr) {
        return;
    }
    if (target == nullptr || target->getHWND() == nullptr) {
        throw zeno::IllegalStateException(L"creating ToolTip peer without target component");
    }
    toolkit = target->getToolkit();
    try {
        WindowProcedure::createPeer();
        registerTool();
    } catch (...) {
        // Without its tool the window is useless; the next mouse entry tries again.
        if (hwnd != nullptr) {
            HWND window = hwnd;
            hwnd = nullptr;
            unbind(window);
            DestroyWindow(window);
        }
        toolkit = nullptr;
        throw;
    }
}

void ToolTip::destroyPeer() {
    if (hwnd == nullptr) {
        return;
    }
    toolkit->removeMessagePreprocessor(this);
    WindowProcedure::destroyPeer();
    toolkit = nullptr;
}

HWND ToolTip::createWindow() {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_BAR_CLASSES};
    if (!InitCommonControlsEx(&classes)) {
        throw AWTException(L"::InitCommonControlsEx() failed", zeno::Exception::NO_ERROR_CODE);
    }
    const Component* topLevel = target->getTopLevelComponent();
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOPARENTNOTIFY, TOOLTIPS_CLASSW,
                                  L"awt::ToolTip", WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  topLevel != nullptr ? topLevel->getHWND() : nullptr, nullptr,
                                  Toolkit::getInstanceHandle(), nullptr);
    if (window == nullptr) {
        throwLastError(L"::CreateWindowEx(TOOLTIPS_CLASS) failed");
    }
    return window;
}

void ToolTip::registerTool() {
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    // The control asks this window for the text, so the tool tip answers for itself.
    tool.hwnd = hwnd;
    tool.uId = reinterpret_cast<UINT_PTR>(target->getHWND());
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    if (!SendMessageW(hwnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool))) {
        throwLastError(L"::SendMessage(TTM_ADDTOOL) failed");
    }
}

LRESULT ToolTip::windowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    // The control asks the window of the tool (this one) which notifications it wants; without
    // an answer it would ask for the text in 8-bit characters.
    if (message == WM_NOTIFYFORMAT && lParam == NF_QUERY) {
        return NFR_UNICODE;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header != nullptr && header->hwndFrom == hwnd && header->code == TTN_GETDISPINFOW) {
            fillDisplayInfo(reinterpret_cast<NMTTDISPINFOW*>(lParam));
            return 0;
        }
    }
    return WindowProcedure::windowProc(message, wParam, lParam);
}

void ToolTip::fillDisplayInfo(NMTTDISPINFOW* info) {
    info->lpszText = const_cast<wchar_t*>(text.c_str());
    info->hinst = nullptr;
}

void ToolTip::preprocess(MSG* message, bool*) {
    if (hwnd != nullptr) {
        SendMessageW(hwnd, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(message));
    }
}

void ToolTip::mouseEntered(MouseEvent*) {
    createPeer();
    // The chain takes a preprocessor once, however often the mouse enters.
    toolkit->addMessagePreprocessor(this);
}

void ToolTip::mouseExited(MouseEvent*) {
    if (toolkit != nullptr) {
        toolkit->removeMessagePreprocessor(this);
    }
}

void ToolTip::mousePressed(MouseEvent*) {}

void ToolTip::mouseReleased(MouseEvent*) {}

void ToolTip::mouseDoubleClicked(MouseEvent*) {}

void ToolTip::setTarget(Component* newTarget) {
    if (newTarget == target) {
        return;
    }
    if (target != nullptr) {
        target->removeMouseListener(this);
        destroyPeer();
    }
    target = newTarget;
    if (target != nullptr) {
        target->addMouseListener(this);
    }
}

Component* ToolTip::getTarget() const { return target; }

void ToolTip::setText(const std::wstring& newText) {
    if (newText != text) {
        text = newText;
    }
}

const std::wstring& ToolTip::getText() const { return text; }

} // namespace awt
