#pragma once

#include "awt/Event.h"
#include "awt/ListenerTag.h"

namespace awt {

// Listener interfaces. Each names its registry tag in TAG; components call them from their
// toolkit's thread, the most recently registered first.

class MouseListener {
public:
    static const ListenerTag TAG;
    virtual ~MouseListener() = default;
    virtual void mouseEntered(MouseEvent* event) = 0;
    virtual void mouseExited(MouseEvent* event) = 0;
    virtual void mousePressed(MouseEvent* event) = 0;
    virtual void mouseReleased(MouseEvent* event) = 0;
    virtual void mouseDoubleClicked(MouseEvent* event) = 0;
};

class KeyListener {
public:
    static const ListenerTag TAG;
    virtual ~KeyListener() = default;
    virtual void keyPressed(KeyEvent* event) = 0;
    virtual void keyReleased(KeyEvent* event) = 0;
    virtual void keyTyped(KeyEvent* event) = 0;
};

class FocusListener {
public:
    static const ListenerTag TAG;
    virtual ~FocusListener() = default;
    virtual void focusGained(FocusEvent* event) = 0;
    virtual void focusLost(FocusEvent* event) = 0;
};

class ContainerListener {
public:
    static const ListenerTag TAG;
    virtual ~ContainerListener() = default;
    virtual void componentAdded(ContainerEvent* event) = 0;
    virtual void componentRemoved(ContainerEvent* event) = 0;
};

class WindowListener {
public:
    static const ListenerTag TAG;
    virtual ~WindowListener() = default;
    virtual void windowShown(WindowEvent* event) = 0;
    virtual void windowClosing(WindowEvent* event) = 0;
    virtual void windowHidden(WindowEvent* event) = 0;
    virtual void windowActivated(WindowEvent* event) = 0;
    virtual void windowDeactivated(WindowEvent* event) = 0;
    virtual void windowIconified(WindowEvent* event) = 0;
    virtual void windowDeiconified(WindowEvent* event) = 0;
};

class ActionListener {
public:
    static const ListenerTag TAG;
    virtual ~ActionListener() = default;
    virtual void actionPerformed(ActionEvent* event) = 0;
};

class ItemListener {
public:
    static const ListenerTag TAG;
    virtual ~ItemListener() = default;
    virtual void itemStateChanged(ItemEvent* event) = 0;
};

class TextListener {
public:
    static const ListenerTag TAG;
    virtual ~TextListener() = default;
    virtual void textValueChanged(TextEvent* event) = 0;
};

} // namespace awt
