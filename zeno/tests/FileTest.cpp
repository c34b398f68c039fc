// Owners of system resources: files opened and mapped, handles, reserved memory.

#include "zeno/Handle.h"
#include "zeno/MappedFile.h"
#include "zeno/VirtualBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zeno/Exception.h"
#include "zeno/Strings.h"
#include "zeno/tests/TemporaryDirectory.h"
#include "zeno/tests/Thrown.h"

namespace {

// True when another program, reading and sharing only `share`, can open the file now.
bool canOpen(const std::wstring& path, DWORD share) {
    return zeno::Handle(CreateFileW(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)).isOpen();
}

// Failures to open or map a file for reading are checked through the header scanner's and the
// configuration reader's tests, with the exact texts.
TEST(MappedFile, MapsTheWholeFileSharesOnlyReadingUntilClosedAndWritesThroughTheView) {
    zeno_test::TemporaryDirectory directory;
    const std::string content = "#define STATUS_WAIT_0 ((NTSTATUS)0x00000000L)\r\n" + std::string("\0\x80\xFF", 3);
    const std::wstring path = directory.writeFile(L"ntstatus.h", content);
    {
        zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
        EXPECT_EQ(content, std::string(static_cast<const char*>(file.data()), std::size_t(file.size())));
        EXPECT_TRUE(canOpen(path, FILE_SHARE_READ) && !canOpen(path, 0));
        file.close();
        EXPECT_EQ(nullptr, file.data());
        EXPECT_TRUE(canOpen(path, 0));
    }
    // The temporary mapping goes at the end of the statement.
    std::memcpy(zeno::MappedFile(path, zeno::MappedFile::READ | zeno::MappedFile::WRITE, zeno::nilString).data(),
                "XY", 2);
    EXPECT_EQ("XY" + content.substr(2), directory.readFile(L"ntstatus.h"));
    // The destructor let the file go as well.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
    // Writing creates a missing file, empty, so it cannot be mapped either; the failure lets it go.
    const std::wstring created = directory.file(L"new.cfg");
    EXPECT_EQ(L"class zeno::IOException: ::CreateFileMapping(" + created + L") failed: 1006", zeno_test::outcome([&] {
                  zeno::MappedFile file(created, zeno::MappedFile::READ | zeno::MappedFile::WRITE, zeno::nilString);
              }));
    EXPECT_TRUE(canOpen(created, 0));
}

TEST(Handle, MovesClosesOnceAndReportsAFailedClose) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    zeno::Handle assigned;
    assigned = zeno::Handle(event);
    assigned.close();
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(event, &flags) || assigned.isOpen());
    EXPECT_NO_THROW(assigned.close());
    EXPECT_NO_THROW(zeno::Handle(INVALID_HANDLE_VALUE).close());
    zeno::Handle stale(event); // the value no longer names a handle
    EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6", zeno_test::outcome([&stale] { stale.close(); }));
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
    EXPECT_TRUE(zeno::startsWith(zeno_test::outcome([&buffer] { buffer.commit(0x200000); }),
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
    EXPECT_TRUE(zeno::startsWith(zeno_test::outcome([] { zeno::VirtualBuffer huge(SIZE_MAX / 2); }),
                                 L"class zeno::Exception: ::VirtualAlloc(MEM_RESERVE) failed: "));
}

} // namespace
