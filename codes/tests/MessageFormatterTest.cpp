#include "codes/NTSTATUSMessageFormatter.h"
#include "codes/Win32ErrorCodeMessageFormatter.h"

#include "zeno/tests/SystemMessage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include <windows.h>

// Texts are compared with what the running system gives to a direct FormatMessageW call: under
// Wine ntdll.dll has no message table and the system's texts differ from Windows', so no test
// asserts English text.

namespace {

// A direct FormatMessageW for an NTSTATUS, from ntdll.dll's table and then the system's.
zeno_test::SystemMessage ntdllMessage(std::uint32_t code)
{
    zeno_test::SystemMessage result;
    wchar_t* buffer = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS
                                      | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM,
                                  GetModuleHandleW(L"ntdll.dll"), code, 0, reinterpret_cast<wchar_t*>(&buffer), 0,
                                  nullptr);
    result.lastError = GetLastError();
    if (length > 0) {
        result.found = true;
        result.text.assign(buffer, length);
    }
    if (buffer != nullptr) {
        LocalFree(buffer);
    }
    return result;
}

// NTSTATUS values of every severity, and values no table has text for.
const std::uint32_t NTSTATUS_SAMPLES[] = {0x00000000, 0x00000002, 0x00000102, 0x40000000, 0x80000005,
                                          0xC0000005, 0xC0000034, 0xC000009A, 0xC0DE0001, 0xFFFFFFFF};

TEST(NTSTATUSMessageFormatter, GivesWhatTheSystemGivesForNtdll)
{
    NTSTATUSMessageFormatter formatter;
    for (std::uint32_t code : NTSTATUS_SAMPLES) {
        zeno_test::SystemMessage expected = ntdllMessage(code);
        EXPECT_EQ(expected.found ? expected.text : std::wstring(), formatter.format(code)) << std::hex << code;
    }
}

TEST(NTSTATUSMessageFormatter, CodeWithoutTextGivesAnEmptyString)
{
    const std::uint32_t code = 0xC0DE0001; // in no facility
    ASSERT_FALSE(ntdllMessage(code).found);
    NTSTATUSMessageFormatter formatter;
    EXPECT_EQ(L"", formatter.format(code));
}

TEST(NTSTATUSMessageFormatter, KeepsTheLineEndOfAText)
{
    // Every system has a text for 2 (at least the Win32 one, as a fallback).
    NTSTATUSMessageFormatter formatter;
    std::wstring text = formatter.format(2);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(ntdllMessage(2).text, text);
    EXPECT_EQ(L"\r\n", text.substr(text.size() - 2));
}

TEST(NTSTATUSMessageFormatter, WorksThroughTheInterfaceAndCanBeMadeAgain)
{
    for (int round = 0; round < 3; ++round) {
        std::unique_ptr<MessageFormatter> formatter = std::make_unique<NTSTATUSMessageFormatter>();
        EXPECT_EQ(ntdllMessage(0xC0000005).text, formatter->format(0xC0000005));
    }
    // ntdll.dll stays loaded: the process needs it whatever the formatter does.
    EXPECT_NE(nullptr, GetModuleHandleW(L"ntdll.dll"));
}

TEST(Win32ErrorCodeMessageFormatter, GivesWhatTheSystemGives)
{
    Win32ErrorCodeMessageFormatter formatter;
    std::size_t withText = 0;
    for (std::uint32_t code = 0; code < 1400; ++code) {
        zeno_test::SystemMessage expected = zeno_test::systemMessage(code);
        ASSERT_EQ(expected.found ? expected.text : std::wstring(), formatter.format(code)) << code;
        withText += expected.found ? 1 : 0;
    }
    EXPECT_GT(withText, 100u);
}

TEST(Win32ErrorCodeMessageFormatter, CodeWithoutTextGivesAnEmptyString)
{
    const std::uint32_t code = 0x0000FFFE;
    ASSERT_FALSE(zeno_test::systemMessage(code).found);
    Win32ErrorCodeMessageFormatter formatter;
    EXPECT_EQ(L"", formatter.format(code));
}

TEST(Win32ErrorCodeMessageFormatter, KeepsTheLineEndOfAText)
{
    Win32ErrorCodeMessageFormatter formatter;
    std::wstring text = formatter.format(5);
    ASSERT_GE(text.size(), 2u);
    EXPECT_EQ(L"\r\n", text.substr(text.size() - 2));
}

// A code whose system text has an insert sequence (%1 and the like), or 0 when there is none.
std::uint32_t codeWithInsert()
{
    for (std::uint32_t code = 0; code < 16000; ++code) {
        zeno_test::SystemMessage message = zeno_test::systemMessage(code);
        if (message.found && message.text.find(L"%1") != std::wstring::npos) {
            return code;
        }
    }
    return 0;
}

TEST(Win32ErrorCodeMessageFormatter, LeavesInsertSequencesAsTheyStand)
{
    std::uint32_t code = codeWithInsert();
    ASSERT_NE(0u, code) << "the system has no text with an insert";
    Win32ErrorCodeMessageFormatter formatter;
    std::wstring text = formatter.format(code);
    EXPECT_NE(std::wstring::npos, text.find(L"%1")) << code;
    EXPECT_EQ(zeno_test::systemMessage(code).text, text);
}

} // namespace
