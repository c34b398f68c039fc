#include <algorithm>

#include "WidgetTestSupport.h"
#include "awt/AWTException.h"
#include "awt/List.h"
#include "awt/SingleListSelectionModel.h"

using namespace widgets_test;

namespace {

// A list that notes the redraw switches its window receives.
class RedrawJournalList : public awt::List {
public:
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SETREDRAW) {
            redraws.push_back(static_cast<int>(wParam));
        }
        return awt::List::windowProc(message, wParam, lParam);
    }
    std::vector<int> redraws;
};

std::wstring itemText(HWND listBox, int index) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(SendMessageW(listBox, LB_GETTEXTLEN, index, 0)) + 1);
    SendMessageW(listBox, LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

std::vector<std::wstring> itemsOf(HWND listBox) {
    std::vector<std::wstring> result;
    const auto count = static_cast<int>(SendMessageW(listBox, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        result.push_back(itemText(listBox, i));
    }
    return result;
}

int currentSelection(HWND listBox) { return static_cast<int>(SendMessageW(listBox, LB_GETCURSEL, 0, 0)); }

POINT itemCentre(HWND listBox, int index) {
    RECT rect{};
    SendMessageW(listBox, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Answers chosen list-box messages with a failure value in front of the component's procedure.
struct FailingListBox {
    static UINT failingMessage;
    static LRESULT failure;
    static WNDPROC next;
    static LRESULT CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == failingMessage) {
            return failure;
        }
        return CallWindowProcW(next, window, message, wParam, lParam);
    }
    static void install(HWND window, UINT message, LRESULT result) {
        failingMessage = message;
        failure = result;
        next = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&proc)));
    }
    static void remove(HWND window) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(next));
    }
};
UINT FailingListBox::failingMessage = 0;
LRESULT FailingListBox::failure = 0;
WNDPROC FailingListBox::next = nullptr;

const std::vector<std::wstring> NAMES{L"STATUS_SUCCESS", L"STATUS_WAIT_1", L"STATUS_ACCESS_VIOLATION"};

} // namespace

TEST(List, PreferredSizeIsTheWidestItemByThreeRows) {
    TestWindow window;
    auto* list = new awt::List();
    for (const std::wstring& name : NAMES) {
        list->add(name);
    }
    window.add(list);
    EXPECT_EQ(awt::Dimension{}, list->getPreferredSize());
    window.createPeer();
    HWND hwnd = list->getHWND();

    auto expected = [&] {
        const FontProbe probe(hwnd);
        int widest = 0;
        for (const std::wstring& item : itemsOf(hwnd)) {
            widest = std::max(widest, static_cast<int>(probe.extent(item).cx));
        }
        const awt::Insets frame = frameOf(hwnd);
        const auto itemHeight = static_cast<int>(SendMessageW(hwnd, LB_GETITEMHEIGHT, 0, 0));
        return awt::Dimension{frame.left + frame.right + 2 * GetSystemMetrics(SM_CXBORDER) +
                                  GetSystemMetrics(SM_CXVSCROLL) + widest,
                              3 * itemHeight + frame.top + frame.bottom};
    };
    const awt::Dimension first = list->getPreferredSize();
    EXPECT_EQ(expected(), first);

    list->insert(L"STATUS_INVALID_PARAMETER_MIX_AND_MATCH", 1);
    EXPECT_EQ(expected(), list->getPreferredSize());
    EXPECT_GT(list->getPreferredSize().width, first.width);

    // Items added while the list has no window count for its next window too.
    list->destroyPeer();
    list->add(L"STATUS_A_MUCH_LONGER_NAME_THAN_ANY_OF_THE_OTHER_ITEMS");
    list->createPeer();
    hwnd = list->getHWND();
    EXPECT_EQ(expected(), list->getPreferredSize());

    list->removeAll();
    EXPECT_EQ(expected(), list->getPreferredSize()) << "no items: the frame and the scroll bar";
}

TEST(List, WindowShowsItemsAndSelectionMadeBeforeIt) {
    TestWindow window;
    auto* list = new awt::List();
    window.add(list);
    EventCounter items;
    list->addItemListener(&items);
    for (const std::wstring& name : NAMES) {
        list->add(name);
    }
    list->select(2);
    EXPECT_EQ(1, items.items);
    window.createPeer();
    HWND hwnd = list->getHWND();
    wchar_t name[32] = {};
    GetClassNameW(hwnd, name, 32);
    EXPECT_EQ(std::wstring(L"ListBox"), name);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const DWORD wanted = LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_TABSTOP | WS_VSCROLL;
    EXPECT_EQ(wanted, style & wanted);
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(NAMES, itemsOf(hwnd));
    EXPECT_EQ(2, currentSelection(hwnd));

    // A new window is filled again and shows the same selection.
    list->destroyPeer();
    list->createPeer();
    EXPECT_EQ(NAMES, itemsOf(list->getHWND()));
    EXPECT_EQ(2, currentSelection(list->getHWND()));
    EXPECT_EQ(1, items.items) << "recreating is no selection change";
}

TEST(List, UserSelectsWithMouseAndKeysAndDoubleClicks) {
    TestWindow window;
    auto* list = new awt::List();
    window.add(list);
    list->setBounds(10, 10, 240, 120);
    for (const std::wstring& name : NAMES) {
        list->add(name);
    }
    std::vector<std::wstring> journal;
    EventCounter listener(L"list", &journal);
    list->addItemListener(&listener);
    list->addActionListener(&listener);
    window.createPeer();
    HWND hwnd = list->getHWND();

    const POINT second = itemCentre(hwnd, 1);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(second.x, second.y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(second.x, second.y));
    settle();
    EXPECT_EQ(1, list->getSelectedIndex());
    EXPECT_EQ(std::vector<std::wstring>{L"list:item"}, journal);
    EXPECT_EQ(list, listener.lastSource);

    journal.clear();
    SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 1);
    SendMessageW(hwnd, WM_KEYUP, VK_DOWN, 1);
    settle();
    EXPECT_EQ(2, list->getSelectedIndex()) << "the arrow key is the list box's, not focus traversal";
    EXPECT_EQ(std::vector<std::wstring>{L"list:item"}, journal);

    journal.clear();
    SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 1);
    settle();
    EXPECT_EQ(2, list->getSelectedIndex());
    EXPECT_TRUE(std::count(journal.begin(), journal.end(), L"list:item") == 0)
        << "past the last item nothing changes: " << journal.size();

    journal.clear();
    const POINT first = itemCentre(hwnd, 0);
    SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(first.x, first.y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(first.x, first.y));
    SendMessageW(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(first.x, first.y));
    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(first.x, first.y));
    settle();
    EXPECT_EQ(0, list->getSelectedIndex());
    EXPECT_EQ(1, std::count(journal.begin(), journal.end(), L"list:item"));
    EXPECT_EQ(1, std::count(journal.begin(), journal.end(), L"list:action"));
}

TEST(List, ProgramSelectionNotifiesLikeTheUsers) {
    TestWindow window;
    auto* list = new awt::List();
    window.add(list);
    for (const std::wstring& name : NAMES) {
        list->add(name);
    }
    EventCounter listener;
    list->addItemListener(&listener);
    window.createPeer();
    HWND hwnd = list->getHWND();

    list->select(2);
    EXPECT_EQ(1, listener.items);
    EXPECT_EQ(2, currentSelection(hwnd));
    list->select(2);
    EXPECT_EQ(1, listener.items) << "the selected index again";
    list->select(-1);
    EXPECT_EQ(2, listener.items);
    EXPECT_EQ(-1, list->getSelectedIndex());
    EXPECT_EQ(LB_ERR, currentSelection(hwnd));
    list->clearSelection();
    EXPECT_EQ(2, listener.items) << "nothing to clear";

    EXPECT_FAILURE(list->select(3), zeno::IndexOutOfBoundsException, L"index: 3 (must be 0<=index<3)",
                   NO_CODE);
    EXPECT_FAILURE(list->select(-2), zeno::IndexOutOfBoundsException, L"index: -2 (must be 0<=index<3)",
                   NO_CODE);
    EXPECT_FAILURE(list->insert(L"x", 4), zeno::IndexOutOfBoundsException,
                   L"index: 4 (must be 0<=index<4)", NO_CODE);
    EXPECT_EQ(3, list->getItemCount());
    EXPECT_EQ(2, listener.items);
}

TEST(List, InsertingMovesTheSelectionWithOrWithoutWindow) {
    EventCounter listener;
    {
        awt::List list;
        list.addItemListener(&listener);
        for (const std::wstring& name : NAMES) {
            list.add(name);
        }
        list.select(2);
        listener.items = 0;
        list.insert(L"before", 1);
        EXPECT_EQ(3, list.getSelectedIndex());
        EXPECT_EQ(1, listener.items);
        list.insert(L"after", 4);
        EXPECT_EQ(3, list.getSelectedIndex());
        EXPECT_EQ(1, listener.items) << "an item after the selection changes nothing";
        EXPECT_EQ(L"before", list.getItem(1));
        EXPECT_EQ(L"after", list.getItem(4));
    }

    TestWindow window;
    auto* list = new awt::List();
    window.add(list);
    list->addItemListener(&listener);
    for (const std::wstring& name : NAMES) {
        list->add(name);
    }
    window.createPeer();
    list->select(2);
    listener.items = 0;
    list->insert(L"before", 0);
    EXPECT_EQ(3, list->getSelectedIndex()) << "read back from the list box";
    EXPECT_EQ(3, currentSelection(list->getHWND()));
    EXPECT_EQ(1, listener.items);
    list->insert(L"last", 4);
    EXPECT_EQ(1, listener.items);
    EXPECT_EQ((std::vector<std::wstring>{L"before", NAMES[0], NAMES[1], NAMES[2], L"last"}),
              itemsOf(list->getHWND()));
}

TEST(List, RemoveAllClearsItemsAndSelection) {
    TestWindow window;
    auto* list = new awt::List();
    window.add(list);
    EventCounter listener;
    list->addItemListener(&listener);
    window.createPeer();
    HWND hwnd = list->getHWND();

    // An empty list sends nothing: the window's items (added behind the list's back) stay.
    SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"foreign"));
    list->removeAll();
    EXPECT_EQ(1, SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, listener.items);
    SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);

    for (const std::wstring& name : NAMES) {
        list->add(name);
    }
    list->select(1);
    list->removeAll();
    EXPECT_EQ(0, list->getItemCount());
    EXPECT_EQ(0, SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(-1, list->getSelectedIndex());
    EXPECT_EQ(2, listener.items) << "the select and the clearing";

    list->add(L"one");
    list->removeAll();
    EXPECT_EQ(2, listener.items) << "without a selection nothing is reported";
}

TEST(List, RedrawSwitchesNest) {
    TestWindow window;
    auto* list = new RedrawJournalList();
    window.add(list);
    list->setRedraw(false);
    window.createPeer();
    EXPECT_TRUE(list->redraws.empty()) << "no window yet";
    list->setRedraw(false);
    list->setRedraw(true);
    list->setRedraw(true);
    EXPECT_EQ((std::vector<int>{0, 0, 1}), list->redraws)
        << "drawing resumes only when every false has been matched";
    list->setRedraw(true);
    list->setRedraw(false);
    EXPECT_EQ((std::vector<int>{0, 0, 1, 1, 0}), list->redraws)
        << "an unmatched true does not make the next false ineffective";
    list->setRedraw(true);
}

TEST(List, ListBoxFailuresAreReportedByName) {
    TestWindow window;
    auto* list = new awt::List();
    window.add(list);
    list->add(L"a");
    window.createPeer();
    HWND hwnd = list->getHWND();

    // The list box lost its items behind the list's back: inserting past its end fails.
    SendMessageW(hwnd, LB_RESETCONTENT, 0, 0);
    EXPECT_FAILURE(list->insert(L"b", 1), awt::AWTException, L"::SendMessage(LB_ADDSTRING) failed: LB_ERR",
                   NO_CODE);
    EXPECT_EQ(2, list->getItemCount()) << "the item stays although the window did not take it";

    FailingListBox::install(hwnd, LB_INSERTSTRING, LB_ERRSPACE);
    EXPECT_FAILURE(list->insert(L"c", 0), awt::AWTException,
                   L"::SendMessage(LB_ADDSTRING) failed: LB_ERRSPACE", NO_CODE);
    FailingListBox::remove(hwnd);
    FailingListBox::install(hwnd, LB_INSERTSTRING, -7);
    EXPECT_FAILURE(list->insert(L"d", 0), awt::AWTException, L"::SendMessage(LB_ADDSTRING) failed: -7",
                   NO_CODE);
    FailingListBox::remove(hwnd);
    FailingListBox::install(hwnd, LB_GETITEMHEIGHT, LB_ERR);
    EXPECT_FAILURE(list->getPreferredSize(), awt::AWTException,
                   L"::SendMessage(LB_GETITEMHEIGHT) failed: LB_ERR", NO_CODE);
    FailingListBox::remove(hwnd);
    EXPECT_GT(list->getPreferredSize().height, 0) << "nothing was cached by the failure";
}

TEST(SingleListSelectionModel, FollowsInsertedAndRemovedItems) {
    awt::SingleListSelectionModel model(nullptr);
    EXPECT_EQ(0u, model.getListBoxStyle());
    EXPECT_FALSE(model.hasSelection());
    EXPECT_FALSE(model.itemsRemoved(0, 5)) << "nothing selected";
    EXPECT_TRUE(model.select(nullptr, 4));
    EXPECT_FALSE(model.itemsRemoved(5, 2)) << "after the selection";
    EXPECT_TRUE(model.itemsRemoved(1, 2));
    EXPECT_EQ(2, model.getSelectedIndex());
    EXPECT_TRUE(model.itemsRemoved(1, 2)) << "the selected item itself";
    EXPECT_EQ(-1, model.getSelectedIndex());

    EXPECT_TRUE(model.select(nullptr, 1));
    EXPECT_FALSE(model.addSelection(nullptr, 0)) << "one selection cannot grow";
    EXPECT_EQ(1, model.getSelectedIndex());
    EXPECT_FALSE(model.deselect(nullptr, 0));
    EXPECT_TRUE(model.deselect(nullptr, 1));
    EXPECT_FALSE(model.deselect(nullptr, -1)) << "nothing to deselect";
    EXPECT_FALSE(model.clearSelection(nullptr));
    EXPECT_THROW(model.getSelectedIndices(), zeno::IllegalStateException);
}
