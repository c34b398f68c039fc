#include "codes/NtStatusMapping.h"

#include "codes/CodeExceptions.h"

#include <windows.h>
#include <winternl.h>

std::uint32_t platformNtStatusToDosError(std::uint32_t ntStatus)
{
    return RtlNtStatusToDosError(static_cast<NTSTATUS>(ntStatus));
}

std::uint32_t ntStatusToWin32(std::uint32_t ntStatus)
{
    std::uint32_t win32Code = platformNtStatusToDosError(ntStatus);
    if (win32Code == NO_WIN32_COUNTERPART) {
        throw NotMappedException();
    }
    return win32Code;
}
