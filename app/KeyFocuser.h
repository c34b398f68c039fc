#pragma once

#include "awt/Component.h"
#include "awt/Listener.h"

// Key binding that moves the keyboard focus to one component.
class KeyFocuser : public awt::KeyListener {
public:
    explicit KeyFocuser(awt::Component* target);
    ~KeyFocuser() override;

    // Focuses the target; the event stays unconsumed so that other listeners still see it.
    void keyPressed(awt::KeyEvent* event) override;
    void keyReleased(awt::KeyEvent* event) override;
    void keyTyped(awt::KeyEvent* event) override;

private:
    awt::Component* target;  // not owned
};
