#include "codes/ByteSpan.h"
#include "codes/CodeTable.h"
#include "codes/HeaderScanner.h"

#include "zeno/Exception.h"
#include "zeno/MappedFile.h"
#include "zeno/Strings.h"
#include "zeno/tests/DebugOutputCapture.h"
#include "zeno/tests/TemporaryDirectory.h"
#include "zeno/tests/Thrown.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

struct Shape {
    void (*scan)(CodeTable&, const std::wstring&);
    std::wstring_view namePrefix, valuePrefix, valueSuffix;
    std::uint32_t (ByteSpan::*parseDigits)() const;
    const wchar_t* logLabel;
    const wchar_t* sample;
};

const Shape SHAPES[] = {
    {scanNtStatusHeader, L"STATUS_", L"((NTSTATUS)0x", L"L)", &ByteSpan::parseHex, L"NTSTATUS loaded ", L"/ntstatus.h"},
    {scanWin32ErrorHeader, L"ERROR_", L"", L"L", &ByteSpan::parseDecimal, L"Win32 Error Code loaded ", L"/winerror.h"},
};

// The scanner as first written, kept as the reference for the fast one: it cuts every line and
// the first three tokens of each, and fills two ordered maps the way the table promises to:
// the entries, and every second token with the name prefix (what a faulty scanner could take)
// with what valueOf gives for it.
void referenceScan(std::map<std::uint32_t, std::wstring>& byValue, std::map<std::wstring, std::wstring>& names,
                   const std::string& text, const Shape& shape)
{
    ByteSpan bytes(text.data(), static_cast<std::uint32_t>(text.size()));
    ByteSpan line, token, name;
    while (bytes.nextLine(line)) {
        const bool defines = line.nextToken(token) && token.equals(L"#define");
        if (!line.nextToken(name) || !name.startsWith(shape.namePrefix)) {
            continue;
        }
        std::wstring wideName;
        name.appendTo(wideName);
        names.emplace(wideName, L"class EntryNotFoundException");
        if (!defines || !line.nextToken(token) || token.size() < shape.valuePrefix.size() + shape.valueSuffix.size()
            || !token.startsWith(shape.valuePrefix) || !token.endsWith(shape.valueSuffix)) {
            continue;
        }
        std::uint32_t value = 0;
        try {
            value = (token.middle(static_cast<std::uint32_t>(shape.valuePrefix.size()),
                                  static_cast<std::uint32_t>(shape.valueSuffix.size())).*shape.parseDigits)();
        } catch (const zeno::NumberFormatException&) {
            continue;
        }
        names[wideName] = std::to_wstring(value);
        byValue[value] = wideName;
    }
}

// Header texts made of real lines of a sample header, most of them definitions, each mutated
// in one of many small ways, joined by one kind of line end or a mix of all.
struct HeaderTexts {
    explicit HeaderTexts(const std::wstring& sample) : random(13)
    {
        zeno::MappedFile file(sample, zeno::MappedFile::READ, zeno::nilString);
        ByteSpan bytes(file.data(), static_cast<std::uint32_t>(file.size()));
        for (ByteSpan line; bytes.nextLine(line);) {
            const std::string text(line.data(), line.size());
            if (!text.empty()) {
                (text.find("#define") != std::string::npos ? definitions : others).push_back(text);
            }
        }
    }

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

    std::uint32_t pick(std::size_t bound) { return static_cast<std::uint32_t>(random() % bound); }

    char oddByte()
    {
        static const char ODD[] = " \t#\0\x80\xA0\xFF" "L)(xX09fG\x01\x7F_\v\f\r\n";
        return pick(4) == 0 ? static_cast<char>(pick(256)) : ODD[pick(sizeof ODD - 1)];
    }

    std::string mutated(std::string line)
    {
        const std::size_t at = pick(line.size() + 1);
        switch (pick(10)) {
        case 0: case 1: return line;
        case 2: return at < line.size() ? line.replace(at, 1, 1, oddByte()) : line;
        case 3: return line.insert(at, 1, oddByte());
        case 4: return line.erase(at, 1 + pick(3));
        case 5: return line.erase(at);
        case 6: return line.insert(0, std::string(1 + pick(3), "\t \xA0\0\x85"[pick(5)]));
        // The name of another definition: names and values meet again.
        case 7: return definitions[pick(definitions.size())].substr(0, line.find(' ', 8)) + " "
                       + line.substr(std::min(line.size(), line.find_last_of(' ') + 1));
        case 8: return line.insert(at, "#define");
        default: return "#" + line.substr(std::min(at, line.size()));
        }
    }

    std::mt19937 random;
    std::vector<std::string> definitions, others;
};

using Entries = std::vector<std::pair<std::uint32_t, std::wstring>>;

// The table has the reference's entries, and finds what the reference finds by name and by value.
void expectAsReference(const CodeTable& table, const std::map<std::uint32_t, std::wstring>& byValue,
                       const std::map<std::wstring, std::wstring>& names)
{
    ASSERT_EQ(Entries(byValue.begin(), byValue.end()), Entries(table.begin(), table.end()));
    std::map<std::wstring, std::wstring> foundNames = names;
    for (auto& entry : foundNames) {
        entry.second = zeno_test::outcome([&] { return table.valueOf(entry.first); });
    }
    ASSERT_EQ(names, foundNames);
    std::map<std::uint32_t, std::wstring> foundValues = byValue;
    for (auto& entry : foundValues) {
        entry.second = zeno_test::outcome([&] { return table.nameOf(entry.first); });
    }
    ASSERT_EQ(byValue, foundValues);
}

// Pairs of generated texts scanned one after the other into the same table, by the scanner and
// by the reference: the same entries, the same names, the same debug lines.
TEST(HeaderScannerDifferential, AgreesWithTheLineByLineScannerOnMutatedSampleLines)
{
    zeno_test::TemporaryDirectory folder;
    ASSERT_TRUE(folder.isCreated());
    for (const Shape& shape : SHAPES) {
        HeaderTexts texts(KELVANE_SAMPLE_DIR + std::wstring(shape.sample));
        ASSERT_TRUE(texts.definitions.size() > 10 && !texts.others.empty());
        for (int round = 0; round < 30; ++round) {
            CodeTable table;
            std::map<std::uint32_t, std::wstring> byValue;
            std::map<std::wstring, std::wstring> names;
            zeno_test::DebugOutputCapture debugOutput;
            std::vector<std::wstring> expectedOutput;
            const std::string pair[2] = {texts.next(), texts.next()};
            for (const std::string& text : pair) {
                if (!text.empty()) {
                    shape.scan(table, folder.writeFile(L"header.h", text));
                    referenceScan(byValue, names, text, shape);
                    expectedOutput.push_back(shape.logLabel + std::to_wstring(byValue.size()) + L" entries\n");
                }
            }
            SCOPED_TRACE(testing::PrintToString(pair));
            ASSERT_NO_FATAL_FAILURE(expectAsReference(table, byValue, names));
            ASSERT_EQ(expectedOutput, debugOutput.outputs());
        }
    }
}

// Past the first index sizes (4,096 names or values) the batch's indexes and the table's name
// index are rebuilt larger, and the names fill many blocks: an SDK-size ntstatus.h (2,700 names)
// scanned twice and 10,000 definitions, in both orders. The last 1,000 definitions meet earlier
// values, the last 500 earlier names (not the first, which a skipped entry of a grown index
// would lose), after the batch's indexes have grown.
TEST(HeaderScannerDifferential, FindsEveryNameAndValueOfTablesPastTheFirstIndexSize)
{
    zeno_test::TemporaryDirectory folder;
    std::string large;
    for (std::uint32_t i = 0; i < 10000; ++i) {
        char line[80];
        std::snprintf(line, sizeof line, "#define STATUS_GENERATED_%u ((NTSTATUS)0x%08XL)\r\n", i < 9500 ? i : i - 9000,
                      0xBFFFF000u + 3 * (i % 9000));
        large += line;
    }
    zeno::MappedFile sdk(KELVANE_SDK_SIZE_DIR L"/ntstatus.h", zeno::MappedFile::READ, zeno::nilString);
    const std::pair<std::wstring, std::string> headers[] = {
        {KELVANE_SDK_SIZE_DIR L"/ntstatus.h", std::string(static_cast<const char*>(sdk.data()), sdk.size())},
        {folder.writeFile(L"large.h", large), large}};
    for (const auto& order : {std::vector<int>{0, 0, 1}, std::vector<int>{1, 0, 0}}) {
        SCOPED_TRACE(testing::PrintToString(order));
        CodeTable table;
        std::map<std::uint32_t, std::wstring> byValue;
        std::map<std::wstring, std::wstring> names;
        for (const int header : order) {
            scanNtStatusHeader(table, headers[header].first);
            referenceScan(byValue, names, headers[header].second, SHAPES[0]);
        }
        ASSERT_GT(names.size(), 8192u);
        ASSERT_NO_FATAL_FAILURE(expectAsReference(table, byValue, names));
    }
}

} // namespace
