#include "app/KeyFocuser.h"

KeyFocuser::KeyFocuser(awt::Component* target) : target(target) {}

KeyFocuser::~KeyFocuser() = default;

void KeyFocuser::keyPressed(awt::KeyEvent*) {
    target->requestFocus();
}

void KeyFocuser::keyReleased(awt::KeyEvent*) {}

void KeyFocuser::keyTyped(awt::KeyEvent*) {}
