#include <atomic>
#include <functional>
#include <string>

#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <shellapi.h>

#include "WidgetTestSupport.h"
#include "awt/AWTException.h"
#include "awt/FileDialog.h"
#include "awt/Label.h"
#include "zeno/Strings.h"

using namespace widgets_test;

namespace {

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

struct DialogSearch {
    DWORD thread;
    HWND found;
};

BOOL CALLBACK findDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<DialogSearch*>(parameter);
    if (GetWindowThreadProcessId(window, nullptr) == search->thread && IsWindowVisible(window) &&
        className(window) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// The visible dialog window of the thread, or null.
HWND dialogOf(DWORD thread) {
    DialogSearch search{thread, nullptr};
    EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The name field of the explorer dialog: an edit, or a combo box with an edit in newer layouts.
HWND nameField(HWND dialog) {
    HWND field = GetDlgItem(dialog, edt1);
    if (field == nullptr) {
        field = GetDlgItem(dialog, cmb13);
    }
    return field;
}

// Plays the user on a thread of its own while the test's thread runs the modal dialog: finds
// the dialog, lets the test look at it, then does what the test asked. If the dialog does not
// go away in time, it is closed, so the test cannot hang.
class DialogUser {
public:
    enum class Action { Confirm, Cancel, Nothing };

    DialogUser(Action action, std::wstring typedName = L"")
        : action(action), typedName(std::move(typedName)), uiThread(GetCurrentThreadId()) {
        thread = CreateThread(nullptr, 0, &DialogUser::main, this, 0, nullptr);
    }
    DialogUser(const DialogUser&) = delete;
    DialogUser& operator=(const DialogUser&) = delete;
    ~DialogUser() {
        WaitForSingleObject(thread, 20000);
        CloseHandle(thread);
    }

    // Filled while the dialog was on screen.
    std::atomic<bool> sawDialog{false};
    std::wstring title;
    std::wstring proposedName;
    std::wstring firstFileType;
    int fileTypeCount = -1;
    RECT rect{};
    std::atomic<bool> hadToForceClose{false};

private:
    static DWORD WINAPI main(LPVOID self) {
        static_cast<DialogUser*>(self)->play();
        return 0;
    }

    void play() {
        HWND dialog = nullptr;
        for (int i = 0; i < 500 && dialog == nullptr; ++i) {
            Sleep(20);
            dialog = dialogOf(uiThread);
        }
        if (dialog == nullptr) {
            closeEverything();
            return;
        }
        Sleep(200);
        sawDialog = true;
        title = windowText(dialog);
        GetWindowRect(dialog, &rect);
        if (HWND field = nameField(dialog)) {
            proposedName = windowText(field);
        }
        HWND types = GetDlgItem(dialog, cmb1);
        if (types != nullptr) {
            fileTypeCount = static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0));
            if (fileTypeCount > 0) {
                std::wstring text(static_cast<std::size_t>(SendMessageW(types, CB_GETLBTEXTLEN, 0, 0)) + 1, L'\0');
                SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(&text[0]));
                firstFileType = text.c_str();
            }
        }
        if (action == Action::Confirm) {
            SetWindowTextW(nameField(dialog), typedName.c_str());
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        } else if (action == Action::Cancel) {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
        }
        // Whatever is still open after a while (the dialog or a box it raised) is cancelled.
        for (int i = 0; i < 400; ++i) {
            Sleep(25);
            HWND open = dialogOf(uiThread);
            if (open == nullptr) {
                return;
            }
            if (i > 0 && i % 120 == 0) {
                hadToForceClose = true;
                PostMessageW(open, WM_COMMAND, IDCANCEL, 0);
                PostMessageW(open, WM_CLOSE, 0, 0);
            }
        }
    }

    static BOOL CALLBACK closeWindow(HWND window, LPARAM thread) {
        if (GetWindowThreadProcessId(window, nullptr) == static_cast<DWORD>(thread) && IsWindowVisible(window)) {
            PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }

    // No dialog showed up: whatever the test's thread shows is closed, so that it cannot hang.
    void closeEverything() {
        hadToForceClose = true;
        EnumWindows(closeWindow, static_cast<LPARAM>(uiThread));
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
    std::wstring folder = std::wstring(temp) + L"kelvane-file-dialog";
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t longForm[MAX_PATH] = {};
    GetLongPathNameW(folder.c_str(), longForm, MAX_PATH);
    return longForm;
}

bool samePath(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The display text the shell gives for an extension, as the dialog's filter should show it.
std::wstring typeNameOf(const wchar_t* extension, const std::wstring& patterns,
                        const std::wstring& fallback) {
    SHFILEINFOW info{};
    if (SHGetFileInfoW(extension, FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                       SHGFI_TYPENAME | SHGFI_USEFILEATTRIBUTES) != 0) {
        return std::wstring(info.szTypeName) + L" (" + patterns + L")";
    }
    return fallback;
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

    std::wstring expected = typeNameOf(L".h", L"*.h", L"h file");
    expected += L'\0';
    expected += L"*.h";
    expected += L'\0';
    expected += L"Sources (*.c; *.cpp)";
    expected += L'\0';
    expected += L"*.c; *.cpp";
    expected += L'\0';
    expected += typeNameOf(L".kvq1", L"*.kvq1; *.kvq2", L"*.kvq1; *.kvq2");
    expected += L'\0';
    expected += L"*.kvq1; *.kvq2";
    expected += L'\0';
    expected += L'\0';
    const std::wstring built = dialog.buildFilterString();
    EXPECT_EQ(expected.size(), built.size());
    EXPECT_EQ(0, std::wmemcmp(expected.data(), built.data(), expected.size()))
        << "the filter without patterns is skipped and the list ends with two NULs";
    ASSERT_EQ(4u, dialog.getFilters().size());
    EXPECT_TRUE(zeno::isNil(dialog.getFilters()[0].description));
    EXPECT_EQ(L"Sources", dialog.getFilters()[1].description);
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
        EXPECT_EQ(typeNameOf(L".h", L"*.h", L"h file"), user.firstFileType);
        EXPECT_EQ(123, user.rect.left) << "the stored location is applied when the dialog opens";
        EXPECT_EQ(77, user.rect.top);
    }
    EXPECT_TRUE(samePath(folder + L"\\chosen.h", dialog.getFile())) << dialog.getFile();
    EXPECT_EQ(nullptr, dialog.getHandle()) << "the window is forgotten after the dialog";
}

TEST(FileDialog, SaveDialogReturnsTheTypedPath) {
    const std::wstring folder = testFolder();
    awt::FileDialog dialog(nullptr, zeno::nilString, awt::FileDialog::SAVE);
    dialog.setFile(folder + L"\\");
    {
        DialogUser user(DialogUser::Action::Confirm, L"written.cfg");
        dialog.setVisible(true);
        EXPECT_TRUE(user.sawDialog);
        EXPECT_FALSE(user.title.empty()) << "the system's default title";
        EXPECT_EQ(0, user.fileTypeCount) << "without filters no file types are offered";
    }
    EXPECT_TRUE(samePath(folder + L"\\written.cfg", dialog.getFile())) << dialog.getFile();
}

TEST(FileDialog, CancelGivesNil) {
    awt::FileDialog dialog(nullptr, zeno::nilString, awt::FileDialog::OPEN);
    dialog.setFile(std::wstring(600, L'x'));
    {
        DialogUser user(DialogUser::Action::Cancel);
        dialog.setVisible(true);
        EXPECT_TRUE(user.sawDialog);
        EXPECT_EQ(std::wstring(600, L'x'), user.proposedName) << "the whole proposed name was given";
    }
    EXPECT_TRUE(zeno::isNil(dialog.getFile()));
}

namespace {

awt::FileDialog* closingDialog = nullptr;
HWND handleWhileShown = nullptr;
std::wstring classWhileShown;
std::wstring titleWhileShown;
RECT rectWhileShown{};

void CALLBACK closeShownDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    if (closingDialog->getHandle() != nullptr) {
        KillTimer(nullptr, timer);
        handleWhileShown = closingDialog->getHandle();
        classWhileShown = className(handleWhileShown);
        closingDialog->setTitle(L"closing");
        titleWhileShown = windowText(handleWhileShown);
        closingDialog->setLocation(40, 30);
        closingDialog->setSize(700, 560);
        GetWindowRect(handleWhileShown, &rectWhileShown);
        closingDialog->setVisible(false);
    }
}

} // namespace

TEST(FileDialog, CloseWhileShownIsACancel) {
    awt::FileDialog dialog(nullptr, L"to be closed", awt::FileDialog::OPEN);
    dialog.setFile(testFolder() + L"\\kept.h");
    dialog.close();  // not shown: nothing happens
    closingDialog = &dialog;
    handleWhileShown = nullptr;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, closeShownDialog);
    {
        DialogUser user(DialogUser::Action::Nothing);
        dialog.setVisible(true);
        EXPECT_FALSE(user.hadToForceClose);
    }
    KillTimer(nullptr, timer);
    ASSERT_NE(nullptr, handleWhileShown);
    EXPECT_EQ(L"#32770", classWhileShown) << "the dialog's own top-level window";
    EXPECT_FALSE(IsWindow(handleWhileShown));
    EXPECT_TRUE(zeno::isNil(dialog.getFile()));
    EXPECT_EQ(L"closing", dialog.getTitle());
    EXPECT_EQ(L"closing", titleWhileShown) << "the shown dialog takes a new title at once";
    EXPECT_EQ(40, rectWhileShown.left) << "moved and sized while shown";
    EXPECT_EQ(30, rectWhileShown.top);
    EXPECT_EQ(700, rectWhileShown.right - rectWhileShown.left);
    EXPECT_EQ(560, rectWhileShown.bottom - rectWhileShown.top);
}
