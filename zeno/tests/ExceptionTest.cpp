#include "zeno/Exception.h"

#include <gtest/gtest.h>

#include <sstream>

#include "zeno/FormatMessage.h"
#include "zeno/LocalBuffer.h"
#include "zeno/Strings.h"
#include "zeno/tests/SystemMessage.h"

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

TEST(ExceptionClassName, IsTheDemangledDynamicType) {
    EXPECT_EQ(L"class zeno::Exception", zeno::Exception().toString());
    EXPECT_EQ(L"class zeno::IOException: m: 1", zeno::IOException(L"m", 1).toString());
    EXPECT_EQ(L"class zeno::FileNotFoundException: C:\\x.h: 2",
              zeno::FileNotFoundException(L"C:\\x.h", 2).toString());
    EXPECT_EQ(L"class zeno::NumberFormatException: 12a", zeno::NumberFormatException(L"12a").toString());
    EXPECT_EQ(L"class zeno::IllegalArgumentException: a",
              zeno::IllegalArgumentException(L"a").toString());
    EXPECT_EQ(L"class zeno::IllegalStateException", zeno::IllegalStateException().toString());
    EXPECT_EQ(L"class zeno::IllegalStateException: s", zeno::IllegalStateException(L"s").toString());
    EXPECT_EQ(L"class zeno::IllegalThreadStateException: unmanaged thread",
              zeno::IllegalThreadStateException(L"unmanaged thread").toString());
    EXPECT_EQ(L"class zeno::NullPointerException: child", zeno::NullPointerException(L"child").toString());
    EXPECT_EQ(L"class zeno::IndexOutOfBoundsException: index: 5 (must be 0<=index<3)",
              zeno::IndexOutOfBoundsException(L"index", 0, 3, 5).toString());
    EXPECT_EQ(L"class GlobalTestException", GlobalTestException().toString());
    EXPECT_EQ(L"class outer::inner::NestedTestException: nested: 5",
              outer::inner::NestedTestException().toString());
    EXPECT_EQ(L"class (anonymous namespace)::LocalTestException", LocalTestException().toString());
}

TEST(ExceptionClassName, SurvivesCatchingByBaseReference) {
    try {
        throw zeno::FileNotFoundException(L"a.h", 3);
    } catch (const zeno::Exception& e) {
        EXPECT_EQ(L"zeno::FileNotFoundException", e.getClassName());
        EXPECT_EQ(L"class zeno::FileNotFoundException: a.h: 3", e.toString());
    }
    // A copy keeps the type it was copied as.
    const zeno::IOException copy = zeno::FileNotFoundException(L"a.h", 3);
    EXPECT_EQ(L"class zeno::IOException: a.h: 3", copy.toString());
}

TEST(ExceptionFields, HoldMessageAndCode) {
    const zeno::Exception plain;
    EXPECT_EQ(L"", plain.getMessage());
    EXPECT_EQ(0xFFFFFFFFu, plain.getErrorCode());
    const zeno::FileNotFoundException missing(L"C:\\x.h", 2);
    EXPECT_EQ(L"C:\\x.h", missing.getMessage());
    EXPECT_EQ(2u, missing.getErrorCode());
    EXPECT_EQ(NONE, zeno::NumberFormatException(L"x").getErrorCode());
    EXPECT_EQ(NONE, zeno::IllegalArgumentException(L"x").getErrorCode());
    EXPECT_EQ(NONE, zeno::IllegalStateException().getErrorCode());
    EXPECT_EQ(NONE, zeno::NullPointerException(L"x").getErrorCode());
    EXPECT_EQ(NONE, zeno::IndexOutOfBoundsException(L"i", 0, 1, 2).getErrorCode());
}

TEST(ExceptionToString, JoinsMessageAndSignedCode) {
    EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6",
              zeno::Exception(L"::CloseHandle() failed", 6).toString());
    EXPECT_EQ(L"class zeno::Exception: 0", zeno::Exception(L"", 0).toString());
    EXPECT_EQ(L"class zeno::Exception: m", zeno::Exception(L"m", NONE).toString());
    EXPECT_EQ(L"class zeno::Exception: 6", zeno::Exception(zeno::nilString, 6).toString());
    EXPECT_EQ(L"class zeno::Exception", zeno::Exception(zeno::nilString, NONE).toString());
    // Codes of 2^31 and above are negative in signed decimal.
    EXPECT_EQ(L"class zeno::Exception: m: -2147483648", zeno::Exception(L"m", 0x80000000u).toString());
    EXPECT_EQ(L"class zeno::Exception: m: -2", zeno::Exception(L"m", 0xFFFFFFFEu).toString());
    EXPECT_EQ(L"class zeno::Exception: m: 2147483647", zeno::Exception(L"m", 0x7FFFFFFFu).toString());
}

TEST(ExceptionPrint, AddsUnsignedCodeAndSystemText) {
    const zeno_test::SystemMessage invalidHandle = zeno_test::systemMessage(6);
    ASSERT_TRUE(invalidHandle.found);
    EXPECT_EQ(L"class zeno::Exception: ::CloseHandle() failed: 6 (" + invalidHandle.text + L")\n",
              printed(zeno::Exception(L"::CloseHandle() failed", 6)));
    EXPECT_EQ(L"class zeno::IOException: 6 (" + invalidHandle.text + L")\n",
              printed(zeno::IOException(zeno::nilString, 6)));

    const zeno_test::SystemMessage accessDenied = zeno_test::systemMessage(ACCESS_DENIED_HRESULT);
    ASSERT_TRUE(accessDenied.found);
    EXPECT_EQ(L"class zeno::Exception: m: 2147942405 (" + accessDenied.text + L")\n",
              printed(zeno::Exception(L"m", ACCESS_DENIED_HRESULT)));
}

TEST(ExceptionPrint, WithoutCodeLooksNothingUp) {
    EXPECT_EQ(L"class zeno::NumberFormatException: 12a\n", printed(zeno::NumberFormatException(L"12a")));
    EXPECT_EQ(L"class GlobalTestException\n", printed(GlobalTestException()));
    EXPECT_EQ(L"class zeno::Exception\n", printed(zeno::Exception(zeno::nilString, NONE)));
}

TEST(ExceptionPrint, LetsTheLookupFailureEscapeAndWritesNothing) {
    const zeno_test::SystemMessage unknown = zeno_test::systemMessage(UNKNOWN_CODE);
    ASSERT_FALSE(unknown.found);
    std::wostringstream out;
    try {
        zeno::Exception(L"m", UNKNOWN_CODE).print(out);
        FAIL() << "print did not throw";
    } catch (const zeno::Exception& e) {
        EXPECT_EQ(L"::FormatMessage() failed", e.getMessage());
        EXPECT_EQ(unknown.lastError, e.getErrorCode());
    }
    EXPECT_EQ(L"", out.str());
}

TEST(FormatMessage, AppendsTheSystemText) {
    for (std::uint32_t code : {2u, 3u, 5u, 32u, 1006u, ACCESS_DENIED_HRESULT}) {
        const zeno_test::SystemMessage expected = zeno_test::systemMessage(code);
        ASSERT_TRUE(expected.found) << code;
        std::wstring text = L"prefix:";
        zeno::formatMessage(code, text);
        EXPECT_EQ(L"prefix:" + expected.text, text) << code;
    }
}

TEST(FormatMessage, ThrowsWithTheSystemCodeAndLeavesTheTextAlone) {
    const zeno_test::SystemMessage unknown = zeno_test::systemMessage(UNKNOWN_CODE);
    ASSERT_FALSE(unknown.found);
    std::wstring text = L"kept";
    try {
        zeno::formatMessage(UNKNOWN_CODE, text);
        FAIL() << "formatMessage did not throw";
    } catch (const zeno::Exception& e) {
        EXPECT_EQ(L"class zeno::Exception: ::FormatMessage() failed: " +
                      zeno::toString(static_cast<std::int32_t>(unknown.lastError), 10),
                  e.toString());
    }
    EXPECT_EQ(L"kept", text);
}

TEST(LocalBuffer, ReleasesOnceAndReportsAFailedRelease) {
    zeno::LocalBuffer empty;
    EXPECT_NO_THROW(empty.release());

    zeno::LocalBuffer buffer(LocalAlloc(LMEM_FIXED, 16));
    ASSERT_NE(nullptr, buffer.get());
    EXPECT_NO_THROW(buffer.release());
    EXPECT_EQ(nullptr, buffer.get());
    EXPECT_NO_THROW(buffer.release());

    // A pointer that LocalAlloc never returned cannot be freed.
    static char notLocalMemory[64];
    zeno::LocalBuffer foreign(notLocalMemory + 8);
    try {
        foreign.release();
        FAIL() << "release of foreign memory did not throw";
    } catch (const zeno::Exception& e) {
        EXPECT_EQ(L"::LocalFree() failed", e.getMessage());
        EXPECT_NE(NONE, e.getErrorCode());
    }
    EXPECT_EQ(nullptr, foreign.get());
}

TEST(CheckNotNull, ThrowsOnlyForNull) {
    int value = 0;
    EXPECT_NO_THROW(zeno::checkNotNull(L"layout", &value));
    try {
        zeno::checkNotNull(L"layout", nullptr);
        FAIL() << "checkNotNull did not throw";
    } catch (const zeno::NullPointerException& e) {
        EXPECT_EQ(L"class zeno::NullPointerException: layout", e.toString());
    }
    EXPECT_THROW(zeno::checkNotNull(nullptr, nullptr), zeno::NullPointerException);
}

TEST(CheckIndex, AcceptsLowUpToHighExclusive) {
    EXPECT_NO_THROW(zeno::checkIndex(L"index", 0, 3, 0));
    EXPECT_NO_THROW(zeno::checkIndex(L"index", 0, 3, 2));
    EXPECT_NO_THROW(zeno::checkIndex(L"index", -5, -4, -5));
    EXPECT_THROW(zeno::checkIndex(L"index", 0, 3, 3), zeno::IndexOutOfBoundsException);
    EXPECT_THROW(zeno::checkIndex(L"index", 0, 3, -1), zeno::IndexOutOfBoundsException);
    EXPECT_THROW(zeno::checkIndex(L"index", 0, 0, 0), zeno::IndexOutOfBoundsException);
    EXPECT_THROW(zeno::checkIndex(L"index", 3, 0, 1), zeno::IndexOutOfBoundsException);
}

TEST(CheckIndex, MessageNamesTheRange) {
    try {
        zeno::checkIndex(L"index", 0, 3, 5);
        FAIL() << "checkIndex did not throw";
    } catch (const zeno::IndexOutOfBoundsException& e) {
        EXPECT_EQ(L"index: 5 (must be 0<=index<3)", e.getMessage());
        EXPECT_EQ(NONE, e.getErrorCode());
    }
    try {
        zeno::checkIndex(L"row", -2, 2147483647, -2147483647 - 1);
        FAIL() << "checkIndex did not throw";
    } catch (const zeno::IndexOutOfBoundsException& e) {
        EXPECT_EQ(L"row: -2147483648 (must be -2<=row<2147483647)", e.getMessage());
    }
}

} // namespace
