#include "awt/DefaultGaps.h"

#include <windows.h>

#include "awt/AWTException.h"
#include "awt/DeviceContext.h"

namespace awt {

namespace {

// -1 until the first successful measurement.
int defaultHorizontalGap = -1;
int defaultVerticalGap = -1;

// Owns a display device context; on the normal path the release is checked with close().
class DisplayDC {
public:
    DisplayDC() : dc(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) {
        if (dc == nullptr) {
            throw AWTException(L"::CreateDC(DISPLAY) failed", ::GetLastError());
        }
    }
    DisplayDC(const DisplayDC&) = delete;
    DisplayDC& operator=(const DisplayDC&) = delete;
    ~DisplayDC() {
        if (dc != nullptr) {
            ::DeleteDC(dc);  // only reached while an exception passes
        }
    }
    HDC get() const { return dc; }
    void close() {
        HDC owned = dc;
        dc = nullptr;
        if (!::DeleteDC(owned)) {
            throw AWTException(L"::DeleteDC() failed", ::GetLastError());
        }
    }

private:
    HDC dc;
};

}  // namespace

void getDefaultGaps(int& hgap, int& vgap) {
    if (defaultHorizontalGap != -1) {
        hgap = defaultHorizontalGap;
        vgap = defaultVerticalGap;
        return;
    }
    DisplayDC display;
    HGDIOBJ font = ::GetStockObject(DEFAULT_GUI_FONT);
    if (font == nullptr) {
        throw AWTException(L"::GetStockObject(DEFAULT_GUI_FONT) failed", ::GetLastError());
    }
    TEXTMETRICW metrics{};
    {
        ObjectSelection selection(display.get(), font);
        if (!::GetTextMetricsW(display.get(), &metrics)) {
            throw AWTException(L"::GetTextMetrics(DEFAULT_GUI_FONT) failed", ::GetLastError());
        }
    }
    display.close();
    defaultHorizontalGap = metrics.tmAveCharWidth;
    defaultVerticalGap = metrics.tmHeight / 2;
    hgap = defaultHorizontalGap;
    vgap = defaultVerticalGap;
}

}  // namespace awt
