// zeno::VirtualBuffer and zeno::debugLog.

#include "zeno/VirtualBuffer.h"
#include "zeno/DebugLog.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "zeno/Exception.h"
#include "zeno/tests/DebugOutputCapture.h"

namespace {

// The toolkit's string loader reserves this many wide characters.
const std::size_t LOADER_CAPACITY = 0x100000;

// Bytes committed from the start of the region at the address.
SIZE_T committedBytesAt(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(address, &info, sizeof info) == 0 || info.State != MEM_COMMIT) {
        return 0;
    }
    return info.RegionSize;
}

DWORD stateAt(const void* address) {
    MEMORY_BASIC_INFORMATION info;
    return VirtualQuery(address, &info, sizeof info) == 0 ? 0 : info.State;
}

TEST(VirtualBuffer, ReservesWithoutCommitting) {
    zeno::VirtualBuffer buffer(LOADER_CAPACITY);
    ASSERT_NE(nullptr, buffer.data());
    EXPECT_EQ(0u, buffer.committedSize());
    EXPECT_EQ(static_cast<DWORD>(MEM_RESERVE), stateAt(buffer.data()));
    EXPECT_EQ(static_cast<DWORD>(MEM_RESERVE), stateAt(buffer.data() + LOADER_CAPACITY - 1));
}

TEST(VirtualBuffer, CommitsOnDemandAndNeverShrinks) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const std::size_t pageUnits = system.dwPageSize / sizeof(wchar_t);

    zeno::VirtualBuffer buffer(LOADER_CAPACITY);
    buffer.commit(256);
    EXPECT_EQ(256u, buffer.committedSize());
    const SIZE_T afterFirst = committedBytesAt(buffer.data());
    EXPECT_GE(afterFirst, 256 * sizeof(wchar_t));
    buffer.data()[0] = L'a';
    buffer.data()[255] = L'z';

    buffer.commit(100);
    EXPECT_EQ(256u, buffer.committedSize());
    EXPECT_EQ(afterFirst, committedBytesAt(buffer.data()));

    // Doubling as the string loader does, across several pages.
    buffer.commit(4 * pageUnits);
    EXPECT_EQ(4 * pageUnits, buffer.committedSize());
    EXPECT_EQ(4 * system.dwPageSize, committedBytesAt(buffer.data()));
    buffer.data()[4 * pageUnits - 1] = L'!';
    EXPECT_EQ(L'a', buffer.data()[0]);
    EXPECT_EQ(L'z', buffer.data()[255]);
    EXPECT_EQ(static_cast<DWORD>(MEM_RESERVE), stateAt(buffer.data() + 4 * pageUnits));

    buffer.commit(0);
    EXPECT_EQ(4 * pageUnits, buffer.committedSize());
}

TEST(VirtualBuffer, CommitBeyondTheReservationFails) {
    zeno::VirtualBuffer buffer(256);
    try {
        buffer.commit(LOADER_CAPACITY * 16);
        FAIL() << "commit past the reserved range did not throw";
    } catch (const zeno::Exception& e) {
        EXPECT_EQ(L"::VirtualAlloc(MEM_COMMIT) failed", e.getMessage());
        EXPECT_NE(zeno::Exception::NO_ERROR_CODE, e.getErrorCode());
        EXPECT_NE(0u, e.getErrorCode());
    }
    EXPECT_EQ(0u, buffer.committedSize());
    // A count whose byte size does not fit in the address space.
    EXPECT_THROW(buffer.commit(SIZE_MAX), zeno::IllegalArgumentException);
    EXPECT_EQ(0u, buffer.committedSize());
}

TEST(VirtualBuffer, ReserveThatCannotBeMadeThrows) {
    try {
        zeno::VirtualBuffer huge(SIZE_MAX / sizeof(wchar_t));
        FAIL() << "reserving the whole address space did not throw";
    } catch (const zeno::Exception& e) {
        EXPECT_EQ(L"::VirtualAlloc(MEM_RESERVE) failed", e.getMessage());
        EXPECT_NE(zeno::Exception::NO_ERROR_CODE, e.getErrorCode());
    }
    EXPECT_THROW(zeno::VirtualBuffer(SIZE_MAX), zeno::IllegalArgumentException);
}

TEST(VirtualBuffer, ReleaseFreesTheRangeOnce) {
    zeno::VirtualBuffer buffer(LOADER_CAPACITY);
    buffer.commit(256);
    wchar_t* base = buffer.data();
    buffer.release();
    EXPECT_EQ(nullptr, buffer.data());
    EXPECT_EQ(0u, buffer.committedSize());
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), stateAt(base));
    EXPECT_NO_THROW(buffer.release());
    EXPECT_THROW(buffer.commit(1), zeno::IllegalStateException);
}

TEST(DebugLog, WritesOneLineEachCall) {
    zeno_test::DebugOutputCapture debugOutput;
    ASSERT_TRUE(debugOutput.isInstalled());
    zeno::debugLog(L"");
    zeno::debugLog(L"NTSTATUS loaded 3 entries");
    const std::vector<std::wstring> outputs = debugOutput.outputs();
    ASSERT_EQ(2u, outputs.size());
    EXPECT_EQ(L"\n", outputs[0]);
    EXPECT_EQ(L"NTSTATUS loaded 3 entries\n", outputs[1]);
}

DWORD WINAPI logFromWorker(LPVOID) {
    zeno::debugLog(L"from a worker");
    return 0;
}

TEST(DebugLog, IsCapturedFromOtherThreadsToo) {
    zeno_test::DebugOutputCapture debugOutput;
    const HANDLE thread = CreateThread(nullptr, 0, &logFromWorker, nullptr, 0, nullptr);
    ASSERT_NE(nullptr, thread);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    EXPECT_TRUE(debugOutput.contains(L"from a worker\n"));
}

} // namespace
