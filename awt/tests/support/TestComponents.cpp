#include "awt/tests/support/TestComponents.h"

namespace test {

void TestFrame::mouseEnteredComponent(awt::Component* component, int atX, int atY) {
    if (mouseOver != nullptr && mouseOver->getHWND() != nullptr && component->getHWND() != nullptr) {
        RECT from;
        RECT to;
        GetWindowRect(component->getHWND(), &from);
        GetWindowRect(mouseOver->getHWND(), &to);
        mouseOver->notifyMouseExited(atX + from.left - to.left, atY + from.top - to.top);
    }
    mouseOver = component;
}

} // namespace test
