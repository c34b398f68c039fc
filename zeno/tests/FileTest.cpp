// zeno::openFile and zeno::MappedFile on real files in a temporary directory.

#include "zeno/File.h"
#include "zeno/MappedFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "zeno/Exception.h"
#include "zeno/Handle.h"
#include "zeno/Strings.h"
#include "zeno/tests/TemporaryDirectory.h"

namespace {

class FileTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(directory.isCreated()); }

    // True when nobody else has the file open: an exclusive open for writing succeeds.
    static bool canOpenExclusively(const std::wstring& path) {
        const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return false;
        }
        CloseHandle(handle);
        return true;
    }

    static std::string bytesOf(const zeno::MappedFile& file) {
        return std::string(static_cast<const char*>(file.data()), static_cast<std::size_t>(file.size()));
    }

    zeno_test::TemporaryDirectory directory;
};

TEST_F(FileTest, MissingFileIsFileNotFoundWithCode2) {
    const std::wstring path = directory.file(L"missing.h");
    try {
        zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
        FAIL() << "no exception";
    } catch (const zeno::FileNotFoundException& e) {
        EXPECT_EQ(path, e.getMessage());
        EXPECT_EQ(2u, e.getErrorCode());
        EXPECT_EQ(L"class zeno::FileNotFoundException: " + path + L": 2", e.toString());
    }
}

TEST_F(FileTest, MissingDirectoryIsFileNotFoundWithCode3) {
    const std::wstring path = directory.file(L"no such folder\\ntstatus.h");
    try {
        zeno::openFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
        FAIL() << "no exception";
    } catch (const zeno::FileNotFoundException& e) {
        EXPECT_EQ(path, e.getMessage());
        EXPECT_EQ(3u, e.getErrorCode());
    }
}

TEST_F(FileTest, OtherOpenFailuresAreIOExceptionsNamingCreateFile) {
    const std::wstring path = directory.writeFile(L"exists.txt", "x");
    ASSERT_FALSE(path.empty());
    try {
        zeno::openFile(path, GENERIC_READ, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
        FAIL() << "no exception";
    } catch (const zeno::FileNotFoundException&) {
        FAIL() << "an existing file reported as not found";
    } catch (const zeno::IOException& e) {
        EXPECT_EQ(L"::CreateFile(" + path + L") failed", e.getMessage());
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_EXISTS), e.getErrorCode());
    }
}

TEST_F(FileTest, FileLockedByAnotherOpenIsRefusedWithThePlatformCode) {
    const std::wstring path = directory.writeFile(L"locked.h", "#define X 1L\r\n");
    ASSERT_FALSE(path.empty());
    // Another program writing the file and sharing nothing.
    zeno::Handle writer(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(writer.isOpen());
    try {
        zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
        FAIL() << "a locked file was opened";
    } catch (const zeno::FileNotFoundException&) {
        FAIL() << "a locked file reported as not found";
    } catch (const zeno::IOException& e) {
        EXPECT_EQ(L"::CreateFile(" + path + L") failed", e.getMessage());
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION), e.getErrorCode());
    }
    writer.close();
    EXPECT_NO_THROW(zeno::MappedFile(path, zeno::MappedFile::READ, zeno::nilString));
}

TEST_F(FileTest, ZeroLengthFileCannotBeMappedAndIsClosedAgain) {
    const std::wstring path = directory.writeFile(L"empty.h", "");
    ASSERT_FALSE(path.empty());
    try {
        zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
        FAIL() << "an empty file was mapped";
    } catch (const zeno::IOException& e) {
        EXPECT_EQ(L"::CreateFileMapping(" + path + L") failed", e.getMessage());
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_FILE_INVALID), e.getErrorCode());
    }
    // The constructor closed the file it had opened.
    EXPECT_TRUE(canOpenExclusively(path));
}

TEST_F(FileTest, WriteModeCreatesAMissingFileWhichIsEmptyAndCannotBeMapped) {
    const std::wstring path = directory.file(L"new.cfg");
    EXPECT_THROW(zeno::MappedFile(path, zeno::MappedFile::READ | zeno::MappedFile::WRITE, zeno::nilString),
                 zeno::IOException);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path.c_str()));
    EXPECT_TRUE(canOpenExclusively(path));
}

TEST_F(FileTest, MapsTheWholeFileForReadingAndSharesOnlyReading) {
    std::string content = "#define STATUS_WAIT_0 ((NTSTATUS)0x00000000L)\r\n";
    content += std::string("\0\x80\xFF", 3);
    const std::wstring path = directory.writeFile(L"ntstatus.h", content);
    ASSERT_FALSE(path.empty());

    zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
    EXPECT_EQ(content.size(), file.size());
    ASSERT_NE(nullptr, file.data());
    EXPECT_EQ(content, bytesOf(file));

    // While mapped, others may read but not write.
    const HANDLE reader = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(INVALID_HANDLE_VALUE, reader);
    CloseHandle(reader);
    EXPECT_FALSE(canOpenExclusively(path));

    file.close();
    EXPECT_EQ(nullptr, file.data());
    EXPECT_TRUE(canOpenExclusively(path));
    file.close();
}

TEST_F(FileTest, DestructorReleasesTheFile) {
    const std::wstring path = directory.writeFile(L"scoped.h", "abc");
    ASSERT_FALSE(path.empty());
    {
        zeno::MappedFile file(path, zeno::MappedFile::READ, zeno::nilString);
        EXPECT_FALSE(canOpenExclusively(path));
    }
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

TEST_F(FileTest, WriteModeChangesTheFile) {
    const std::wstring path = directory.writeFile(L"rw.bin", "abcdef");
    ASSERT_FALSE(path.empty());
    {
        zeno::MappedFile file(path, zeno::MappedFile::READ | zeno::MappedFile::WRITE, zeno::nilString);
        ASSERT_EQ(6u, file.size());
        std::memcpy(file.data(), "XY", 2);
    }
    zeno::MappedFile reread(path, zeno::MappedFile::READ, zeno::nilString);
    EXPECT_EQ("XYcdef", bytesOf(reread));
}

TEST_F(FileTest, NamedMappingCanBeOpenedByName) {
    const std::wstring path = directory.writeFile(L"named.h", "named");
    ASSERT_FALSE(path.empty());
    const std::wstring name = L"Local\\zeno-test-mapping-" + std::to_wstring(GetCurrentProcessId());
    zeno::MappedFile file(path, zeno::MappedFile::READ, name);
    zeno::Handle byName(OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
    EXPECT_TRUE(byName.isOpen());
    byName.close();
    file.close();
    EXPECT_EQ(nullptr, OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str()));
}

TEST(Handle, ClosesRealHandlesAndIgnoresEmptyOnes) {
    zeno::Handle none;
    EXPECT_FALSE(none.isOpen());
    EXPECT_NO_THROW(none.close());
    zeno::Handle invalid(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(invalid.isOpen());
    EXPECT_NO_THROW(invalid.close());

    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, event);
    zeno::Handle owner(event);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(event, &flags));
    owner.close();
    EXPECT_FALSE(owner.isOpen());
    EXPECT_FALSE(GetHandleInformation(event, &flags));
    EXPECT_NO_THROW(owner.close());
}

TEST(Handle, FailedCloseThrowsOnTheNormalPath) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, event);
    ASSERT_TRUE(CloseHandle(event));
    // The value no longer names a handle.
    zeno::Handle stale(event);
    try {
        stale.close();
        FAIL() << "closing a stale handle did not throw";
    } catch (const zeno::Exception& e) {
        EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6", e.toString());
    }
    EXPECT_FALSE(stale.isOpen());
}

TEST(Handle, MoveHandsTheHandleOver) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(nullptr, event);
    zeno::Handle first(event);
    zeno::Handle second(std::move(first));
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(event, second.get());
    zeno::Handle third;
    third = std::move(second);
    EXPECT_EQ(event, third.get());
    EXPECT_EQ(nullptr, second.get());
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(event, &flags));
    EXPECT_EQ(event, third.detach());
    EXPECT_TRUE(CloseHandle(event));
}

} // namespace
