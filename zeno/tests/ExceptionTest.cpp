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
class NestedTestException : public zeno::IOException {
public:
    NestedTestException() : zeno::IOException(L"nested", 5) {}
};
} // namespace outer::inner

namespace {

class LocalTestException : public zeno::Exception {};

const std::uint32_t NONE = zeno::Exception::NO_ERROR_CODE;
// E_ACCESSDENIED: a code above 2^31 that the system has a text for.
const std::uint32_t ACCESS_DENIED_HRESULT = 0x80070005u;
// No message table has this one.
const std::uint32_t UNKNOWN_CODE = 0xDEADBEEFu;

std::wstring printed(const zeno::Exception& e) {
    std::wostringstream out;
    e.print(out);
    return out.str();
}

TEST(ExceptionToString, NamesTheDynamicClassThenMessageAndSignedCode) {
    const std::pair<std::wstring, const wchar_t*> cases[] = {
        {zeno::Exception().toString(), L"class zeno::Exception"},
        {zeno::Exception(L"::CloseHandle() failed", 6).toString(),
         L"class zeno::Exception: ::CloseHandle() failed: 6"},
        {zeno::Exception(L"", 0).toString(), L"class zeno::Exception: 0"},
        {zeno::Exception(zeno::nilString, 6).toString(), L"class zeno::Exception: 6"},
        {zeno::Exception(zeno::nilString, NONE).toString(), L"class zeno::Exception"},
        {zeno::Exception(L"m", 0x80000000u).toString(), L"class zeno::Exception: m: -2147483648"},
        {zeno::FileNotFoundException(L"C:\\x.h", 2).toString(),
         L"class zeno::FileNotFoundException: C:\\x.h: 2"},
        {zeno::IllegalStateException().toString(), L"class zeno::IllegalStateException"},
        {zeno::IndexOutOfBoundsException(L"index", 0, 3, 5).toString(),
         L"class zeno::IndexOutOfBoundsException: index: 5 (must be 0<=index<3)"},
        {GlobalTestException().toString(), L"class GlobalTestException"},
        {outer::inner::NestedTestException().toString(),
         L"class outer::inner::NestedTestException: nested: 5"},
        {LocalTestException().toString(), L"class (anonymous namespace)::LocalTestException"},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.second, testCase.first);
    }
    // The name comes from the run-time type, also through a base reference.
    EXPECT_EQ(L"class zeno::FileNotFoundException: a.h: 3",
              zeno_test::thrownText([] { throw zeno::FileNotFoundException(L"a.h", 3); }));
}

TEST(ExceptionPrint, AddsTheUnsignedCodeAndTheSystemText) {
    const zeno_test::SystemMessage invalidHandle = zeno_test::systemMessage(6);
    const zeno_test::SystemMessage accessDenied = zeno_test::systemMessage(ACCESS_DENIED_HRESULT);
    ASSERT_TRUE(invalidHandle.found && accessDenied.found);
    EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6 (" + invalidHandle.text + L")\n",
              printed(zeno::Exception(L"::CloseHandle() failed", 6)));
    EXPECT_EQ(L"class zeno::IOException: 6 (" + invalidHandle.text + L")\n",
              printed(zeno::IOException(zeno::nilString, 6)));
    EXPECT_EQ(L"class zeno::Exception: m: 2147942405 (" + accessDenied.text + L")\n",
              printed(zeno::Exception(L"m", ACCESS_DENIED_HRESULT)));
    // Without a code nothing is looked up.
    EXPECT_EQ(L"class zeno::NumberFormatException: 12a\n", printed(zeno::NumberFormatException(L"12a")));
}

TEST(ExceptionPrint, LetsTheLookupFailureEscapeBeforeWritingAnything) {
    const zeno_test::SystemMessage unknown = zeno_test::systemMessage(UNKNOWN_CODE);
    ASSERT_FALSE(unknown.found);
    const std::wstring failure = L"class zeno::Exception: ::FormatMessage() failed: " +
                                 zeno::toString(static_cast<std::int32_t>(unknown.lastError));
    std::wostringstream out;
    EXPECT_EQ(failure, zeno_test::thrownText([&out] { zeno::Exception(L"m", UNKNOWN_CODE).print(out); }));
    EXPECT_EQ(L"", out.str());

    std::wstring text = L"kept";
    EXPECT_EQ(failure, zeno_test::thrownText([&text] { zeno::formatMessage(UNKNOWN_CODE, text); }));
    EXPECT_EQ(L"kept", text);
}

TEST(SystemText, FormatMessageAppendsIt) {
    const zeno_test::SystemMessage expected = zeno_test::systemMessage(ACCESS_DENIED_HRESULT);
    ASSERT_TRUE(expected.found);
    std::wstring text = L"prefix:";
    zeno::formatMessage(ACCESS_DENIED_HRESULT, text);
    EXPECT_EQ(L"prefix:" + expected.text, text);
}

TEST(LocalBuffer, ReleasesOnceAndReportsAFailedRelease) {
    zeno::LocalBuffer buffer(LocalAlloc(LMEM_FIXED, 16));
    ASSERT_NE(nullptr, buffer.get());
    EXPECT_NO_THROW(buffer.release());
    EXPECT_NO_THROW(buffer.release());

    // A pointer that LocalAlloc never returned cannot be freed.
    static char notLocalMemory[64];
    zeno::LocalBuffer foreign(notLocalMemory + 8);
    EXPECT_TRUE(zeno::startsWith(zeno_test::thrownText([&foreign] { foreign.release(); }),
                                 L"class zeno::Exception: ::LocalFree() failed: "));
    EXPECT_EQ(nullptr, foreign.get());
}

TEST(ArgumentChecks, ThrowOnlyForNullOrOutsideLowToHigh) {
    int value = 0;
    EXPECT_NO_THROW(zeno::checkNotNull(L"layout", &value));
    EXPECT_EQ(L"class zeno::NullPointerException: layout",
              zeno_test::thrownText([] { zeno::checkNotNull(L"layout", nullptr); }));

    EXPECT_NO_THROW(zeno::checkIndex(L"index", 0, 3, 0));
    EXPECT_NO_THROW(zeno::checkIndex(L"index", 0, 3, 2));
    EXPECT_NO_THROW(zeno::checkIndex(L"index", -5, -4, -5));
    EXPECT_EQ(L"class zeno::IndexOutOfBoundsException: index: 3 (must be 0<=index<3)",
              zeno_test::thrownText([] { zeno::checkIndex(L"index", 0, 3, 3); }));
    EXPECT_EQ(L"class zeno::IndexOutOfBoundsException: row: -2147483648 (must be -2<=row<2147483647)",
              zeno_test::thrownText([] { zeno::checkIndex(L"row", -2, 2147483647, -2147483647 - 1); }));
    EXPECT_THROW(zeno::checkIndex(L"index", 0, 3, -1), zeno::IndexOutOfBoundsException);
    EXPECT_THROW(zeno::checkIndex(L"index", 3, 0, 1), zeno::IndexOutOfBoundsException);
}

} // namespace
