#include "WidgetTestComponents.h"
#include "awt/SingleListSelectionModel.h"

namespace {

using Texts = std::vector<std::wstring>;
const Texts NAMES{L"STATUS_SUCCESS", L"STATUS_WAIT_1", L"STATUS_ACCESS_VIOLATION"};

Texts itemsOf(HWND listBox) {
    Texts result(static_cast<std::size_t>(SendMessageW(listBox, LB_GETCOUNT, 0, 0)));
    for (std::size_t i = 0; i < result.size(); ++i) {
        result[i].resize(static_cast<std::size_t>(SendMessageW(listBox, LB_GETTEXTLEN, i, 0)));
        SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(result[i].data()));
    }
    return result;
}

// A list holding NAMES with a listener for its item and action events.
awt::List* namesList(TestWindow& window, EventCounter& listener) {
    auto* list = window.put(new awt::List(), 10, 10, 240, 120);
    for (const std::wstring& name : NAMES) {
        list->add(name);
    }
    list->addItemListener(&listener);
    list->addActionListener(&listener);
    return list;
}

} // namespace

// The user's clicks and keys and the program's calls select alike and notify the same; a
// selection made before the window is the list box's when it comes. Each step: the selection,
// the list box's rows and the events that came.
TEST(List, UserAndProgramSelectAndClearAlike) {
    TestWindow window;
    Texts journal;
    EventCounter listener(L"list", &journal);
    auto* list = namesList(window, listener);
    list->select(2);
    window.createPeer();
    HWND hwnd = list->getHWND();
    EXPECT_EQ(2, SendMessageW(hwnd, LB_GETCURSEL, 0, 0)) << "the selection made before the window";
    EXPECT_FAILURE(list->select(3), zeno::IndexOutOfBoundsException, L"index: 3 (must be 0<=index<3)", NO_CODE);
    EXPECT_FAILURE(list->select(-2), zeno::IndexOutOfBoundsException, L"index: -2 (must be 0<=index<3)", NO_CODE);
    EXPECT_FAILURE(list->insert(L"x", 4), zeno::IndexOutOfBoundsException, L"index: 4 (must be 0<=index<4)", NO_CODE);
    EXPECT_EQ(3, list->getItemCount());
    const Texts item{L"list:item"};
    EXPECT_EQ(item, std::exchange(journal, {})) << "the selection only";

    auto clickOn = [&](int index, std::initializer_list<UINT> presses) {
        RECT rect{};
        SendMessageW(hwnd, LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&rect));
        const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        for (UINT press : presses) {
            SendMessageW(hwnd, press, MK_LBUTTON, at);
            SendMessageW(hwnd, WM_LBUTTONUP, 0, at);
        }
    };
    auto down = [&] { SendMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 1); };
    auto foreignRow = [&] { SendMessageW(hwnd, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"foreign")); };
    const struct { std::function<void()> input; int selected; Texts rows; Texts events; } steps[] = {
        {[&] { clickOn(1, {WM_LBUTTONDOWN}); }, 1, NAMES, item},
        {down, 2, NAMES, item},
        {down, 2, NAMES, {}},  // past the last item nothing changes
        {[&] { clickOn(0, {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}); }, 0, NAMES, {L"list:item", L"list:action"}},
        {[&] { list->select(0); }, 0, NAMES, {}},  // the selected index again fires nothing
        {[&] { list->select(-1), list->clearSelection(); }, -1, NAMES, item},  // cleared once, then nothing to clear
        {[&] { list->select(1), list->removeAll(); }, -1, {}, {L"list:item", L"list:item"}},
        {[&] { list->add(L"two"), list->removeAll(); }, -1, {}, {}},  // without a selection nothing is reported
        {[&] { foreignRow(), list->removeAll(); }, -1, {L"foreign"}, {}}};  // an empty list sends nothing
    for (const auto& step : steps) {
        SCOPED_TRACE(&step - steps);
        step.input();
        settle();
        EXPECT_EQ(step.selected, list->getSelectedIndex());
        EXPECT_EQ(step.selected, SendMessageW(hwnd, LB_GETCURSEL, 0, 0)) << "the list box's own (LB_ERR: none)";
        EXPECT_EQ(step.rows, itemsOf(hwnd));
        EXPECT_EQ(step.events, std::exchange(journal, {}));
    }
    EXPECT_EQ(list, listener.lastSource);
    EXPECT_EQ(0, list->getItemCount());
}

// Without a window the model moves the selection; with one the list box does and is read back.
// Scrolled down to a selection far below, then back to the top, the selection stays.
TEST(List, InsertingMovesTheSelectionWithOrWithoutWindow) {
    for (bool withWindow : {false, true}) {
        SCOPED_TRACE(withWindow);
        TestWindow window;
        EventCounter listener;
        auto* list = namesList(window, listener);
        if (withWindow) {
            window.createPeer();
        }
        list->select(2);
        list->insert(L"before", 1);
        list->insert(L"after", 4);
        EXPECT_EQ(3, list->getSelectedIndex());
        EXPECT_EQ(2, listener.items) << "an item after the selection changes nothing";
        EXPECT_EQ(L"after", list->getItem(4));
        if (HWND hwnd = list->getHWND()) {
            EXPECT_EQ(3, SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
            EXPECT_EQ((Texts{NAMES[0], L"before", NAMES[1], NAMES[2], L"after"}), itemsOf(hwnd));
            for (int row = 0; row < 40; ++row) {
                list->add(L"row");
            }
            list->select(44);
            EXPECT_GT(SendMessageW(hwnd, LB_GETTOPINDEX, 0, 0), 0);
            list->scrollToTop();
            EXPECT_EQ(0, SendMessageW(hwnd, LB_GETTOPINDEX, 0, 0));
            EXPECT_EQ(44, SendMessageW(hwnd, LB_GETCURSEL, 0, 0)) << "the selection stays";
        }
    }
}

// Drawing resumes only when every false has been matched (one made before the window too); an
// unmatched true does not make the next false ineffective.
TEST(List, RedrawSwitchesNestAndListBoxFailuresAreReportedByName) {
    TestWindow window;
    auto* list = window.put(new Rigged<awt::List>());
    list->add(L"a");
    list->setRedraw(false);
    window.createPeer();
    for (bool redraw : {false, true, true, true, false, true}) {
        list->setRedraw(redraw);
    }
    EXPECT_EQ((std::vector<int>{0, 0, 1, 1, 0, 1}), list->redraws);

    // The list box lost its items behind the list's back: inserting past its end fails.
    SendMessageW(list->getHWND(), LB_RESETCONTENT, 0, 0);
    EXPECT_FAILURE(list->insert(L"b", 1), awt::AWTException, L"::SendMessage(LB_ADDSTRING) failed: LB_ERR", NO_CODE);
    EXPECT_EQ(2, list->getItemCount()) << "the item stays although the window did not take it";
    const struct { UINT message; LRESULT result; std::function<void()> call; const wchar_t* text; } cases[] = {
        {LB_INSERTSTRING, LB_ERRSPACE, [&] { list->insert(L"c", 0); }, L"::SendMessage(LB_ADDSTRING) failed: LB_ERRSPACE"},
        {LB_INSERTSTRING, -7, [&] { list->insert(L"d", 0); }, L"::SendMessage(LB_ADDSTRING) failed: -7"},
        {LB_GETITEMHEIGHT, LB_ERR, [&] { list->getPreferredSize(); }, L"::SendMessage(LB_GETITEMHEIGHT) failed: LB_ERR"}};
    for (const auto& each : cases) {
        list->failing = each.message;
        list->failure = each.result;
        EXPECT_FAILURE(each.call(), awt::AWTException, each.text, NO_CODE);
    }
    list->failing = 0;
    EXPECT_GT(list->getPreferredSize().height, 0) << "nothing was cached by the failure";
}

TEST(SingleListSelectionModel, FollowsRemovedItems) {
    awt::SingleListSelectionModel model(nullptr);
    EXPECT_FALSE(model.itemsRemoved(0, 5)) << "nothing selected";
    EXPECT_TRUE(model.select(nullptr, 4));
    EXPECT_FALSE(model.itemsRemoved(5, 2)) << "after the selection";
    EXPECT_TRUE(model.itemsRemoved(1, 2));
    EXPECT_EQ(2, model.getSelectedIndex());
    EXPECT_TRUE(model.itemsRemoved(1, 2)) << "the selected item itself";
    EXPECT_EQ(-1, model.getSelectedIndex());
    EXPECT_FALSE(model.addSelection(nullptr, 0)) << "one selection cannot grow";
}
