#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

// A native window class that answers WM_GETDLGCODE with probeCode and notes the last key
// message that reached it, to see whether the toolkit passed a message on.
LRESULT probeCode = 0;
MSG probeSaw{};

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) { return probeCode; }
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) { probeSaw = MSG{window, message, wParam, lParam, 0, {}}; }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* probeClass() {
    static const WNDCLASSW windowClass{0, probeProc, 0, 0, GetModuleHandleW(nullptr), {}, {}, {}, {}, L"AwtCoreProbe"};
    static const ATOM registered = RegisterClassW(&windowClass);
    return registered != 0 ? windowClass.lpszClassName : nullptr;
}

} // namespace

TEST(FocusTraversal, TabAndShiftTabVisitEveryCandidateAndWrapArrowsStopAtGroups) {
    // a, b, (disabled), [group: c, d, (hidden)], e in a frame, which is a group too; positions are
    // in the frame's window coordinates, so below its caption.
    TestFrame frame;
    TestControl* a = place(&frame, new TestControl(), 20, 40, 80, 25);
    TestControl* b = place(&frame, new TestControl(), 20, 70, 80, 25);
    place(&frame, new TestControl(), 20, 100, 80, 25)->setEnabled(false);
    TestPanel* group = place(&frame, new TestPanel(WS_BORDER), 120, 40, 200, 150);
    TestControl* c = place(group, new TestControl(), 10, 10, 80, 25);
    TestControl* d = place(group, new TestControl(), 10, 50, 80, 25);
    place(group, new TestControl(), 10, 90, 80, 25)->setVisible(false);
    TestControl* e = place(&frame, new TestControl(), 20, 230, 80, 25);
    group->setGroup(true);
    frame.createPeer();
    settle();
    struct Row { TestControl* from; UINT key; bool shift; awt::Component* to; };
    const Row rows[] = {
        {a, VK_TAB, false, b}, {b, VK_TAB, false, c}, {c, VK_TAB, false, d}, {d, VK_TAB, false, e},
        {e, VK_TAB, false, a}, {a, VK_TAB, true, e}, {e, VK_TAB, true, d}, {c, VK_TAB, true, b},
        {c, VK_DOWN, false, d}, {d, VK_RIGHT, false, d}, {d, VK_UP, false, c}, {c, VK_LEFT, false, c},
        // Into a group from outside is fine; out of the frame, which is a group, is not.
        {b, VK_RIGHT, false, c}, {a, VK_UP, false, a}, {e, VK_DOWN, false, e},
        // Backwards into a group from after it: the last candidate inside.
        {e, VK_UP, false, d},
    };
    for (const Row& row : rows) {
        row.from->requestFocus();
        HeldKeys held(row.shift ? std::initializer_list<int>{VK_SHIFT} : std::initializer_list<int>{});
        SendMessageW(row.from->getHWND(), WM_KEYDOWN, row.key, 0);
        SendMessageW(GetFocus(), WM_KEYUP, row.key, 0);
        EXPECT_EQ(row.to, awt::Component::getFocusedComponent()) << "row " << (&row - rows);
    }
    // Focusing a container focuses its first candidate.
    group->requestFocus();
    EXPECT_EQ(c, awt::Component::getFocusedComponent());
}

TEST(FocusTraversal, KeysTheControlWantsOrWithModifiersArePassedOn) {
    TestFrame frame;
    auto* probe = place(&frame, new TestControl(probeClass(), WS_TABSTOP, L""), 20, 40, 80, 25);
    auto* next = place(&frame, new TestControl(), 20, 80, 80, 25);
    frame.createPeer();
    settle();
    struct Row { LRESULT dialogCode; bool control; UINT message; WPARAM key; bool passedOn; awt::Component* focused; };
    const Row rows[] = {
        // Ctrl+Tab is never the toolkit's, neither are arrows with a modifier.
        {0, true, WM_KEYDOWN, VK_TAB, true, probe}, {0, true, WM_KEYDOWN, VK_DOWN, true, probe},
        // Released and typed Tabs, and characters with the codes of arrow keys, are consumed.
        {0, false, WM_KEYUP, VK_TAB, false, probe}, {0, false, WM_CHAR, L'\t', false, probe},
        {0, false, WM_CHAR, L'%', false, probe}, {0, false, WM_CHAR, L'(', false, probe},
        {0, false, WM_CHAR, L'a', true, probe},
        // A control that wants arrows gets them and the characters with their codes, not Tab.
        {DLGC_WANTARROWS, false, WM_KEYDOWN, VK_DOWN, true, probe}, {DLGC_WANTARROWS, false, WM_CHAR, L'&', true, probe},
        {DLGC_WANTARROWS, false, WM_KEYDOWN, VK_TAB, false, next},
        {DLGC_WANTTAB, false, WM_KEYDOWN, VK_TAB, true, probe}, {DLGC_WANTALLKEYS, false, WM_KEYDOWN, VK_TAB, true, probe},
        {DLGC_WANTALLKEYS, false, WM_KEYDOWN, VK_LEFT, true, probe},
    };
    for (const Row& row : rows) {
        probe->requestFocus();
        probeCode = row.dialogCode;
        probeSaw = MSG{};
        HeldKeys held(row.control ? std::initializer_list<int>{VK_CONTROL} : std::initializer_list<int>{});
        SendMessageW(probe->getHWND(), row.message, row.key, 0);
        EXPECT_EQ(row.passedOn, probeSaw.message == row.message && probeSaw.wParam == row.key) << "row " << (&row - rows);
        EXPECT_EQ(row.focused, awt::Component::getFocusedComponent()) << "row " << (&row - rows);
    }
}
