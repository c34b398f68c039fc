#include "awt/Panel.h"

namespace awt {

Panel::Panel() = default;

LPCWSTR Panel::getClassName() const { return L"STATIC"; }

DWORD Panel::getStyle() const { return Container::getStyle() | SS_NOTIFY; }

} // namespace awt
