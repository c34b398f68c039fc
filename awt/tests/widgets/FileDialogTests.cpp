#include <atomic>
#include <functional>
#include <string>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>

#include "WidgetTestComponents.h"
#include "awt/FileDialog.h"
#include "zeno/Strings.h"

namespace {

BOOL CALLBACK findDialog(HWND window, LPARAM found) {
    auto* search = reinterpret_cast<std::pair<DWORD, HWND>*>(found);
    if (GetWindowThreadProcessId(window, nullptr) == search->first && IsWindowVisible(window) &&
        className(window) == L"#32770") {
        search->second = window;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog window of the thread, or null.
HWND dialogOf(DWORD thread) {
    std::pair<DWORD, HWND> search{thread, nullptr};
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void press(HWND dialog, int button) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
}

// Plays the user on a thread of its own while the test's thread runs the modal dialog: finds
// the dialog, notes what it shows, then types a name and confirms (or cancels, or does nothing).
// A dialog still open after a while is cancelled, so the test cannot hang.
class DialogUser {
public:
    enum class Action { Confirm, Cancel, Nothing };

    explicit DialogUser(Action action, std::wstring typedName = L"")
        : action(action), typedName(std::move(typedName)), uiThread(GetCurrentThreadId()),
          thread(CreateThread(nullptr, 0, &DialogUser::main, this, 0, nullptr)) {}
    DialogUser(const DialogUser&) = delete;
    DialogUser& operator=(const DialogUser&) = delete;
    ~DialogUser() {
        WaitForSingleObject(thread, 20000);
        CloseHandle(thread);
    }

    // Noted while the dialog was on screen.
    std::atomic<bool> sawDialog{false};
    std::atomic<bool> hadToForceClose{false};
    std::wstring title;
    std::wstring proposedName;
    std::wstring firstFileType;
    int fileTypeCount = -1;
    RECT rect{};

private:
    static DWORD WINAPI main(LPVOID self) {
        static_cast<DialogUser*>(self)->play();
        return 0;
    }

    void play() {
        int waited = 0;
        for (int i = 0; i < 600; ++i) {
            Sleep(25);
            HWND dialog = dialogOf(uiThread);
            if (dialog == nullptr) {
                if (sawDialog) {
                    return;
                }
            } else if (!sawDialog) {
                Sleep(200);
                observe(dialog);
                sawDialog = true;
                if (action == Action::Confirm) {
                    SetWindowTextW(nameField(dialog), typedName.c_str());
                    press(dialog, IDOK);
                } else if (action == Action::Cancel) {
                    press(dialog, IDCANCEL);
                }
            } else if (++waited % 120 == 0) {
                hadToForceClose = true;  // still open (or a box it raised): cancelled
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                PostMessageW(dialog, WM_CLOSE, 0, 0);
            }
        }
    }

    // The name field: an edit, or a combo box with an edit in newer layouts.
    static HWND nameField(HWND dialog) {
        HWND field = GetDlgItem(dialog, edt1);
        return field != nullptr ? field : GetDlgItem(dialog, cmb13);
    }

    void observe(HWND dialog) {
        title = windowText(dialog);
        GetWindowRect(dialog, &rect);
        proposedName = windowText(nameField(dialog));
        if (HWND types = GetDlgItem(dialog, cmb1)) {
            fileTypeCount = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
            if (fileTypeCount > 0) {
                std::vector<wchar_t> text(static_cast<std::size_t>(SendMessageW(types, CB_GETLBTEXTLEN, 0, 0)) + 1);
                SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text.data()));
                firstFileType = text.data();
            }
        }
    }

    Action action;
    std::wstring typedName;
    DWORD uiThread;
    HANDLE thread;
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

bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
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

    std::wstring expected;
    for (const std::wstring& piece :
         {shellTypeName(L".h") + L" (*.h)", std::wstring(L"*.h"), std::wstring(L"Sources (*.c; *.cpp)"),
          std::wstring(L"*.c; *.cpp"), shellTypeName(L".kvq1") + L" (*.kvq1; *.kvq2)",
          std::wstring(L"*.kvq1; *.kvq2")}) {
        expected += piece;
        expected += L'\0';
    }
    expected += L'\0';
    const std::wstring built = dialog.buildFilterString();
    ASSERT_EQ(expected.size(), built.size());
    EXPECT_EQ(0, std::wmemcmp(expected.data(), built.data(), expected.size()))
        << "the filter without patterns is skipped and the list ends with two NULs";
}

TEST(FileDialog, UserTypesANameAndConfirms) {
    TestWindow owner;
    owner.createPeer();
    const std::wstring folder = testFolder();
    awt::FileDialog dialog(&owner, L"ヘッダファイルを選択", awt::FileDialog::OPEN);
    dialog.setFile(folder + L"\\proposed.h");
    dialog.addFilter(nullptr, L"h");
    dialog.setLocation(123, 77);
    {
        DialogUser user(DialogUser::Action::Confirm, L"chosen.h");
        dialog.setVisible(true);
        EXPECT_TRUE(user.sawDialog);
        EXPECT_FALSE(user.hadToForceClose);
        EXPECT_EQ(L"ヘッダファイルを選択", user.title);
        EXPECT_EQ(L"proposed.h", user.proposedName);
        EXPECT_EQ(1, user.fileTypeCount);
        EXPECT_EQ(shellTypeName(L".h") + L" (*.h)", user.firstFileType);
        EXPECT_EQ(123, user.rect.left) << "the stored location is applied when the dialog opens";
        EXPECT_EQ(77, user.rect.top);
    }
    EXPECT_TRUE(samePath(folder + L"\\chosen.h", dialog.getFile())) << dialog.getFile();
    EXPECT_EQ(nullptr, dialog.getHandle()) << "the window is forgotten after the dialog";
}

TEST(FileDialog, SaveDialogReturnsTheTypedPathAndCancelGivesNil) {
    const std::wstring folder = testFolder();
    awt::FileDialog save(nullptr, zeno::nilString, awt::FileDialog::SAVE);
    save.setFile(folder + L"\\");
    {
        DialogUser user(DialogUser::Action::Confirm, L"written.cfg");
        save.setVisible(true);
        EXPECT_FALSE(user.title.empty()) << "the system's default title";
        EXPECT_EQ(0, user.fileTypeCount) << "without filters no file types are offered";
    }
    EXPECT_TRUE(samePath(folder + L"\\written.cfg", save.getFile())) << save.getFile();

    awt::FileDialog cancelled(nullptr, zeno::nilString, awt::FileDialog::OPEN);
    cancelled.setFile(std::wstring(600, L'x'));
    {
        DialogUser user(DialogUser::Action::Cancel);
        cancelled.setVisible(true);
        EXPECT_EQ(std::wstring(600, L'x'), user.proposedName) << "the whole proposed name was given";
    }
    EXPECT_TRUE(zeno::isNil(cancelled.getFile()));
}

namespace {

// Work for a timer on the test's thread while the modal dialog runs; true when done.
std::function<bool()> timerWork;

void CALLBACK runTimerWork(HWND, UINT, UINT_PTR timer, DWORD) {
    if (timerWork()) {
        KillTimer(nullptr, timer);
    }
}

} // namespace

TEST(FileDialog, SettersApplyWhileShownAndCloseIsACancel) {
    awt::FileDialog dialog(nullptr, L"to be closed", awt::FileDialog::OPEN);
    dialog.setFile(testFolder() + L"\\kept.h");
    dialog.close();  // not shown: nothing happens
    HWND shown = nullptr;
    std::wstring shownClass;
    std::wstring shownTitle;
    RECT shownRect{};
    timerWork = [&] {
        if ((shown = dialog.getHandle()) == nullptr) {
            return false;
        }
        shownClass = className(shown);
        dialog.setTitle(L"closing");
        shownTitle = windowText(shown);
        dialog.setLocation(40, 30);
        dialog.setSize(700, 560);
        GetWindowRect(shown, &shownRect);
        dialog.setVisible(false);
        return true;
    };
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, runTimerWork);
    {
        DialogUser user(DialogUser::Action::Nothing);
        dialog.setVisible(true);
        EXPECT_FALSE(user.hadToForceClose);
    }
    KillTimer(nullptr, timer);
    ASSERT_NE(nullptr, shown);
    EXPECT_EQ(L"#32770", shownClass) << "the dialog's own top-level window";
    EXPECT_FALSE(IsWindow(shown));
    EXPECT_TRUE(zeno::isNil(dialog.getFile()));
    EXPECT_EQ(L"closing", shownTitle) << "the shown dialog takes a new title at once";
    const RECT movedAndSized{40, 30, 740, 590};
    EXPECT_TRUE(EqualRect(&movedAndSized, &shownRect));
}
