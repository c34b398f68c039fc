#pragma once

#include "zeno/Exception.h"

#include "awt/Listener.h"

namespace awt {

// Adapters that bind a member function without arguments of an application class as a listener.
// The event is not read; KeyListener_mem_fun_t consumes every key press it handles.

template <class T>
class ActionListener_mem_fun_t : public ActionListener {
public:
    using Function = void (T::*)();
    ActionListener_mem_fun_t(T* object, Function function) : object(object), function(function) {
        zeno::checkNotNull(L"object", object);
    }
    void actionPerformed(ActionEvent*) override { (object->*function)(); }

private:
    T* object;
    Function function;
};

template <class T>
class ItemListener_mem_fun_t : public ItemListener {
public:
    using Function = void (T::*)();
    ItemListener_mem_fun_t(T* object, Function function) : object(object), function(function) {
        zeno::checkNotNull(L"object", object);
    }
    void itemStateChanged(ItemEvent*) override { (object->*function)(); }

private:
    T* object;
    Function function;
};

template <class T>
class TextListener_mem_fun_t : public TextListener {
public:
    using Function = void (T::*)();
    TextListener_mem_fun_t(T* object, Function function) : object(object), function(function) {
        zeno::checkNotNull(L"object", object);
    }
    void textValueChanged(TextEvent*) override { (object->*function)(); }

private:
    T* object;
    Function function;
};

template <class T>
class KeyListener_mem_fun_t : public KeyListener {
public:
    using Function = void (T::*)();
    KeyListener_mem_fun_t(T* object, Function function) : object(object), function(function) {
        zeno::checkNotNull(L"object", object);
    }
    void keyPressed(KeyEvent* event) override {
        (object->*function)();
        event->consumed = true;
    }
    void keyReleased(KeyEvent*) override {}
    void keyTyped(KeyEvent*) override {}

private:
    T* object;
    Function function;
};

} // namespace awt
