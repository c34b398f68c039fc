// Codes picked out of free text: one log holding every form and near miss, one table of what must
// come out, read whole, in pieces of every size (tokens and line ends cut anywhere) and from files
// in each encoding.
#include "cli/LogScanner.h"
#include "cli/TextInput.h"

#include "zeno/tests/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

// Lines end in CR LF, LF and a lone CR; the last has no line end.
const std::string LOG =
    "STATUS_ACCESS_VIOLATION at the start\r\n"                                     // 1
    "hr=0x80070005, again 0X80070005 and 0x alone\n"                               // 2
    "C0000409 c0000135 DEADBEEF0 12345678 BAD\r"                                   // 3
    "exited with code -1073741790 at 2026-12-07 15:50:29\n"                        // 4
    "failed with error 5; exit code: 1722; Status=3; returned #87; error, 9\n"     // 5
    "-2147483648 -2147483649 x-5 --7 code:: 11 code 12b\n"                         // 6
    "6 lines, 42 files, took 2147483647 ms; 2147483648 4294967295 4294967296 0xFFFFFFFF 0x100000000\n"  // 7
    "error\r\n"                                                                    // 8
    "77 ERROR_ACCESS_\r\n"                                                         // 9
    "DENIED STATUS_ACCESS_VIOLATIONS e_fail E_FAIL";                               // 10

using Found = std::tuple<std::uint32_t, std::uint64_t, std::string>;

const std::vector<Found> EXPECTED = {
    {0xC0000005, 1, "STATUS_ACCESS_VIOLATION"},
    {0x80070005, 2, "0x80070005"},
    {0xC0000409, 3, "C0000409"},
    {0xC0000135, 3, "c0000135"},
    {0xC0000022, 4, "-1073741790"},
    {5, 5, "5"},
    {1722, 5, "1722"},
    {3, 5, "3"},
    {87, 5, "87"},
    {0x80000000, 6, "-2147483648"},
    {0xFFFFFFF9, 6, "-7"},
    {0xFFFFFFFF, 7, "4294967295"},
    {0x80004005, 10, "E_FAIL"},
};

LogScanner scannerWithNames()
{
    LogScanner scanner;
    scanner.addName("STATUS_ACCESS_VIOLATION", 0xC0000005);
    scanner.addName("ERROR_ACCESS_DENIED", 5);
    scanner.addName("E_FAIL", 0x80004005);
    return scanner;
}

std::vector<Found> found(const LogScanner& scanner)
{
    std::vector<Found> result;
    for (const LogScanner::Found& code : scanner.found()) {
        result.emplace_back(code.value, code.line, code.token);
    }
    return result;
}

} // namespace

TEST(LogScannerTest, PicksEachFormOnceWhereverThePiecesEnd)
{
    for (std::size_t piece : {LOG.size(), std::size_t(1), std::size_t(2), std::size_t(3), std::size_t(7), std::size_t(64)}) {
        LogScanner scanner = scannerWithNames();
        for (std::size_t at = 0; at < LOG.size(); at += piece) {
            scanner.feed(LOG.data() + at, std::min(piece, LOG.size() - at));
        }
        scanner.finish();
        EXPECT_EQ(EXPECTED, found(scanner)) << "pieces of " << piece;
    }
}

TEST(LogScannerTest, ReadsFilesInEachEncodingAndSurvivesBinaryAndEndlessTokens)
{
    zeno_test::TemporaryDirectory folder;
    ASSERT_TRUE(folder.isCreated());
    std::string little = "\xFF\xFE", big = "\xFE\xFF";
    for (char byte : LOG) {
        little += std::string{byte, '\0'};
        big += std::string{'\0', byte};
    }
    // A letter beyond ASCII between two tokens separates them like a blank.
    little += std::string("\xE9\x00" "0\x00x\x00" "1\x00", 8);
    big += std::string("\x00\xE9\x00" "0\x00x\x00" "1", 8);
    std::vector<Found> expected = EXPECTED;
    expected.emplace_back(1, 10, "0x1");
    for (const auto& file : {std::make_pair(L"utf16le.log", little), std::make_pair(L"utf16be.log", big),
                             std::make_pair(L"utf8.log", "\xEF\xBB\xBF" + LOG + "\xC3\xA9" "0x1")}) {
        LogScanner scanner = scannerWithNames();
        scanText(folder.writeFile(file.first, file.second), scanner);
        EXPECT_EQ(expected, found(scanner)) << std::string(file.first, file.first + wcslen(file.first));
    }

    std::string binary;
    for (int i = 0; i < 200000; ++i) {
        binary += static_cast<char>(i % 2 == 0 ? 0x80 + i % 128 : i % 32);
    }
    LogScanner binaryScanner = scannerWithNames();
    scanText(folder.writeFile(L"binary.log", binary), binaryScanner);
    EXPECT_TRUE(binaryScanner.found().empty());

    // A token of three megabytes, cut by every piece that the reader takes, is none.
    LogScanner longScanner = scannerWithNames();
    scanText(folder.writeFile(L"long.log", std::string(3 << 20, 'A') + " 0x5\n" + std::string(3 << 20, '7')), longScanner);
    EXPECT_EQ((std::vector<Found>{{5, 1, "0x5"}}), found(longScanner));
}
