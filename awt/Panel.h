#pragma once

#include "awt/Container.h"

namespace awt {

// A plain container over a STATIC window that reports mouse clicks (SS_NOTIFY).
class Panel : public Container {
public:
    Panel();

    LPCWSTR getClassName() const override;
    DWORD getStyle() const override;
};

} // namespace awt
