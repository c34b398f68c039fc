#include "codes/Configuration.h"

#include "zeno/tests/TemporaryDirectory.h"

#include "Failure.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

class Configuration : public testing::Test {
protected:
    zeno_test::TemporaryDirectory folder;

    void SetUp() override { ASSERT_TRUE(folder.isCreated()); }

    // The two paths read from a configuration file with these bytes.
    std::pair<std::wstring, std::wstring> read(const std::string& bytes)
    {
        std::wstring path = folder.writeFile(L"kelvane.cfg", bytes);
        EXPECT_FALSE(path.empty());
        return readBack(path);
    }

    static std::pair<std::wstring, std::wstring> readBack(const std::wstring& path)
    {
        std::wstring ntStatusPath;
        std::wstring win32Path;
        readConfiguration(path, ntStatusPath, win32Path);
        return {ntStatusPath, win32Path};
    }
};

using Paths = std::pair<std::wstring, std::wstring>;

TEST_F(Configuration, WritesTwoKeyLinesWithCrLfAndReadsThemBack)
{
    std::wstring path = folder.file(L"kelvane.cfg");
    writeConfiguration(L"C:\\sdk\\inc\\ntstatus.h", L"C:\\sdk\\inc\\winerror.h", path);
    EXPECT_EQ("ntstatus.h=C:\\sdk\\inc\\ntstatus.h\r\nwinerror.h=C:\\sdk\\inc\\winerror.h\r\n", readBytes(path));
    EXPECT_EQ(Paths(L"C:\\sdk\\inc\\ntstatus.h", L"C:\\sdk\\inc\\winerror.h"), readBack(path));
}

TEST_F(Configuration, WritingReplacesTheWholeFile)
{
    std::wstring path = folder.writeFile(L"kelvane.cfg", std::string(1000, 'x'));
    writeConfiguration(L"a", L"b", path);
    EXPECT_EQ("ntstatus.h=a\r\nwinerror.h=b\r\n", readBytes(path));
}

TEST_F(Configuration, EmptyFieldsGiveTheKeysWithEmptyValues)
{
    std::wstring path = folder.file(L"kelvane.cfg");
    writeConfiguration(L"", L"", path);
    EXPECT_EQ("ntstatus.h=\r\nwinerror.h=\r\n", readBytes(path));
    EXPECT_EQ(Paths(L"", L""), readBack(path));
}

TEST_F(Configuration, ReadsLfOnlyAndAMissingFinalLineEndAlike)
{
    EXPECT_EQ(Paths(L"C:\\n.h", L"C:\\w.h"), read("ntstatus.h=C:\\n.h\nwinerror.h=C:\\w.h\n"));
    EXPECT_EQ(Paths(L"C:\\n.h", L"C:\\w.h"), read("ntstatus.h=C:\\n.h\rwinerror.h=C:\\w.h"));
    EXPECT_EQ(Paths(L"C:\\n.h", L"C:\\w.h"), read("winerror.h=C:\\w.h\r\n\r\nntstatus.h=C:\\n.h"));
}

TEST_F(Configuration, KeysMatchExactlyFromTheFirstByte)
{
    EXPECT_EQ(Paths(L"", L""), read("NTSTATUS.H=C:\\n.h\r\nwinerror.h =C:\\w.h\r\n"));
    EXPECT_EQ(Paths(L"", L""), read(" ntstatus.h=C:\\n.h\r\n\twinerror.h=C:\\w.h\r\n"));
    EXPECT_EQ(Paths(L"", L"C:\\w.h"), read("# comment\r\nntstatus.h\r\nwinerror.h=C:\\w.h\r\ngarbage=1\r\n"));
    EXPECT_EQ(Paths(L"", L""), read(std::string("\0\xFF\x80 random", 10)));
}

TEST_F(Configuration, TakesValuesVerbatimAndConcatenatesRepeatedKeys)
{
    EXPECT_EQ(Paths(L"C:\\a\\b.h", L""), read("ntstatus.h=C:\\a\r\nntstatus.h=\\b.h\r\n"));
    EXPECT_EQ(Paths(L" C:\\n.h  ", L"\"C:\\w.h\""), read("ntstatus.h= C:\\n.h  \r\nwinerror.h=\"C:\\w.h\"\r\n"));
    EXPECT_EQ(Paths(L"x=y", L"ntstatus.h=z"), read("ntstatus.h=x=y\r\nwinerror.h=ntstatus.h=z\r\n"));
}

TEST_F(Configuration, NonAsciiPathsComeBackUnchanged)
{
    const std::wstring ntStatusPath = L"C:\\Users\\Jos\u00E9\\\u958B\u767A\\ntstatus.h";
    // A character outside the BMP (a surrogate pair), a lone surrogate and U+FFFF.
    const std::wstring win32Path = L"D:\\\xD83D\xDE00\\\xDC00\xD800\\\xFFFF\\winerror.h";
    std::wstring path = folder.file(L"kelvane.cfg");
    writeConfiguration(ntStatusPath, win32Path, path);
    EXPECT_EQ("ntstatus.h=C:\\Users\\Jos\xC3\xA9\\\xE9\x96\x8B\xE7\x99\xBA\\ntstatus.h\r\n"
              "winerror.h=D:\\\xF0\x9F\x98\x80\\\xED\xB0\x80\xED\xA0\x80\\\xEF\xBF\xBF\\winerror.h\r\n",
              readBytes(path));
    EXPECT_EQ(Paths(ntStatusPath, win32Path), readBack(path));
}

TEST_F(Configuration, BytesThatAreNotUtf8AreWidenedBySignExtension)
{
    // As a file with 8-bit characters from another program would have them.
    EXPECT_EQ(Paths(L"C:\\Jos\xFFE9\\n.h", L"\xFF80\xFFC3(\xFFFF"), read("ntstatus.h=C:\\Jos\xE9\\n.h\r\nwinerror.h=\x80\xC3(\xFF\r\n"));
    // Overlong and truncated sequences are no UTF-8 either.
    EXPECT_EQ(Paths(L"\xFFC0\xFFAF", L"\xFFE2\xFF82"), read("ntstatus.h=\xC0\xAF\nwinerror.h=\xE2\x82"));
}

TEST_F(Configuration, MissingFileIsFileNotFound)
{
    std::wstring path = folder.file(L"kelvane.cfg");
    Failure failure = failureOf([&] { readBack(path); });
    EXPECT_EQ(L"zeno::FileNotFoundException", failure.className);
    EXPECT_EQ(path, failure.message);
    EXPECT_EQ(2u, failure.errorCode);
}

TEST_F(Configuration, MissingFolderIsFileNotFoundWithCode3ForReadingAndWriting)
{
    std::wstring path = folder.file(L"missing\\kelvane.cfg");
    Failure reading = failureOf([&] { readBack(path); });
    EXPECT_EQ(L"zeno::FileNotFoundException", reading.className);
    EXPECT_EQ(path, reading.message);
    EXPECT_EQ(3u, reading.errorCode);
    Failure writing = failureOf([&] { writeConfiguration(L"a", L"b", path); });
    EXPECT_EQ(L"zeno::FileNotFoundException", writing.className);
    EXPECT_EQ(path, writing.message);
    EXPECT_EQ(3u, writing.errorCode);
}

TEST_F(Configuration, ZeroLengthFileCannotBeMapped)
{
    std::wstring path = folder.writeFile(L"kelvane.cfg", "");
    Failure failure = failureOf([&] { readBack(path); });
    EXPECT_EQ(L"zeno::IOException", failure.className);
    EXPECT_EQ(L"::CreateFileMapping(" + path + L") failed", failure.message);
    EXPECT_NE(zeno::Exception::NO_ERROR_CODE, failure.errorCode);
    EXPECT_NE(0u, failure.errorCode);
}

TEST_F(Configuration, FileOpenedElsewhereWithoutSharingCanBeNeitherReadNorWritten)
{
    std::wstring path = folder.writeFile(L"kelvane.cfg", "ntstatus.h=old\r\nwinerror.h=old\r\n");
    {
        ExclusiveOpen other(path);
        Failure reading = failureOf([&] { readBack(path); });
        EXPECT_EQ(L"zeno::IOException", reading.className);
        EXPECT_EQ(L"::CreateFile(" + path + L") failed", reading.message);
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION), reading.errorCode);
        Failure writing = failureOf([&] { writeConfiguration(L"new", L"new", path); });
        EXPECT_EQ(L"zeno::IOException", writing.className);
        EXPECT_EQ(L"::CreateFile(" + path + L") failed", writing.message);
        EXPECT_EQ(static_cast<std::uint32_t>(ERROR_SHARING_VIOLATION), writing.errorCode);
    }
    EXPECT_EQ("ntstatus.h=old\r\nwinerror.h=old\r\n", readBytes(path));
}

TEST_F(Configuration, TheWrittenFileIsReleasedAtOnce)
{
    std::wstring path = folder.file(L"kelvane.cfg");
    writeConfiguration(L"a", L"b", path);
    ExclusiveOpen other(path);
}

} // namespace

namespace {

bool runsUnderWine()
{
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// Wine shows the Unix root as drive Z:, and Linux's /dev/full opens but refuses every write.
TEST(ConfigurationWriting, AFailedWriteNamesThePath)
{
    if (!runsUnderWine()) {
        GTEST_SKIP() << "needs a device that refuses writes, as Linux's /dev/full under Wine";
    }
    const std::wstring path = L"Z:\\dev\\full";
    Failure failure = failureOf([&] { writeConfiguration(L"C:\\n.h", L"C:\\w.h", path); });
    EXPECT_EQ(L"zeno::IOException", failure.className);
    EXPECT_EQ(L"failed to write to " + path, failure.message);
    EXPECT_EQ(static_cast<std::uint32_t>(ERROR_DISK_FULL), failure.errorCode);
}

} // namespace
