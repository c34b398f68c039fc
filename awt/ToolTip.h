#pragma once

#include <string>

#include <windows.h>
#include <commctrl.h>

#include "awt/Listener.h"
#include "awt/MessagePreprocessor.h"
#include "awt/WindowProcedure.h"

namespace awt {

class Component;

// Shows a text in a common-controls tool-tip window while the mouse rests on one target
// component. The window is made the first time the mouse enters the target; while the mouse is
// over the target, every message of the toolkit's loop is relayed to the control, which shows
// and hides the tip by itself. The text is given to the control each time it asks.
class ToolTip : public WindowProcedure, public MessagePreprocessor, public MouseListener {
public:
    // A null target is allowed; setTarget gives one later.
    ToolTip(Component* target, const std::wstring& text);
    // Leaves the toolkit's preprocessors. The target keeps this object among its mouse
    // listeners: destroy the tool tip and its target together. A listener interface does not
    // let its destructor throw, so a failure to destroy the window is not reported.
    ~ToolTip() noexcept override;

    // Throws zeno::IllegalStateException "creating ToolTip peer without target component" while
    // the target has no window.
    void createPeer() override;
    void destroyPeer() override;
    HWND createWindow() override;
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Answers the control's request for the text.
    virtual void fillDisplayInfo(NMTTDISPINFOW* info);

    void preprocess(MSG* message, bool* handled) override;

    void mouseEntered(MouseEvent* event) override;
    void mouseExited(MouseEvent* event) override;
    void mousePressed(MouseEvent* event) override;
    void mouseReleased(MouseEvent* event) override;
    void mouseDoubleClicked(MouseEvent* event) override;

    void setTarget(Component* target);
    Component* getTarget() const;
    void setText(const std::wstring& text);
    const std::wstring& getText() const;

private:
    void registerTool();

    Component* target;
    std::wstring text;
};

} // namespace awt
