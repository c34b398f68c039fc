// Owners of system resources: files opened and mapped, handles, reserved memory, debugger output.

#include "zeno/DebugLog.h"
#include "zeno/File.h"
#include "zeno/Handle.h"
#include "zeno/MappedFile.h"
#include "zeno/VirtualBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <utility>

#include "zeno/Exception.h"
#include "zeno/Strings.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/TemporaryDirectory.h"
#include "zeno/tests/Thrown.h"

namespace {

// True when nobody else has the file open: an exclusive open succeeds.
bool canOpenExclusively(const std::wstring& path) {
    return zeno::Handle(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)).isOpen();
}

std::wstring mappingFailure(const std::wstring& path, unsigned mode = zeno::MappedFile::READ) {
    return zeno_test::thrownText([&] { zeno::MappedFile file(path, mode, zeno::nilString); });
}

std::string bytesOf(const zeno::MappedFile& file) {
    return std::string(static_cast<const char*>(file.data()), static_cast<std::size_t>(file.size()));
}

TEST(MappedFile, FailuresNameThePathCarryThePlatformCodeAndLeaveTheFileClosed) {
    zeno_test::TemporaryDirectory directory;
    const std::wstring missing = directory.file(L"missing.h");
    const std::wstring missingFolder = directory.file(L"no such folder\\ntstatus.h");
    const std::wstring empty = directory.writeFile(L"empty.h", "");
    const std::wstring locked = directory.writeFile(L"locked.h", "#define X 1L\r\n");
    const std::wstring created = directory.file(L"new.cfg");
    // Another program writing the file and sharing nothing.
    zeno::Handle writer(CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer.isOpen() && !empty.empty());
    const std::pair<std::wstring, std::wstring> cases[] = {
        {mappingFailure(missing), L"class zeno::FileNotFoundException: " + missing + L": 2"},
        {mappingFailure(missingFolder), L"class zeno::FileNotFoundException: " + missingFolder + L": 3"},
        {mappingFailure(locked), L"class zeno::IOException: ::CreateFile(" + locked + L") failed: 32"},
        {mappingFailure(empty), L"class zeno::IOException: ::CreateFileMapping(" + empty + L") failed: 1006"},
        // Writing creates a missing file, empty, so it cannot be mapped either.
        {mappingFailure(created, zeno::MappedFile::READ | zeno::MappedFile::WRITE),
         L"class zeno::IOException: ::CreateFileMapping(" + created + L") failed: 1006"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
    EXPECT_TRUE(canOpenExclusively(empty) && canOpenExclusively(created));
}

TEST(MappedFile, MapsTheWholeFileSharesOnlyReadingUntilClosedAndWritesThroughTheView) {
    zeno_test::TemporaryDirectory directory;
    const std::string content = "#define STATUS_WAIT_0 ((NTSTATUS)0x00000000L)\r\n" + std::string("\0\x80\xFF", 3);
    const std::wstring path = directory.writeFile(L"ntstatus.h", content);
    {
        zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
        EXPECT_EQ(content, bytesOf(file));
        EXPECT_TRUE(zeno::Handle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                             nullptr)).isOpen());
        EXPECT_FALSE(canOpenExclusively(path));
        file.close();
        EXPECT_EQ(nullptr, file.data());
        EXPECT_TRUE(canOpenExclusively(path));
    }
    {
        zeno::MappedFile file(path, zeno::MappedFile::READ | zeno::MappedFile::WRITE, zeno::nilString);
        std::memcpy(file.data(), "XY", 2);
    }
    EXPECT_EQ("XY" + content.substr(2), directory.readFile(L"ntstatus.h"));
    // The destructor let the file go as well.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST(Handle, MovesClosesOnceAndReportsAFailedClose) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    zeno::Handle owner(event);
    zeno::Handle assigned;
    assigned = zeno::Handle(std::move(owner));
    EXPECT_FALSE(owner.isOpen());
    assigned.close();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags));
    EXPECT_NO_THROW(assigned.close());
    EXPECT_NO_THROW(zeno::Handle(INVALID_HANDLE_VALUE).close());
    // The value no longer names a handle.
    zeno::Handle stale(event);
    EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6", zeno_test::thrownText([&stale] { stale.close(); }));
    EXPECT_FALSE(stale.isOpen());
}

TEST(VirtualBuffer, CommitsFromTheBaseOnDemandNeverShrinksAndNamesTheFailedStep) {
    zeno::VirtualBuffer buffer(0x100000); // as much as the string loader reserves
    buffer.commit(256);
    buffer.data()[255] = L'z';
    buffer.commit(100);
    EXPECT_EQ(256u, buffer.committedSize());
    buffer.commit(8192);
    buffer.data()[8191] = L'!';
    EXPECT_EQ(L'z', buffer.data()[255]);
    EXPECT_TRUE(zeno::startsWith(zeno_test::thrownText([&buffer] { buffer.commit(0x200000); }),
                                 L"class zeno::Exception: ::VirtualAlloc(MEM_COMMIT) failed: "));
    EXPECT_EQ(8192u, buffer.committedSize());
    // Counts whose byte size does not fit in the address space.
    EXPECT_THROW(buffer.commit(SIZE_MAX), zeno::IllegalArgumentException);
    EXPECT_THROW(zeno::VirtualBuffer(SIZE_MAX), zeno::IllegalArgumentException);
    wchar_t* base = buffer.data();
    buffer.release();
    MEMORY_BASIC_INFORMATION region = {};
    VirtualQuery(base, &region, sizeof region);
    EXPECT_EQ(static_cast<DWORD>(MEM_FREE), region.State);
    EXPECT_THROW(buffer.commit(1), zeno::IllegalStateException);
    EXPECT_TRUE(zeno::startsWith(zeno_test::thrownText([] { zeno::VirtualBuffer huge(SIZE_MAX / 2); }),
                                 L"class zeno::Exception: ::VirtualAlloc(MEM_RESERVE) failed: "));
}

TEST(DebugLog, WritesOneLineEachCallFromAnyThread) {
    zeno_test::DebugOutputCapture debugOutput;
    ASSERT_TRUE(debugOutput.isInstalled());
    zeno::debugLog(L"");
    std::thread([] { zeno::debugLog(L"NTSTATUS loaded 3 entries"); }).join();
    EXPECT_EQ((std::vector<std::wstring>{L"\n", L"NTSTATUS loaded 3 entries\n"}), debugOutput.outputs());
}

} // namespace
