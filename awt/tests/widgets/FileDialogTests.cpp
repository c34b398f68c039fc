#include <functional>
#include <memory>
#include <string>
#include <thread>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>

#include "WidgetTestComponents.h"
#include "awt/FileDialog.h"
#include "zeno/Strings.h"

namespace {

// What the user saw of the dialog.
struct Seen {
    std::wstring title;
    std::wstring proposedName;
    std::wstring firstFileType;
    int fileTypeCount = -1;
    RECT rect{};
    bool forcedToClose = false;
};

// Plays the user on a thread of its own while the test's thread runs the modal dialog: waits for
// the dialog, notes what it shows, then types a name and confirms (IDOK), cancels (IDCANCEL) or
// does nothing (0). A dialog still open after a while is cancelled, so the test cannot hang.
class DialogUser {
public:
    explicit DialogUser(int button, std::wstring typed = L"")
        : thread([this, button, typed] { play(button, typed); }) {}
    ~DialogUser() { finish(); }
    // Waits until the user is done and gives what the user saw.
    Seen finish() {
        if (thread.joinable()) {
            thread.join();
        }
        return seen;
    }

private:
    Seen seen;
    void play(int button, const std::wstring& typed) {
        HWND dialog = nullptr;
        if (!pollUntil([&] { return (dialog = findWindow(L"", L"#32770", GetCurrentProcessId(), true)) != nullptr; })) {
            return;
        }
        Sleep(200);
        // The name field: an edit, or a combo box with an edit in newer layouts.
        HWND name = GetDlgItem(dialog, edt1) != nullptr ? GetDlgItem(dialog, edt1) : GetDlgItem(dialog, cmb13);
        seen.title = windowText(dialog);
        seen.proposedName = windowText(name);
        GetWindowRect(dialog, &seen.rect);
        if (HWND types = GetDlgItem(dialog, cmb1)) {
            seen.fileTypeCount = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
            std::vector<wchar_t> text(static_cast<std::size_t>(SendMessageW(types, CB_GETLBTEXTLEN, 0, 0)) + 2);
            SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
            seen.firstFileType = text.data();
        }
        if (button == IDOK) {
            SetWindowTextW(name, typed.c_str());
        }
        if (button != 0) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        }
        if (!pollUntil([&] { return !IsWindow(dialog); }, 5000)) {
            seen.forcedToClose = true;  // still open (or a box it raised): cancelled
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(dialog, WM_CLOSE, 0, 0);
        }
    }

    std::thread thread;
};

// A folder of its own below the temporary folder, in its long form.
std::wstring testFolder() {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"kelvane-file-dialog";
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t longForm[MAX_PATH] = {};
    GetLongPathNameW(folder.c_str(), longForm, MAX_PATH);
    return longForm;
}

// The type name the shell gives for an extension; it names unknown ones too (".kvq1 file" under
// Wine, "KVQ1 File" on Windows), so the dialog's own fallback text is not reached on either.
std::wstring shellTypeName(const wchar_t* extension) {
    SHFILEINFOW info{};
    EXPECT_NE(0u, SHGetFileInfoW(extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                                 SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES));
    return info.szTypeName;
}

} // namespace

TEST(FileDialog, FilterStringIsBuiltByteForByte) {
    awt::FileDialog dialog(nullptr, zeno::nilString, awt::FileDialog::OPEN);
    EXPECT_EQ(L"", dialog.buildFilterString()) << "no filters";
    dialog.addFilter(nullptr, L"h");
    const wchar_t* sources[] = {L"c", L"cpp"};
    dialog.addFilter(L"Sources", sources, 2);
    dialog.addFilter(L"Nothing", sources, 0);
    const wchar_t* unknown[] = {L"kvq1", L"kvq2"};
    dialog.addFilter(nullptr, unknown, 2);
    // The filter without patterns is skipped and the list ends with two NULs.
    const std::wstring expected = shellTypeName(L".h") + L" (*.h)" + L'\0' + L"*.h" + L'\0' +
                                  L"Sources (*.c; *.cpp)" + L'\0' + L"*.c; *.cpp" + L'\0' +
                                  shellTypeName(L".kvq1") + L" (*.kvq1; *.kvq2)" + L'\0' + L"*.kvq1; *.kvq2" +
                                  L'\0' + L'\0';
    EXPECT_EQ(expected, dialog.buildFilterString());
}

// The user confirms a typed name in the open and the save dialog, or cancels.
TEST(FileDialog, UserTypesANameAndConfirmsOrCancels) {
    TestWindow owner;
    owner.createPeer();
    const std::wstring folder = testFolder();
    const struct {
        const wchar_t* title;
        int mode;
        std::wstring proposed;
        int button;
        const wchar_t* typed;
        const wchar_t* expectedTitle;  // null: the system's own title
        std::wstring expectedName;
        int expectedTypes;
        std::wstring expectedFile;  // empty: nil
    } runs[] = {
        {L"ヘッダファイルを選択", awt::FileDialog::OPEN, folder + L"\\proposed.h", IDOK, L"chosen.h",
         L"ヘッダファイルを選択", L"proposed.h", 1, folder + L"\\chosen.h"},
        {nullptr, awt::FileDialog::SAVE, folder + L"\\", IDOK, L"written.cfg", nullptr, L"", 0,
         folder + L"\\written.cfg"},
        {nullptr, awt::FileDialog::OPEN, std::wstring(600, L'x'), IDCANCEL, L"", nullptr, std::wstring(600, L'x'), 0,
         L""},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.typed);
        awt::FileDialog dialog(run.mode == awt::FileDialog::OPEN ? &owner : nullptr,
                               run.title ? run.title : zeno::nilString, run.mode);
        dialog.setFile(run.proposed);
        if (run.expectedTypes > 0) {
            dialog.addFilter(nullptr, L"h");
            dialog.setLocation(123, 77);
        }
        DialogUser user(run.button, run.typed);
        dialog.setVisible(true);
        const Seen seen = user.finish();
        EXPECT_FALSE(seen.forcedToClose);
        EXPECT_EQ(run.expectedTitle ? run.expectedTitle : seen.title, seen.title);
        EXPECT_FALSE(seen.title.empty());
        EXPECT_EQ(run.expectedName, seen.proposedName);
        EXPECT_EQ(run.expectedTypes, seen.fileTypeCount) << "without filters no file types are offered";
        if (run.expectedTypes > 0) {
            EXPECT_EQ(shellTypeName(L".h") + L" (*.h)", seen.firstFileType);
            EXPECT_EQ(123, seen.rect.left) << "the stored location is applied when the dialog opens";
            EXPECT_EQ(77, seen.rect.top);
        }
        if (run.expectedFile.empty()) {
            EXPECT_TRUE(zeno::isNil(dialog.getFile())) << dialog.getFile();
        } else {
            EXPECT_EQ(CSTR_EQUAL, CompareStringOrdinal(run.expectedFile.c_str(), -1, dialog.getFile().c_str(), -1, TRUE))
                << dialog.getFile();
        }
        EXPECT_EQ(nullptr, dialog.getHandle()) << "the window is forgotten after the dialog";
    }
}

TEST(FileDialog, SettersApplyWhileShownAndCloseIsACancel) {
    awt::FileDialog dialog(nullptr, L"to be closed", awt::FileDialog::OPEN);
    dialog.setFile(testFolder() + L"\\kept.h");
    dialog.close();  // not shown: nothing happens
    HWND shown = nullptr;
    std::wstring shownClass;
    std::wstring shownTitle;
    RECT shownRect{};
    // From the dialog's own loop, once the dialog knows its window.
    std::function<void()> whileShown = [&] {
        if ((shown = dialog.getHandle()) == nullptr) {
            static std::unique_ptr<DelayedAction> again;
            again = std::make_unique<DelayedAction>(50, whileShown);
            return;
        }
        shownClass = className(shown);
        dialog.setTitle(L"closing");
        shownTitle = windowText(shown);
        dialog.setLocation(40, 30);
        dialog.setSize(700, 560);
        GetWindowRect(shown, &shownRect);
        dialog.setVisible(false);
    };
    DelayedAction start(100, whileShown);
    DialogUser user(0);
    dialog.setVisible(true);
    EXPECT_FALSE(user.finish().forcedToClose);
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(L"#32770", shownClass) << "the dialog's own top-level window";
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_TRUE(zeno::isNil(dialog.getFile()));
    EXPECT_EQ(L"closing", shownTitle) << "the shown dialog takes a new title at once";
    const RECT movedAndSized{40, 30, 740, 590};
    EXPECT_TRUE(EqualRect(&movedAndSized, &shownRect));
}
