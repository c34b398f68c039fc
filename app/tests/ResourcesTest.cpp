// The program's resources as the running program loads them.
#include <windows.h>

#include <gtest/gtest.h>

#include "awt/Toolkit.h"
#include "zeno/Strings.h"

TEST(ResourcesTest, TheStringTableHoldsTheTextsOfTheWindowAndTheSettingsDialog) {
    const wchar_t* const expected[] = {
        L"Kelvane",
        L"NTSTATUS に対応する Win32 Error が存在します",
        L"NTSTATUS に対応する Win32 Error は存在しません",
        L"Win32 Error に対応する NTSTATUS が存在します",
        L"Win32 Error に対応する NTSTATUS が複数存在します",
        L"Win32 Error に対応する NTSTATUS は存在しません",
        L"NTSTATUS に対応する Win32 Error は存在しますがヘッダファイルに記述がありません",
        L"選択",
        L"Kelvane 設定",
        L"ヘッダファイル",
        L"ntstatus.h",
        L"winerror.h",
        L"OK",
        L"キャンセル",
    };
    for (UINT id = 1; id <= 14; ++id) {
        EXPECT_EQ(expected[id - 1], awt::Toolkit::loadString(id)) << "string " << id;
    }
    EXPECT_EQ(zeno::nilString, awt::Toolkit::loadString(15));
}
