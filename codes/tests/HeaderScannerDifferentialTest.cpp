#include "codes/ByteSpan.h"
#include "codes/CodeExceptions.h"
#include "codes/CodeTable.h"
#include "codes/HeaderScanner.h"

#include "zeno/Exception.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// The scanner as first written, kept as the reference for the fast one: it cuts every line and
// the first three tokens of each, and fills two ordered maps the way the table promises to.
struct Shape {
    void (*scan)(CodeTable&, const std::wstring&);
    std::wstring_view namePrefix;
    std::wstring_view valuePrefix;
    std::wstring_view valueSuffix;
    std::uint32_t (ByteSpan::*parseDigits)() const;
    const wchar_t* logLabel;
    const wchar_t* sample;
    bool firstDefinitionWins; // within one header: its later lines for a name are passed over
};

const Shape SHAPES[] = {
    {scanNtStatusHeader, L"STATUS_", L"((NTSTATUS)0x", L"L)", &ByteSpan::parseHex, L"NTSTATUS loaded ", L"/ntstatus.h", false},
    {scanWin32ErrorHeader, L"ERROR_", L"", L"L", &ByteSpan::parseDecimal, L"Win32 Error Code loaded ", L"/winerror.h", false},
    {scanHResultHeader, L"", L"_HRESULT_TYPEDEF_(0x", L"L)", &ByteSpan::parseHex, L"HRESULT loaded ", L"/winerror.h", true},
};

struct ReferenceTable {
    std::map<std::uint32_t, std::wstring> byValue;
    std::map<std::wstring, std::uint32_t> byName;
    std::set<std::wstring> candidates; // every second token with the name prefix: what a faulty scanner could take
};

void referenceScan(ReferenceTable& table, const std::string& text, const Shape& shape)
{
    ByteSpan bytes(text.data(), static_cast<std::uint32_t>(text.size()));
    ByteSpan line;
    ByteSpan token;
    ByteSpan name;
    std::set<std::wstring> defined;
    while (bytes.nextLine(line)) {
        const bool defines = line.nextToken(token) && token.equals(L"#define");
        if (!line.nextToken(name) || !name.startsWith(shape.namePrefix)) {
            continue;
        }
        std::wstring wideName;
        name.appendTo(wideName);
        table.candidates.insert(wideName);
        if (!defines || !line.nextToken(token) || token.size() < shape.valuePrefix.size() + shape.valueSuffix.size()
            || !token.startsWith(shape.valuePrefix) || !token.endsWith(shape.valueSuffix)) {
            continue;
        }
        std::uint32_t value;
        try {
            value = (token.middle(static_cast<std::uint32_t>(shape.valuePrefix.size()),
                                  static_cast<std::uint32_t>(shape.valueSuffix.size())).*shape.parseDigits)();
        } catch (const zeno::NumberFormatException&) {
            continue;
        }
        if (!defined.insert(wideName).second && shape.firstDefinitionWins) {
            continue;
        }
        table.byName[wideName] = value;
        table.byValue[value] = wideName;
    }
}

// Header texts made of real lines of a sample header, most of them definitions, each mutated
// in one of many small ways, joined by one kind of line end or a mix of all.
class HeaderTexts {
public:
    explicit HeaderTexts(const std::string& sample) : random(13)
    {
        ByteSpan bytes(sample.data(), static_cast<std::uint32_t>(sample.size()));
        ByteSpan line;
        while (bytes.nextLine(line)) {
            const std::string text(line.data(), line.size());
            if (!text.empty()) {
                (text.find("#define") != std::string::npos ? definitions : others).push_back(text);
            }
        }
    }

    bool usable() const { return definitions.size() > 10 && !others.empty(); }

    std::string next()
    {
        static const char* const LINE_ENDS[] = {"\n", "\r", "\r\n", "\n\r"};
        const std::uint32_t style = pick(5); // 4: every line its own
        std::string text;
        const std::uint32_t count = 1 + pick(160);
        for (std::uint32_t i = 0; i < count; ++i) {
            text += mutated(pick(4) != 0 ? definitions[pick(definitions.size())] : others[pick(others.size())]);
            if (i + 1 < count || pick(3) != 0) {
                text += LINE_ENDS[style < 4 ? style : pick(4)];
            }
        }
        return text;
    }

private:
    std::uint32_t pick(std::size_t bound) { return static_cast<std::uint32_t>(random() % bound); }

    char oddByte()
    {
        static const char ODD[] = {' ', '\t', '#', '\0', '\x80', '\xA0', '\xFF', 'L', ')', '(', 'x', 'X',
                                   '0', '9', 'f', 'G', '\x01', '\x7F', '_', '\v', '\f', '\r', '\n'};
        return pick(4) == 0 ? static_cast<char>(pick(256)) : ODD[pick(sizeof ODD)];
    }

    std::string mutated(std::string line)
    {
        const std::size_t at = pick(line.size() + 1);
        switch (pick(10)) {
        case 0:
        case 1:
            break;
        case 2:
            if (at < line.size()) {
                line[at] = oddByte();
            }
            break;
        case 3:
            line.insert(at, 1, oddByte());
            break;
        case 4:
            line.erase(at, 1 + pick(3));
            break;
        case 5:
            line.resize(at);
            break;
        case 6:
            line.insert(0, std::string(1 + pick(3), "\t \xA0\0\x85"[pick(5)]));
            break;
        case 7: // the name of another definition: names and values meet again
            line = definitions[pick(definitions.size())].substr(0, line.find(' ', 8)) + " "
                   + line.substr(std::min(line.size(), line.find_last_of(' ') + 1));
            break;
        case 8:
            line.insert(at, "#define");
            break;
        default:
            line = "#" + line.substr(std::min(at, line.size()));
            break;
        }
        return line;
    }

    std::mt19937 random;
    std::vector<std::string> definitions;
    std::vector<std::string> others;
};

using Entries = std::vector<std::pair<std::uint32_t, std::wstring>>;

// Pairs of generated texts scanned one after the other into the same table, by the scanner and
// by the reference: the same entries, the same names, the same debug lines.
TEST(HeaderScannerDifferential, AgreesWithTheLineByLineScannerOnMutatedSampleLines)
{
    zeno_test::TemporaryDirectory folder;
    ASSERT_TRUE(folder.isCreated());
    for (const Shape& shape : SHAPES) {
        std::ifstream sample(std::filesystem::path(KELVANE_SAMPLE_DIR + std::wstring(shape.sample)), std::ios::binary);
        HeaderTexts texts(std::string{std::istreambuf_iterator<char>(sample), std::istreambuf_iterator<char>()});
        ASSERT_TRUE(texts.usable());
        for (int round = 0; round < 30; ++round) {
            CodeTable table;
            ReferenceTable reference;
            zeno_test::DebugOutputCapture debugOutput;
            std::vector<std::wstring> expectedOutput;
            std::string pair[2] = {texts.next(), texts.next()};
            for (const std::string& text : pair) {
                if (text.empty()) {
                    continue;
                }
                shape.scan(table, folder.writeFile(L"header.h", text));
                referenceScan(reference, text, shape);
                expectedOutput.push_back(shape.logLabel + std::to_wstring(reference.byValue.size()) + L" entries\n");
            }
            ASSERT_EQ(Entries(reference.byValue.begin(), reference.byValue.end()), Entries(table.begin(), table.end()))
                << testing::PrintToString(pair);
            for (const std::wstring& candidate : reference.candidates) {
                auto found = reference.byName.find(candidate);
                if (found == reference.byName.end()) {
                    ASSERT_THROW(table.valueOf(candidate), EntryNotFoundException) << testing::PrintToString(pair);
                } else {
                    ASSERT_EQ(found->second, table.valueOf(candidate)) << testing::PrintToString(pair);
                }
            }
            ASSERT_EQ(expectedOutput, debugOutput.outputs()) << testing::PrintToString(pair);
        }
    }
}

} // namespace
