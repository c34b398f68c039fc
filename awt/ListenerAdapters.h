#pragma once

#include "zeno/Exception.h"

#include "awt/Listener.h"

namespace awt {

// Adapters that bind a member function without arguments of an application class as a listener.
// The event is not read; KeyListener_mem_fun_t consumes every key press it handles.

// What every adapter holds: the object and the member to call on it.
template <class T, class L>
class MemberFunctionListener : public L {
public:
    using Function = void (T::*)();

protected:
    MemberFunctionListener(T* object, Function function) : object(object), function(function) {
        zeno::checkNotNull(L"object", object);
    }
    void call() { (object->*function)(); }

private:
    T* object;
    Function function;
};

template <class T>
class ActionListener_mem_fun_t : public MemberFunctionListener<T, ActionListener> {
public:
    using typename MemberFunctionListener<T, ActionListener>::Function;
    ActionListener_mem_fun_t(T* object, Function function)
        : MemberFunctionListener<T, ActionListener>(object, function) {}
    void actionPerformed(ActionEvent*) override { this->call(); }
};

template <class T>
class ItemListener_mem_fun_t : public MemberFunctionListener<T, ItemListener> {
public:
    using typename MemberFunctionListener<T, ItemListener>::Function;
    ItemListener_mem_fun_t(T* object, Function function)
        : MemberFunctionListener<T, ItemListener>(object, function) {}
    void itemStateChanged(ItemEvent*) override { this->call(); }
};

template <class T>
class TextListener_mem_fun_t : public MemberFunctionListener<T, TextListener> {
public:
    using typename MemberFunctionListener<T, TextListener>::Function;
    TextListener_mem_fun_t(T* object, Function function)
        : MemberFunctionListener<T, TextListener>(object, function) {}
    void textValueChanged(TextEvent*) override { this->call(); }
};

template <class T>
class KeyListener_mem_fun_t : public MemberFunctionListener<T, KeyListener> {
public:
    using typename MemberFunctionListener<T, KeyListener>::Function;
    KeyListener_mem_fun_t(T* object, Function function)
        : MemberFunctionListener<T, KeyListener>(object, function) {}
    void keyPressed(KeyEvent* event) override {
        this->call();
        event->consumed = true;
    }
    void keyReleased(KeyEvent*) override {}
    void keyTyped(KeyEvent*) override {}
};

} // namespace awt
