#pragma once

#include "zeno/Exception.h"

// A code-table lookup found no entry. Carries no message and no error code.
class EntryNotFoundException : public zeno::Exception {
public:
    EntryNotFoundException() = default;
};

// A code has no counterpart of the other kind (NTSTATUS <-> Win32 error code).
// Carries no message and no error code.
class NotMappedException : public zeno::Exception {
public:
    NotMappedException() = default;
};
