#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

// A native window class whose procedure notes the keys that reach it, to see whether the toolkit
// passed a message on. Its WM_GETDLGCODE answer is set per window.
struct ProbeMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
};

std::vector<ProbeMessage>& probeJournal() {
    static std::vector<ProbeMessage> journal;
    return journal;
}

LRESULT CALLBACK probeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_GETDLGCODE) {
        return GetWindowLongPtrW(window, 0);
    }
    if (message >= WM_KEYFIRST && message <= WM_KEYLAST) {
        probeJournal().push_back(ProbeMessage{window, message, wParam});
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* probeClass() {
    static ATOM atom = 0;
    if (atom == 0) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = probeProc;
        windowClass.cbWndExtra = sizeof(LONG_PTR);
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"AwtCoreProbe";
        atom = RegisterClassExW(&windowClass);
    }
    return L"AwtCoreProbe";
}

void setProbeDialogCode(HWND window, LRESULT code) {
    SetWindowLongPtrW(window, 0, code);
}

bool probeSaw(HWND window, UINT message, WPARAM wParam) {
    for (const ProbeMessage& seen : probeJournal()) {
        if (seen.window == window && seen.message == message && seen.wParam == wParam) {
            return true;
        }
    }
    return false;
}

// a, b, (disabled), [group: c, d, (hidden)], e in a frame; the frame is a group too.
struct TraversalScene {
    TraversalScene() {
        // Positions are in the frame's window coordinates, so below its caption.
        for (auto [control, x, y] : {std::tuple{a, 20, 40}, {b, 20, 70}, {disabled, 20, 100}, {e, 20, 230},
                                      {c, 10, 10}, {d, 10, 50}, {hidden, 10, 90}}) {
            control->setBounds(x, y, 80, 25);
        }
        disabled->setEnabled(false);
        hidden->setVisible(false);
        group->setGroup(true);
        group->setBounds(120, 40, 200, 150);
        for (awt::Component* child : std::initializer_list<awt::Component*>{a, b, disabled, group, e}) {
            frame.add(child);
        }
        group->add(c);
        group->add(d);
        group->add(hidden);
        frame.createPeer();
        settle();
    }

    TestFrame frame;
    TestControl* a = new TestControl();
    TestControl* b = new TestControl();
    TestControl* disabled = new TestControl();
    TestPanel* group = new TestPanel(WS_BORDER);
    TestControl* c = new TestControl();
    TestControl* d = new TestControl();
    TestControl* hidden = new TestControl();
    TestControl* e = new TestControl();
};

} // namespace

TEST(FocusTraversal, TabAndShiftTabVisitEveryCandidateAndWrapArrowsStopAtGroups) {
    TraversalScene s;
    struct Row {
        TestControl* from;
        UINT key;
        bool shift;
        awt::Component* to;
    };
    const Row rows[] = {
        {s.a, VK_TAB, false, s.b}, {s.b, VK_TAB, false, s.c}, {s.c, VK_TAB, false, s.d},
        {s.d, VK_TAB, false, s.e}, {s.e, VK_TAB, false, s.a}, {s.a, VK_TAB, true, s.e},
        {s.e, VK_TAB, true, s.d}, {s.c, VK_TAB, true, s.b}, {s.c, VK_DOWN, false, s.d},
        {s.d, VK_RIGHT, false, s.d}, {s.d, VK_UP, false, s.c}, {s.c, VK_LEFT, false, s.c},
        // Into a group from outside is fine; out of the frame, which is a group, is not.
        {s.b, VK_RIGHT, false, s.c}, {s.a, VK_UP, false, s.a}, {s.e, VK_DOWN, false, s.e},
        // Backwards into a group from after it: the last candidate inside.
        {s.e, VK_UP, false, s.d},
    };
    for (const Row& row : rows) {
        row.from->requestFocus();
        HeldKeys held(row.shift ? std::initializer_list<int>{VK_SHIFT} : std::initializer_list<int>{});
        SendMessageW(row.from->getHWND(), WM_KEYDOWN, row.key, 0);
        SendMessageW(GetFocus(), WM_KEYUP, row.key, 0);
        EXPECT_EQ(row.to, awt::Component::getFocusedComponent()) << "key " << row.key << " shift " << row.shift
                                                                 << " row " << (&row - rows);
    }
    s.group->requestFocus();
    EXPECT_EQ(s.c, awt::Component::getFocusedComponent());
    EXPECT_EQ(s.a, awt::Component::findCandidateInside(&s.frame, true));
    EXPECT_EQ(s.e, awt::Component::findCandidateInside(&s.frame, false));
    EXPECT_EQ(nullptr, s.d->findFocusCandidate(true, false));
    EXPECT_EQ(s.e, s.d->findFocusCandidate(true, true));
}

TEST(FocusTraversal, KeysTheControlWantsOrWithModifiersArePassedOn) {
    TestFrame frame;
    auto* probe = new TestControl(probeClass(), WS_TABSTOP, L"");
    probe->setBounds(20, 40, 80, 25);
    auto* next = new TestControl();
    next->setBounds(20, 80, 80, 25);
    frame.add(probe);
    frame.add(next);
    frame.createPeer();
    settle();
    HWND window = probe->getHWND();
    struct Row {
        LRESULT dialogCode;
        bool control;
        UINT message;
        WPARAM key;
        bool passedOn;
        awt::Component* focused;
    };
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
        setProbeDialogCode(window, row.dialogCode);
        probeJournal().clear();
        HeldKeys held(row.control ? std::initializer_list<int>{VK_CONTROL} : std::initializer_list<int>{});
        SendMessageW(window, row.message, row.key, 0);
        EXPECT_EQ(row.passedOn, probeSaw(window, row.message, row.key)) << "row " << (&row - rows);
        EXPECT_EQ(row.focused, awt::Component::getFocusedComponent()) << "row " << (&row - rows);
    }
}

TEST(FocusTraversal, MultiLineEditKeepsTabAndSingleLineEditPassesIt) {
    TestFrame frame;
    auto* area = new TestControl(L"EDIT", WS_TABSTOP | ES_MULTILINE | ES_WANTRETURN, L"");
    area->setBounds(20, 40, 150, 60);
    auto* field = new TestControl(L"EDIT", WS_TABSTOP | ES_AUTOHSCROLL, L"");
    field->setBounds(20, 110, 150, 25);
    frame.add(area);
    frame.add(field);
    frame.createPeer();
    settle();
    HeldKeys none;
    for (TestControl* edit : {area, field}) {
        edit->requestFocus();
        for (UINT message : {WM_KEYDOWN, WM_CHAR}) {
            SendMessageW(edit->getHWND(), message, VK_TAB, 0);
        }
    }
    EXPECT_EQ(L"\t", windowText(area->getHWND()));
    EXPECT_EQ(L"", windowText(field->getHWND()));
    EXPECT_EQ(area, awt::Component::getFocusedComponent());
}
