// The program's resources as the running program loads them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Version.h"
#include "awt/Toolkit.h"
#include "zeno/Strings.h"

TEST(ResourcesTest, TheStringTableHoldsTheTextsOfTheWindowAndTheSettingsDialog) {
    const wchar_t* const expected[] = {
        L"Kelvane", L"NTSTATUS に対応する Win32 Error が存在します", L"NTSTATUS に対応する Win32 Error は存在しません",
        L"Win32 Error に対応する NTSTATUS が存在します", L"Win32 Error に対応する NTSTATUS が複数存在します",
        L"Win32 Error に対応する NTSTATUS は存在しません",
        L"NTSTATUS に対応する Win32 Error は存在しますがヘッダファイルに記述がありません",
        L"選択", L"Kelvane 設定", L"ヘッダファイル", L"ntstatus.h", L"winerror.h", L"OK", L"キャンセル"};
    for (UINT id = 1; id <= 14; ++id) {
        EXPECT_EQ(expected[id - 1], awt::Toolkit::loadString(id)) << "string " << id;
    }
    EXPECT_EQ(zeno::nilString, awt::Toolkit::loadString(15));
}

// What Explorer's Properties page shows for the real program beside the test program: the version
// of the status bar, in the fixed and in the text form.
TEST(ResourcesTest, TheVersionResourceNamesTheProgramAndTheVersionOfTheStatusBar) {
    wchar_t testProgram[MAX_PATH] = {};
    const std::wstring self(testProgram, GetModuleFileNameW(nullptr, testProgram, MAX_PATH));
    const std::wstring path = self.substr(0, self.find_last_of(L"\\/") + 1) + L"Kelvane.exe";
    std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(info.empty()) << "no version resource";
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    const auto query = [&](const std::wstring& key) {
        void* value = nullptr;
        UINT length = 0;
        return VerQueryValueW(info.data(), key.c_str(), &value, &length) ? value : nullptr;
    };
    const std::pair<const wchar_t*, std::wstring> values[] = {
        {L"ProductName", programName}, {L"ProductVersion", versionString}, {L"FileVersion", versionString},
        {L"OriginalFilename", L"Kelvane.exe"}, {L"FileDescription", L"Kelvane: NTSTATUS and Win32 error code lookup"}};
    for (const auto& [name, expected] : values) {
        const void* text = query(std::wstring(L"\\StringFileInfo\\040904B0\\") + name);
        EXPECT_EQ(expected, text != nullptr ? static_cast<const wchar_t*>(text) : L"(none)") << name;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(query(L"\\"));
    ASSERT_NE(nullptr, fixed);
    for (const auto& [high, low] : {std::pair(fixed->dwFileVersionMS, fixed->dwFileVersionLS),
                                   std::pair(fixed->dwProductVersionMS, fixed->dwProductVersionLS)}) {
        EXPECT_EQ(versionString + L".0", std::to_wstring(HIWORD(high)) + L"." + std::to_wstring(LOWORD(high)) + L"." +
                                             std::to_wstring(HIWORD(low)) + L"." + std::to_wstring(LOWORD(low)));
    }
}

// The manifest asks for the common controls of version 6 (visual styles): the system loads them from
// their side-by-side folder, on Windows and under Wine alike (whose DllGetVersion says 5 in both).
TEST(ResourcesTest, TheManifestBringsTheCommonControlsOfVersionSix) {
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    ASSERT_NE(nullptr, controls);
    wchar_t path[MAX_PATH] = {};
    ASSERT_NE(0u, GetModuleFileNameW(controls, path, MAX_PATH));
    std::wstring folder(path);
    CharLowerW(&folder[0]);
    EXPECT_NE(std::wstring::npos, folder.find(L"microsoft.windows.common-controls_6595b64144ccf1df_6.")) << path;
}
