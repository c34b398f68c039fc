#pragma once

#include <cstdint>

// What RtlNtStatusToDosError answers for an NTSTATUS it cannot translate (ERROR_MR_MID_NOT_FOUND).
// Only this value means "no counterpart"; every other result, 0 included, is a translation.
constexpr std::uint32_t NO_WIN32_COUNTERPART = 317;

// The platform's translation (RtlNtStatusToDosError), NO_WIN32_COUNTERPART included.
std::uint32_t platformNtStatusToDosError(std::uint32_t ntStatus);

// The Win32 error code an NTSTATUS translates to; throws NotMappedException when it has none.
std::uint32_t ntStatusToWin32(std::uint32_t ntStatus);
