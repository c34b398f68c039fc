#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

#include "zeno/FormatMessage.h"
#include "zeno/LocalBuffer.h"
#include "zeno/Strings.h"
#include "zeno/tests/SystemMessage.h"
#include "zeno/tests/Thrown.h"

// Derived classes outside zeno, like the application's and the toolkit's, named by their own type.
class GlobalTestException : public zeno::Exception {};
namespace outer::inner {
struct NestedTestException : zeno::IOException {
    NestedTestException() : zeno::IOException(L"nested", 5) {}
};
} // namespace outer::inner

namespace {

const std::uint32_t ACCESS_DENIED_HRESULT = 0x80070005u; // above 2^31, with a system text
const std::uint32_t UNKNOWN_CODE = 0xDEADBEEFu;          // in no message table

std::wstring printed(const zeno::Exception& e) {
    std::wostringstream out;
    e.print(out);
    return out.str();
}

TEST(ExceptionText, NamesTheDynamicClassThenMessageAndSignedCodeAndArgumentChecksThrowOnlyOutsideTheirRange) {
    using zeno_test::thrownText;
    int value = 0;
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {zeno::Exception().toString(), L"class zeno::Exception"},
        {zeno::Exception(L"::CloseHandle() failed", 6).toString(), L"class zeno::Exception: ::CloseHandle() failed: 6"},
        {zeno::Exception(L"", 0).toString(), L"class zeno::Exception: 0"},
        {zeno::Exception(zeno::nilString, 6).toString(), L"class zeno::Exception: 6"},
        {zeno::Exception(L"m", 0x80000000u).toString(), L"class zeno::Exception: m: -2147483648"},
        {GlobalTestException().toString(), L"class GlobalTestException"},
        // The name comes from the run-time type, also through a base reference.
        {thrownText([] { throw outer::inner::NestedTestException(); }), L"class outer::inner::NestedTestException: nested: 5"},
        {thrownText([] { throw zeno::FileNotFoundException(L"a.h", 3); }), L"class zeno::FileNotFoundException: a.h: 3"},
        {thrownText([] { zeno::checkNotNull(L"layout", nullptr); }), L"class zeno::NullPointerException: layout"},
        {thrownText([&value] { zeno::checkNotNull(L"layout", &value); }), L"(nothing thrown)"},
        {thrownText([] { zeno::checkIndex(L"index", 0, 3, 5); }),
         L"class zeno::IndexOutOfBoundsException: index: 5 (must be 0<=index<3)"},
        {thrownText([] { zeno::checkIndex(L"index", 0, 3, 3); }),
         L"class zeno::IndexOutOfBoundsException: index: 3 (must be 0<=index<3)"},
        {thrownText([] { zeno::checkIndex(L"row", -2, 2147483647, -2147483647 - 1); }),
         L"class zeno::IndexOutOfBoundsException: row: -2147483648 (must be -2<=row<2147483647)"},
        {thrownText([] { zeno::checkIndex(L"index", 0, 3, 2); }), L"(nothing thrown)"},
        {thrownText([] { zeno::checkIndex(L"index", -5, -4, -5); }), L"(nothing thrown)"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
}

TEST(ExceptionPrint, AddsTheUnsignedCodeAndTheSystemTextOrLetsTheLookupFailureEscapeBeforeWriting) {
    const zeno_test::SystemMessage invalidHandle = zeno_test::systemMessage(6);
    const zeno_test::SystemMessage accessDenied = zeno_test::systemMessage(ACCESS_DENIED_HRESULT);
    const zeno_test::SystemMessage unknown = zeno_test::systemMessage(UNKNOWN_CODE);
    ASSERT_TRUE(invalidHandle.found && accessDenied.found && !unknown.found);
    EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6 (" + invalidHandle.text + L")\n",
              printed(zeno::Exception(L"::CloseHandle() failed", 6)));
    EXPECT_EQ(L"class zeno::Exception: m: 2147942405 (" + accessDenied.text + L")\n",
              printed(zeno::Exception(L"m", ACCESS_DENIED_HRESULT)));
    EXPECT_EQ(L"class zeno::NumberFormatException: 12a\n", printed(zeno::NumberFormatException(L"12a")));

    const std::wstring failure = L"class zeno::Exception: ::FormatMessage() failed: " + std::to_wstring(unknown.lastError);
    std::wostringstream out;
    EXPECT_EQ(failure, zeno_test::thrownText([&out] { zeno::Exception(L"m", UNKNOWN_CODE).print(out); }));
    EXPECT_EQ(L"", out.str());
    std::wstring text = L"kept";
    EXPECT_EQ(failure, zeno_test::thrownText([&text] { zeno::formatMessage(UNKNOWN_CODE, text); }));
    zeno::formatMessage(6, text);
    EXPECT_EQ(L"kept" + invalidHandle.text, text);
}

TEST(LocalBuffer, ReleasesOnceAndReportsAFailedRelease) {
    zeno::LocalBuffer buffer(LocalAlloc(LMEM_FIXED, 16));
    EXPECT_NO_THROW(buffer.release());
    EXPECT_NO_THROW(buffer.release());
    // A pointer that LocalAlloc never returned cannot be freed.
    static char notLocalMemory[64];
    zeno::LocalBuffer foreign(notLocalMemory + 8);
    EXPECT_TRUE(zeno::startsWith(zeno_test::thrownText([&foreign] { foreign.release(); }),
                                 L"class zeno::Exception: ::LocalFree() failed: "));
    EXPECT_EQ(nullptr, foreign.get());
}

} // namespace
