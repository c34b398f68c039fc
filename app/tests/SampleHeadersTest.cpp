// The real main frame over the generated sample headers, which have the size and layout of an
// SDK's: the counts and one mapping in each direction, checked against an independent reading.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "FrameProbe.h"
#include "FrameSession.h"
#include "SystemWindows.h"
#include "SampleCounts.h"
#include "TempFolder.h"
#include "TestHeaders.h"
#include "app/ErrorCodePane.h"
#include "app/Kelvane.h"

namespace {

std::wstring sampleFile(const wchar_t* name) {
    std::wstring path = std::wstring(KELVANE_SAMPLE_DIR) + L"\\" + name;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}

// The whole file, or nothing when it cannot be read.
std::string readBytes(const std::wstring& path) {
    std::string bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return bytes;
    }
    char buffer[65536];
    DWORD count = 0;
    while (ReadFile(file, buffer, sizeof buffer, &count, nullptr) && count > 0) {
        bytes.append(buffer, count);
    }
    CloseHandle(file);
    return bytes;
}

// value -> the last name the sample ntstatus.h gives it, read here with plain string handling.
std::map<std::uint32_t, std::wstring> sampleNtStatusNames() {
    std::string text = readBytes(sampleFile(L"ntstatus.h"));
    std::replace(text.begin(), text.end(), '\r', '\n');
    std::map<std::uint32_t, std::wstring> names;
    std::istringstream lines(text);
    std::string line;
    const std::string prefix = "((NTSTATUS)0x";
    while (std::getline(lines, line)) {
        std::istringstream tokens(line);
        std::string define, name, value;
        tokens >> define >> name >> value;
        if (define == "#define" && name.compare(0, 7, "STATUS_") == 0 && value.compare(0, prefix.size(), prefix) == 0 &&
            value.size() > prefix.size() + 2 && value.compare(value.size() - 2, 2, "L)") == 0) {
            const std::string digits = value.substr(prefix.size(), value.size() - prefix.size() - 2);
            if (digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos && digits.size() <= 8) {
                names[static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16))] = std::wstring(name.begin(), name.end());
            }
        }
    }
    return names;
}

}  // namespace

TEST(SampleHeadersTest, TheFrameListsEverySampleCodeAndMapsBothWays) {
    TempFolder folder(L"kelvane-samples");
    const std::wstring configPath = folder.write(
        L"kelvane.cfg", testheaders::configuration(sampleFile(L"ntstatus.h"), sampleFile(L"winerror.h")));
    const auto names = sampleNtStatusNames();
    ASSERT_EQ(static_cast<std::size_t>(SAMPLE_NTSTATUS_DISTINCT_VALUES), names.size());
    std::vector<std::wstring> accessDenied;
    for (const auto& entry : names) {
        if (platformNtStatusToWin32(entry.first) == ERROR_ACCESS_DENIED) {
            accessDenied.push_back(entry.second);
        }
    }
    ASSERT_GE(accessDenied.size(), 2u);

    const int exitCode = runFrame(configPath, [&](UiDriver& ui, Kelvane* frame) {
        const std::wstring ntStatusTitle =
            L"NTSTATUS   (total " + std::to_wstring(SAMPLE_NTSTATUS_DISTINCT_VALUES) + L" entries)";
        const std::wstring win32Title =
            L"Win32 Error Code   (total " + std::to_wstring(SAMPLE_WIN32_DISTINCT_VALUES) + L" entries)";
        EXPECT_NE(nullptr, descendantWithText(frame->getHWND(), ntStatusTitle));
        EXPECT_NE(nullptr, descendantWithText(frame->getHWND(), win32Title));
        PaneView ntStatus = ui.get<PaneView>([&] { return viewOf(frame->getNtStatusPane()); });
        EXPECT_EQ(static_cast<std::size_t>(SAMPLE_NTSTATUS_DISTINCT_VALUES), ntStatus.rows.size());
        EXPECT_EQ(names.begin()->second, ntStatus.rows.front());
        EXPECT_EQ(names.rbegin()->second, ntStatus.rows.back());
        EXPECT_EQ(static_cast<std::size_t>(SAMPLE_WIN32_DISTINCT_VALUES),
                  ui.get<PaneView>([&] { return viewOf(frame->getWin32Pane()); }).rows.size());

        ui.press(VK_F1);
        ui.type(L"status_access_denied");
        ntStatus = ui.get<PaneView>([&] { return viewOf(frame->getNtStatusPane()); });
        EXPECT_EQ(0xC0000022u, ntStatus.currentCode);
        EXPECT_EQ(L"STATUS_ACCESS_DENIED", ntStatus.selectedText());
        EXPECT_EQ(resourceString(2), ui.get<std::wstring>([&] { return statusTextOf(frame); }));
        EXPECT_EQ(L"ERROR_ACCESS_DENIED", ui.get<PaneView>([&] { return viewOf(frame->getWin32Pane()); }).name);

        // ERROR_ACCESS_DENIED: the NTSTATUS list offers exactly the values that map to it.
        ui.press(VK_F6);
        ui.type(L"1");
        ui.press(VK_F6);
        ui.type(L"5");
        EXPECT_EQ(resourceString(5), ui.get<std::wstring>([&] { return statusTextOf(frame); }));
        ntStatus = ui.get<PaneView>([&] { return viewOf(frame->getNtStatusPane()); });
        EXPECT_EQ(accessDenied, ntStatus.rows);
        EXPECT_EQ(0, ntStatus.selectedRow);
        EXPECT_EQ(accessDenied.front(), ntStatus.name);
    });
    EXPECT_EQ(0, exitCode);
}
