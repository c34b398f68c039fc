#include "codes/ByteSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

// The sixteen-byte searches must stop where the bytewise ones do: on every kind of byte (blanks,
// line ends, '#', bytes above 0x7F) at every position of a block and across block boundaries.
TEST(ByteSearch, TheSse2SearchesStopWhereTheBytewiseOnesDo)
{
    const std::string alphabet = std::string("#\r\n \t\x01\x20\x21\x7F\x80\xFF\xA0", 12) + "AZ_09(x)";
    std::mt19937 random(7);
    for (int round = 0; round < 40; ++round) {
        // Runs of one kind of byte, so that some runs cross a block of sixteen and some stop inside.
        std::string text;
        while (text.size() < 100) {
            text.append(random() % 40, alphabet[random() % alphabet.size()]);
        }
        const char* const end = text.data() + text.size();
        for (const char* from = text.data(); from != end; ++from) {
            SCOPED_TRACE(::testing::Message() << "round " << round << ", offset " << from - text.data());
            EXPECT_EQ(ByteSearch::SSE2.findHash(from, end), ByteSearch::BYTEWISE.findHash(from, end));
            EXPECT_EQ(ByteSearch::SSE2.skipBlanks(from, end), ByteSearch::BYTEWISE.skipBlanks(from, end));
            EXPECT_EQ(ByteSearch::SSE2.findBlank(from, end), ByteSearch::BYTEWISE.findBlank(from, end));
        }
    }
}
