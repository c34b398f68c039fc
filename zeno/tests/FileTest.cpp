// zeno::openFile, zeno::MappedFile and zeno::Handle on real files in a temporary directory.

#include "zeno/File.h"
#include "zeno/MappedFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>

#include "zeno/Exception.h"
#include "zeno/Handle.h"
#include "zeno/Strings.h"
#include "zeno/tests/TemporaryDirectory.h"
#include "zeno/tests/Thrown.h"

namespace {

const unsigned READ = zeno::MappedFile::READ;
const unsigned WRITE = zeno::MappedFile::WRITE;

class FileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(directory.isCreated()); }

    // True when the file exists and nobody else has it open: an exclusive open for writing succeeds.
    static bool canOpenExclusively(const std::wstring& path) {
        zeno::Handle handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        return handle.isOpen();
    }

    static std::wstring mappingFailure(const std::wstring& path, unsigned mode) {
        return zeno_test::thrownText([&] { zeno::MappedFile file(path, mode, zeno::nilString); });
    }

    static std::string bytesOf(const zeno::MappedFile& file) {
        return std::string(static_cast<const char*>(file.data()), static_cast<std::size_t>(file.size()));
    }

    zeno_test::TemporaryDirectory directory;
};

TEST_F(FileTest, FailuresNameThePathAndCarryThePlatformCode) {
    const std::wstring missingFile = directory.file(L"missing.h");
    const std::wstring missingFolder = directory.file(L"no such folder\\ntstatus.h");
    const std::wstring empty = directory.writeFile(L"empty.h", "");
    const std::wstring locked = directory.writeFile(L"locked.h", "#define X 1L\r\n");
    ASSERT_FALSE(empty.empty() || locked.empty());
    // Another program writing the file and sharing nothing.
    zeno::Handle writer(CreateFileW(locked.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer.isOpen());
    const std::pair<std::wstring, std::wstring> cases[] = {
        {missingFile, L"class zeno::FileNotFoundException: " + missingFile + L": 2"},
        {missingFolder, L"class zeno::FileNotFoundException: " + missingFolder + L": 3"},
        {locked, L"class zeno::IOException: ::CreateFile(" + locked + L") failed: " +
                     std::to_wstring(ERROR_SHARING_VIOLATION)},
        {empty, L"class zeno::IOException: ::CreateFileMapping(" + empty + L") failed: " +
                    std::to_wstring(ERROR_FILE_INVALID)},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, mappingFailure(testCase.first, READ));
    }
    // The failed constructor closed the file it had opened.
    EXPECT_TRUE(canOpenExclusively(empty));
    writer.close();
    EXPECT_NO_THROW(zeno::MappedFile(locked, READ, zeno::nilString));
}

TEST_F(FileTest, MapsTheWholeFileAndSharesOnlyReadingUntilClosed) {
    const std::string content =
        "#define STATUS_WAIT_0 ((NTSTATUS)0x00000000L)\r\n" + std::string("\0\x80\xFF", 3);
    const std::wstring path = directory.writeFile(L"ntstatus.h", content);
    ASSERT_FALSE(path.empty());
    {
        zeno::MappedFile file(path, READ, zeno::nilString);
        EXPECT_EQ(content, bytesOf(file));
        zeno::Handle reader(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_TRUE(reader.isOpen());
        reader.close();
        EXPECT_FALSE(canOpenExclusively(path));
        file.close();
        EXPECT_EQ(nullptr, file.data());
        EXPECT_TRUE(canOpenExclusively(path));
        file.close();
    }
    {
        zeno::MappedFile file(path, READ, zeno::nilString);
    }
    // The destructor let the file go as well.
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST_F(FileTest, WriteModeCreatesAMissingFileAndWritesThroughTheView) {
    const std::wstring created = directory.file(L"new.cfg");
    // Created empty, so it cannot be mapped; closed again all the same.
    const std::wstring failure = L"class zeno::IOException: ::CreateFileMapping(" + created + L") failed: ";
    EXPECT_TRUE(zeno::startsWith(mappingFailure(created, READ | WRITE), failure.c_str()));
    EXPECT_TRUE(canOpenExclusively(created));

    const std::wstring path = directory.writeFile(L"rw.bin", "abcdef");
    ASSERT_FALSE(path.empty());
    {
        zeno::MappedFile file(path, READ | WRITE, zeno::nilString);
        ASSERT_EQ(6u, file.size());
        std::memcpy(file.data(), "XY", 2);
    }
    EXPECT_EQ("XYcdef", bytesOf(zeno::MappedFile(path, READ, zeno::nilString)));
}

TEST(Handle, MovesClosesOnceAndReportsAFailedClose) {
    zeno::Handle none;
    zeno::Handle invalid(INVALID_HANDLE_VALUE);
    EXPECT_NO_THROW(none.close());
    EXPECT_NO_THROW(invalid.close());

    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, event);
    zeno::Handle owner(event);
    zeno::Handle moved(std::move(owner));
    zeno::Handle assigned;
    assigned = std::move(moved);
    EXPECT_FALSE(owner.isOpen() || moved.isOpen());
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(event, &flags));
    assigned.close();
    EXPECT_FALSE(GetHandleInformation(event, &flags));
    EXPECT_NO_THROW(assigned.close());

    // The value no longer names a handle.
    zeno::Handle stale(event);
    EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6",
              zeno_test::thrownText([&stale] { stale.close(); }));
    EXPECT_FALSE(stale.isOpen());
}

} // namespace
