#include <array>
#include <memory>
#include <optional>

#include "WidgetTestComponents.h"

#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>

#include "awt/FileDialog.h"
#include "zeno/Strings.h"

namespace {

// Runs the user's part from the dialog's own loop once the dialog knows its window.
void whenShown(awt::FileDialog& dialog, std::function<void(HWND)> user) {
    static std::unique_ptr<DelayedAction> next;
    next = std::make_unique<DelayedAction>(100, [&dialog, user] {
        dialog.getHandle() == nullptr ? whenShown(dialog, user) : user(dialog.getHandle());
    });
}

// A folder of its own below the temporary folder, in its long form.
std::wstring testFolder() {
    wchar_t path[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, path);
    const std::wstring folder = std::wstring(path) + L"kelvane-file-dialog";
    CreateDirectoryW(folder.c_str(), nullptr);
    GetLongPathNameW(folder.c_str(), path, MAX_PATH);
    return path;
}

// The type name the shell gives for an extension; it names unknown ones too (".kvq1 file" under
// Wine, "KVQ1 File" on Windows), so the dialog's own fallback text needs a dialog without it.
std::wstring shellTypeName(const wchar_t* extension) {
    SHFILEINFOW info{};
    EXPECT_NE(0u, SHGetFileInfoW(extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                 SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES));
    return info.szTypeName;
}

} // namespace

// Without the shell's type name, a lone pattern reads "h file" and several read as the patterns.
TEST(FileDialog, FilterTextsWithoutTheShellsTypeName) {
    using namespace std::literals;
    struct WithoutTypeNames : awt::FileDialog {
        WithoutTypeNames() : FileDialog(nullptr, zeno::nilString, OPEN) {}
        std::optional<std::wstring> typeName(const std::wstring&) const override { return std::nullopt; }
    } dialog;
    dialog.addFilter(nullptr, L"h");
    dialog.addFilter(nullptr, std::array{L"kvq1", L"kvq2"}.data(), 2);
    dialog.addFilter(L"Sources", L"c");
    EXPECT_EQ(L"h file\0*.h\0*.kvq1; *.kvq2\0*.kvq1; *.kvq2\0Sources (*.c)\0*.c\0\0"s, dialog.buildFilterString());
}

// The user confirms a typed name in the open and the save dialog, or cancels; or the program
// closes the dialog after changing it while shown. Only the first run has filters (the one
// without patterns is skipped, the list ends with two NULs) and a location.
TEST(FileDialog, UserConfirmsOrCancelsAndTheProgramChangesAndClosesIt) {
    using namespace std::literals;
    const std::wstring filters = shellTypeName(L".h") + L" (*.h)\0*.h\0Sources (*.c; *.cpp)\0*.c; *.cpp\0"s +
                                 shellTypeName(L".kvq1") + L" (*.kvq1; *.kvq2)\0*.kvq1; *.kvq2\0\0"s;
    TestWindow owner;
    owner.createPeer();
    const std::wstring folder = testFolder();
    // title null: the system's own; button 0: the program closes it; chosen empty: nil
    const struct { const wchar_t* title; int mode; std::wstring proposed; int button; const wchar_t* typed;
                   std::wstring shownName, chosen; } runs[] = {
        {L"ヘッダファイルを選択", awt::FileDialog::OPEN, folder + L"\\proposed.h", IDOK, L"chosen.h", L"proposed.h",
         folder + L"\\chosen.h"},
        {nullptr, awt::FileDialog::SAVE, folder + L"\\", IDOK, L"written.cfg", L"", folder + L"\\written.cfg"},
        {nullptr, awt::FileDialog::OPEN, std::wstring(600, L'x'), IDCANCEL, L"", std::wstring(600, L'x'), L""},
        {L"to be closed", awt::FileDialog::OPEN, folder + L"\\kept.h", 0, L"", L"kept.h", L""},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(&run - runs);
        const bool first = &run == runs;
        awt::FileDialog dialog(run.mode == awt::FileDialog::OPEN ? &owner : nullptr,
                               run.title ? run.title : zeno::nilString, run.mode);
        dialog.setFile(run.proposed);
        dialog.close();  // not shown: nothing happens
        if (first) {
            dialog.addFilter(nullptr, L"h");
            dialog.addFilter(L"Sources", std::array{L"c", L"cpp"}.data(), 2);
            dialog.addFilter(L"Nothing", std::array{L"c"}.data(), 0);
            dialog.addFilter(nullptr, std::array{L"kvq1", L"kvq2"}.data(), 2);
            dialog.setLocation(123, 77);
        }
        EXPECT_EQ(first ? filters : L"", dialog.buildFilterString());
        HWND seen = nullptr;
        whenShown(dialog, [&](HWND shown) {
            seen = shown;
            EXPECT_EQ(L"#32770", className(shown)) << "the dialog's own top-level window";
            EXPECT_TRUE(run.title ? windowText(shown) == run.title : !windowText(shown).empty()) << windowText(shown);
            // The name field: an edit, or a combo box with an edit in newer layouts.
            HWND name = GetDlgItem(shown, edt1) != nullptr ? GetDlgItem(shown, edt1) : GetDlgItem(shown, cmb13);
            EXPECT_EQ(run.shownName, windowText(name));
            EXPECT_EQ(first ? 3 : 0, SendMessageW(GetDlgItem(shown, cmb1), CB_GETCOUNT, 0, 0)) << "file types";
            RECT rect{};
            GetWindowRect(shown, &rect);
            EXPECT_TRUE(!first || (rect.left == 123 && rect.top == 77)) << "the stored location is applied at opening";
            if (run.button == 0) {
                dialog.setTitle(L"closing");
                EXPECT_EQ(L"closing", windowText(shown)) << "the shown dialog takes a new title at once";
                dialog.setLocation(40, 30);
                dialog.setSize(700, 560);
                GetWindowRect(shown, &rect);
                const RECT movedAndSized{40, 30, 740, 590};
                EXPECT_TRUE(EqualRect(&movedAndSized, &rect));
                dialog.setVisible(false);
                return;
            }
            SetWindowTextW(name, run.typed);
            PostMessageW(shown, WM_COMMAND, MAKEWPARAM(run.button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(shown, run.button)));
        });
        dialog.setVisible(true);
        ASSERT_NE(nullptr, seen);
        EXPECT_FALSE(IsWindow(seen));
        const std::wstring& file = dialog.getFile();
        const bool chosen = CompareStringOrdinal(run.chosen.c_str(), -1, file.c_str(), -1, TRUE) == CSTR_EQUAL;
        EXPECT_TRUE(run.chosen.empty() ? zeno::isNil(file) : chosen) << file;
        EXPECT_EQ(nullptr, dialog.getHandle()) << "the window is forgotten after the dialog";
    }
}
