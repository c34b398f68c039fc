#include "codes/Configuration.h"

#include "zeno/Handle.h"
#include "zeno/tests/TemporaryDirectory.h"
#include "zeno/tests/Thrown.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

class Configuration : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isCreated()); }

    // The two paths read, as "NTSTATUS path|Win32 path", or what was thrown.
    static std::wstring read(const std::wstring& path)
    {
        std::wstring ntStatusPath, win32Path;
        const std::wstring thrown = zeno_test::outcome([&] { readConfiguration(path, ntStatusPath, win32Path); });
        return thrown == L"(nothing thrown)" ? ntStatusPath + L"|" + win32Path : thrown;
    }

    zeno_test::TemporaryDirectory folder;
    const std::wstring path = folder.file(L"kelvane.cfg");
};

TEST_F(Configuration, ReadsKeysExactlyFromTheFirstByteAtAnyLineEndAndTakesValuesVerbatim)
{
    const std::pair<std::string, std::wstring> cases[] = {
        {"ntstatus.h=C:\\n.h\nwinerror.h=C:\\w.h\n", L"C:\\n.h|C:\\w.h"},
        {"ntstatus.h=C:\\n.h\rwinerror.h=C:\\w.h", L"C:\\n.h|C:\\w.h"},
        {"winerror.h=C:\\w.h\r\n\r\nntstatus.h=C:\\n.h", L"C:\\n.h|C:\\w.h"},
        {"NTSTATUS.H=C:\\n.h\r\nwinerror.h =C:\\w.h\r\n", L"|"},
        {" ntstatus.h=C:\\n.h\r\n\twinerror.h=C:\\w.h\r\n", L"|"},
        {"# comment\r\nntstatus.h\r\nwinerror.h=C:\\w.h\r\ngarbage=1\r\n", L"|C:\\w.h"},
        {std::string("\0\xFF\x80 random", 10), L"|"},
        {"ntstatus.h=C:\\a\r\nntstatus.h=\\b.h\r\n", L"C:\\a\\b.h|"},
        {"ntstatus.h= C:\\n.h  \r\nwinerror.h=\"C:\\w.h\"\r\n", L" C:\\n.h  |\"C:\\w.h\""},
        {"ntstatus.h=x=y\r\nwinerror.h=ntstatus.h=z\r\n", L"x=y|ntstatus.h=z"},
        // Bytes that are no UTF-8 (8-bit text of another program, overlong or cut sequences) are sign-extended.
        {"ntstatus.h=C:\\Jos\xE9\\n.h\r\nwinerror.h=\x80\xC3(\xFF\r\n", L"C:\\Jos\xFFE9\\n.h|\xFF80\xFFC3(\xFFFF"},
        {"ntstatus.h=\xC0\xAF\nwinerror.h=\xE2\x82", L"\xFFC0\xFFAF|\xFFE2\xFF82"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, read(folder.writeFile(L"kelvane.cfg", testCase.first)))
            << testing::PrintToString(testCase.first);
    }
}

TEST_F(Configuration, WritesTwoKeyLinesWithCrLfReplacingTheFileReleasesItAndReadsThemBack)
{
    folder.writeFile(L"kelvane.cfg", std::string(1000, 'x'));
    const struct {
        std::wstring ntStatusPath;
        std::wstring win32Path;
        std::string bytes;
    } cases[] = {
        {L"C:\\sdk\\inc\\ntstatus.h", L"C:\\sdk\\inc\\winerror.h",
         "ntstatus.h=C:\\sdk\\inc\\ntstatus.h\r\nwinerror.h=C:\\sdk\\inc\\winerror.h\r\n"},
        {L"", L"", "ntstatus.h=\r\nwinerror.h=\r\n"},
        // Outside ASCII: UTF-8, a character outside the BMP, a lone surrogate and U+FFFF included.
        {L"C:\\Jos\u00E9\\\u958B\u767A\\n.h", L"D:\\\xD83D\xDE00\\\xDC00\xD800\\\xFFFF",
         "ntstatus.h=C:\\Jos\xC3\xA9\\\xE9\x96\x8B\xE7\x99\xBA\\n.h\r\n"
         "winerror.h=D:\\\xF0\x9F\x98\x80\\\xED\xB0\x80\xED\xA0\x80\\\xEF\xBF\xBF\r\n"},
    };
    for (const auto& testCase : cases) {
        writeConfiguration(testCase.ntStatusPath, testCase.win32Path, path);
        // Released at once: another program can open it exclusively.
        EXPECT_TRUE(zeno::Handle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)).isOpen());
        EXPECT_EQ(testCase.bytes, folder.readFile(L"kelvane.cfg"));
        EXPECT_EQ(testCase.ntStatusPath + L"|" + testCase.win32Path, read(path));
    }
}

TEST_F(Configuration, FailuresNameThePathAndCarryThePlatformCode)
{
    const std::wstring inMissingFolder = folder.file(L"missing\\kelvane.cfg");
    folder.writeFile(L"kelvane.cfg", "ntstatus.h=old\r\nwinerror.h=old\r\n");
    // Another program writing the file and sharing nothing.
    zeno::Handle other(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(other.isOpen());
    const std::pair<std::wstring, std::wstring> cases[] = {
        {read(folder.file(L"missing.cfg")), L"class zeno::FileNotFoundException: " + folder.file(L"missing.cfg") + L": 2"},
        {zeno_test::outcome([&] { writeConfiguration(L"a", L"b", inMissingFolder); }),
         L"class zeno::FileNotFoundException: " + inMissingFolder + L": 3"},
        // Reading fails as the header scanner's reading does (same file layer); a missing file is
        // told apart from every other failure.
        {read(path), L"class zeno::IOException: ::CreateFile(" + path + L") failed: 32"},
        {zeno_test::outcome([&] { writeConfiguration(L"new", L"new", path); }),
         L"class zeno::IOException: ::CreateFile(" + path + L") failed: 32"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
    other.close();
    EXPECT_EQ("ntstatus.h=old\r\nwinerror.h=old\r\n", folder.readFile(L"kelvane.cfg"));
}

// Wine shows the Unix root as drive Z:, and Linux's /dev/full opens but refuses every write (112).
TEST(ConfigurationWriting, AFailedWriteNamesThePath)
{
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr) {
        GTEST_SKIP() << "needs a device that refuses writes, as Linux's /dev/full under Wine";
    }
    EXPECT_EQ(L"class zeno::IOException: failed to write to Z:\\dev\\full: 112",
              zeno_test::outcome([] { writeConfiguration(L"C:\\n.h", L"C:\\w.h", L"Z:\\dev\\full"); }));
}

} // namespace
