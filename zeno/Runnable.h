#pragma once

#include <memory>

#include "zeno/Exception.h"

namespace zeno {

// A task. Tasks are handed over by pointer: whoever takes one runs it once, and the standard tasks
// below delete themselves at the end of run(), so they must be created with new.
class Runnable {
public:
    virtual ~Runnable() = default;
    virtual void run() = 0;
};

// Destroys an object (may be null), then itself, also when the destruction throws.
template <class T>
class Deleter : public Runnable {
public:
    explicit Deleter(T* object) : object(object) {}

    void run() override {
        std::unique_ptr<Deleter> self(this);
        delete object;
    }

private:
    T* object;
};

// Calls a member function on an object, then deletes itself, also when the call throws.
template <class T>
class Dispatcher : public Runnable {
public:
    using Method = void (T::*)();

    // Throws zeno::NullPointerException for a null object or method.
    Dispatcher(T* object, Method method) : object(object), method(method) {
        checkNotNull(L"object", object);
        if (method == nullptr) {
            throw NullPointerException(L"method");
        }
    }

    void run() override {
        std::unique_ptr<Dispatcher> self(this);
        (object->*method)();
    }

private:
    T* object;
    Method method;
};

} // namespace zeno
