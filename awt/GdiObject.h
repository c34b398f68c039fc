#pragma once

#include <windows.h>

namespace awt {

// Owns one GDI object (brush, region, font, ...); null means nothing to delete.
// Call reset() on the normal path: it throws AWTException "::DeleteObject() failed".
// The destructor deletes what is left without reporting failures, so unwinding stays silent.
template <class H>
class GdiObject {
public:
    explicit GdiObject(H object = nullptr) : object(object) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() {
        if (object != nullptr) {
            DeleteObject(object);
        }
    }

    H get() const { return object; }
    explicit operator bool() const { return object != nullptr; }
    // Deletes the object held (throwing on failure), then holds the new one.
    void reset(H replacement = nullptr);

private:
    H object;
};

// Throws AWTException "::DeleteObject() failed" with the last error.
void deleteGdiObject(HGDIOBJ object);

template <class H>
void GdiObject<H>::reset(H replacement) {
    H old = object;
    object = replacement;
    if (old != nullptr) {
        deleteGdiObject(old);
    }
}

} // namespace awt
