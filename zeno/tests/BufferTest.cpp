// zeno::VirtualBuffer and zeno::debugLog.

#include "zeno/VirtualBuffer.h"
#include "zeno/DebugLog.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <thread>
#include <vector>

#include "zeno/Exception.h"
#include "zeno/Strings.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/Thrown.h"

namespace {

// The toolkit's string loader reserves this many wide characters.
const std::size_t LOADER_CAPACITY = 0x100000;

MEMORY_BASIC_INFORMATION regionAt(const void* address) {
    MEMORY_BASIC_INFORMATION info = {};
    VirtualQuery(address, &info, sizeof info);
    return info;
}

// The thrown text must be a zeno::Exception with the message and a code from the system.
void expectSystemFailure(const std::wstring& message, const std::wstring& thrown) {
    const std::wstring prefix = L"class zeno::Exception: " + message + L": ";
    EXPECT_TRUE(zeno::startsWith(thrown, prefix.c_str()) && thrown != prefix + L"0")
        << testing::PrintToString(thrown);
}

TEST(VirtualBuffer, CommitsFromTheBaseOnDemandAndNeverShrinks) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const std::size_t pageUnits = system.dwPageSize / sizeof(wchar_t);

    zeno::VirtualBuffer buffer(LOADER_CAPACITY);
    ASSERT_NE(nullptr, buffer.data());
    EXPECT_EQ(static_cast<DWORD>(MEM_RESERVE), regionAt(buffer.data()).State);
    EXPECT_EQ(static_cast<DWORD>(MEM_RESERVE), regionAt(buffer.data() + LOADER_CAPACITY - 1).State);
    buffer.commit(256);
    buffer.data()[0] = L'a';
    buffer.data()[255] = L'z';
    buffer.commit(100);
    EXPECT_EQ(256u, buffer.committedSize());

    // Growing as the string loader does, across several pages; the content stays.
    buffer.commit(4 * pageUnits);
    EXPECT_EQ(4 * pageUnits, buffer.committedSize());
    EXPECT_EQ(static_cast<DWORD>(MEM_COMMIT), regionAt(buffer.data()).State);
    EXPECT_EQ(4 * system.dwPageSize, regionAt(buffer.data()).RegionSize);
    buffer.data()[4 * pageUnits - 1] = L'!';
    EXPECT_EQ(L'a', buffer.data()[0]);
    EXPECT_EQ(L'z', buffer.data()[255]);
    buffer.commit(0);
    EXPECT_EQ(4 * pageUnits, buffer.committedSize());

    wchar_t* base = buffer.data();
    buffer.release();
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), regionAt(base).State);
    EXPECT_NO_THROW(buffer.release());
    EXPECT_THROW(buffer.commit(1), zeno::IllegalStateException);
}

TEST(VirtualBuffer, ReserveOrCommitThatCannotBeMadeThrows) {
    expectSystemFailure(L"::VirtualAlloc(MEM_RESERVE) failed",
                        zeno_test::thrownText([] { zeno::VirtualBuffer huge(SIZE_MAX / sizeof(wchar_t)); }));
    zeno::VirtualBuffer buffer(256);
    expectSystemFailure(L"::VirtualAlloc(MEM_COMMIT) failed",
                        zeno_test::thrownText([&buffer] { buffer.commit(LOADER_CAPACITY * 16); }));
    EXPECT_EQ(0u, buffer.committedSize());
    // Counts whose byte size does not fit in the address space.
    EXPECT_THROW(buffer.commit(SIZE_MAX), zeno::IllegalArgumentException);
    EXPECT_THROW(zeno::VirtualBuffer(SIZE_MAX), zeno::IllegalArgumentException);
}

TEST(DebugLog, WritesOneLineEachCallFromAnyThread) {
    zeno_test::DebugOutputCapture debugOutput;
    ASSERT_TRUE(debugOutput.isInstalled());
    zeno::debugLog(L"");
    zeno::debugLog(L"NTSTATUS loaded 3 entries");
    std::thread([] { zeno::debugLog(L"from a worker"); }).join();
    EXPECT_EQ((std::vector<std::wstring>{L"\n", L"NTSTATUS loaded 3 entries\n", L"from a worker\n"}),
              debugOutput.outputs());
}

} // namespace
