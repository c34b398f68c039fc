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
    GetModuleFileNameW(nullptr, testProgram, MAX_PATH);
    std::wstring path(testProgram);
    path.replace(path.find_last_of(L"\\/") + 1, std::wstring::npos, L"Kelvane.exe");
    DWORD unused = 0;
    std::vector<char> info(GetFileVersionInfoSizeW(path.c_str(), &unused));
    ASSERT_FALSE(info.empty()) << "no version resource";
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

    const struct {
        const wchar_t* name;
        std::wstring expected;
    } values[] = {
        {L"ProductName", programName},          {L"ProductVersion", versionString},
        {L"FileVersion", versionString},        {L"OriginalFilename", L"Kelvane.exe"},
        {L"FileDescription", L"Kelvane: NTSTATUS and Win32 error code lookup"},
    };
    for (const auto& value : values) {
        const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + value.name;
        void* text = nullptr;
        UINT length = 0;
        ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), &text, &length)) << value.name;
        EXPECT_EQ(value.expected, static_cast<const wchar_t*>(text)) << value.name;
    }
    void* fixedInfo = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", &fixedInfo, &length));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(fixedInfo);
    const DWORD versions[][2] = {{fixed->dwFileVersionMS, fixed->dwFileVersionLS},
                                 {fixed->dwProductVersionMS, fixed->dwProductVersionLS}};
    for (const auto& version : versions) {
        const std::wstring dotted = std::to_wstring(HIWORD(version[0])) + L"." + std::to_wstring(LOWORD(version[0])) +
                                    L"." + std::to_wstring(HIWORD(version[1])) + L"." + std::to_wstring(LOWORD(version[1]));
        EXPECT_EQ(versionString + L".0", dotted);
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
