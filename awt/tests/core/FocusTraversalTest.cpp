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
        a = button(20, 40);
        b = button(20, 70);
        disabled = button(20, 100);
        disabled->setEnabled(false);
        group = new TestPanel(WS_BORDER);
        group->setGroup(true);
        group->setBounds(120, 40, 200, 150);
        c = button(10, 10);
        d = button(10, 50);
        hidden = button(10, 90);
        hidden->setVisible(false);
        e = button(20, 230);
        frame.add(a);
        frame.add(b);
        frame.add(disabled);
        frame.add(group);
        group->add(c);
        group->add(d);
        group->add(hidden);
        frame.add(e);
        frame.createPeer();
        settle();
    }

    static TestControl* button(int x, int y) {
        auto* control = new TestControl();
        control->setBounds(x, y, 80, 25);
        return control;
    }

    // Presses the key on the focused component and tells which component has the focus after.
    awt::Component* press(UINT key) {
        HWND focus = GetFocus();
        SendMessageW(focus, WM_KEYDOWN, key, 0);
        SendMessageW(focus, WM_KEYUP, key, 0);
        return awt::Component::getFocusedComponent();
    }

    TestFrame frame;
    TestControl* a;
    TestControl* b;
    TestControl* disabled;
    TestPanel* group;
    TestControl* c;
    TestControl* d;
    TestControl* hidden;
    TestControl* e;
};

} // namespace

TEST(FocusTraversal, TabVisitsEveryCandidateAndWraps) {
    TraversalScene scene;
    HeldKeys none;
    scene.a->requestFocus();
    EXPECT_EQ(scene.b, scene.press(VK_TAB));
    EXPECT_EQ(scene.c, scene.press(VK_TAB));
    EXPECT_EQ(scene.d, scene.press(VK_TAB));
    EXPECT_EQ(scene.e, scene.press(VK_TAB));
    EXPECT_EQ(scene.a, scene.press(VK_TAB));
}

TEST(FocusTraversal, ShiftTabGoesBackAndWrapsFromTheFirst) {
    TraversalScene scene;
    HeldKeys shift({VK_SHIFT});
    scene.a->requestFocus();
    EXPECT_EQ(scene.e, scene.press(VK_TAB));
    EXPECT_EQ(scene.d, scene.press(VK_TAB));
    EXPECT_EQ(scene.c, scene.press(VK_TAB));
    EXPECT_EQ(scene.b, scene.press(VK_TAB));
}

TEST(FocusTraversal, ArrowsStopAtTheGroupBoundary) {
    TraversalScene scene;
    HeldKeys none;
    scene.c->requestFocus();
    EXPECT_EQ(scene.d, scene.press(VK_DOWN));
    EXPECT_EQ(scene.d, scene.press(VK_RIGHT));
    EXPECT_EQ(scene.c, scene.press(VK_UP));
    EXPECT_EQ(scene.c, scene.press(VK_LEFT));

    // Into a group from outside is fine; out of the frame, which is a group, is not.
    scene.b->requestFocus();
    EXPECT_EQ(scene.c, scene.press(VK_RIGHT));
    scene.a->requestFocus();
    EXPECT_EQ(scene.a, scene.press(VK_UP));
    scene.e->requestFocus();
    EXPECT_EQ(scene.e, scene.press(VK_DOWN));
    // Backwards out of a group from outside it: the last candidate inside.
    EXPECT_EQ(scene.d, scene.press(VK_UP));
}

TEST(FocusTraversal, ContainerRequestFocusPicksItsFirstCandidate) {
    TraversalScene scene;
    scene.group->requestFocus();
    EXPECT_EQ(scene.c, awt::Component::getFocusedComponent());
    EXPECT_EQ(scene.a, awt::Component::findCandidateInside(&scene.frame, true));
    EXPECT_EQ(scene.e, awt::Component::findCandidateInside(&scene.frame, false));
    EXPECT_EQ(nullptr, scene.d->findFocusCandidate(true, false));
    EXPECT_EQ(scene.e, scene.d->findFocusCandidate(true, true));
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
    probe->requestFocus();
    probeJournal().clear();

    {
        // Ctrl+Tab is never the toolkit's.
        HeldKeys control({VK_CONTROL});
        SendMessageW(window, WM_KEYDOWN, VK_TAB, 0);
        EXPECT_TRUE(probeSaw(window, WM_KEYDOWN, VK_TAB));
        EXPECT_EQ(probe, awt::Component::getFocusedComponent());
        // Neither are arrows with a modifier.
        SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
        EXPECT_TRUE(probeSaw(window, WM_KEYDOWN, VK_DOWN));
        EXPECT_EQ(probe, awt::Component::getFocusedComponent());
    }

    HeldKeys none;
    // Released and typed Tabs are consumed without moving the focus.
    SendMessageW(window, WM_KEYUP, VK_TAB, 0);
    SendMessageW(window, WM_CHAR, L'\t', 0);
    EXPECT_FALSE(probeSaw(window, WM_KEYUP, VK_TAB));
    EXPECT_FALSE(probeSaw(window, WM_CHAR, L'\t'));
    EXPECT_EQ(probe, awt::Component::getFocusedComponent());

    // Typed characters whose codes are those of the arrow keys are consumed like them.
    SendMessageW(window, WM_CHAR, L'%', 0);
    SendMessageW(window, WM_CHAR, L'(', 0);
    EXPECT_FALSE(probeSaw(window, WM_CHAR, L'%'));
    EXPECT_FALSE(probeSaw(window, WM_CHAR, L'('));
    EXPECT_EQ(probe, awt::Component::getFocusedComponent());
    SendMessageW(window, WM_CHAR, L'a', 0);
    EXPECT_TRUE(probeSaw(window, WM_CHAR, L'a'));

    // A control that wants arrows gets them and the characters with their codes.
    setProbeDialogCode(window, DLGC_WANTARROWS);
    SendMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(window, WM_CHAR, L'&', 0);
    EXPECT_TRUE(probeSaw(window, WM_KEYDOWN, VK_DOWN));
    EXPECT_TRUE(probeSaw(window, WM_CHAR, L'&'));
    EXPECT_EQ(probe, awt::Component::getFocusedComponent());
    // But not Tab.
    SendMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_EQ(next, awt::Component::getFocusedComponent());

    // One that wants Tab (or all keys) keeps the focus on Tab.
    probe->requestFocus();
    setProbeDialogCode(window, DLGC_WANTTAB);
    SendMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    EXPECT_TRUE(probeSaw(window, WM_KEYDOWN, VK_TAB));
    EXPECT_EQ(probe, awt::Component::getFocusedComponent());
    probeJournal().clear();
    setProbeDialogCode(window, DLGC_WANTALLKEYS);
    SendMessageW(window, WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(window, WM_KEYDOWN, VK_LEFT, 0);
    EXPECT_TRUE(probeSaw(window, WM_KEYDOWN, VK_TAB));
    EXPECT_TRUE(probeSaw(window, WM_KEYDOWN, VK_LEFT));
    EXPECT_EQ(probe, awt::Component::getFocusedComponent());
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
    area->requestFocus();
    SendMessageW(area->getHWND(), WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(area->getHWND(), WM_CHAR, L'\t', 0);
    EXPECT_EQ(area, awt::Component::getFocusedComponent());
    EXPECT_EQ(L"\t", windowText(area->getHWND()));

    field->requestFocus();
    SendMessageW(field->getHWND(), WM_CHAR, L'x', 0);
    SendMessageW(field->getHWND(), WM_KEYDOWN, VK_TAB, 0);
    SendMessageW(field->getHWND(), WM_CHAR, L'\t', 0);
    EXPECT_EQ(L"x", windowText(field->getHWND()));
    EXPECT_EQ(area, awt::Component::getFocusedComponent());
}

TEST(FocusTraversal, TypedTabKeysThroughTheMessageLoop) {
    TraversalScene scene;
    Watchdog watchdog;
    HeldKeys none;
    scene.a->requestFocus();
    // Key messages as the system queues them, through the toolkit's loop with translation.
    auto type = [&](UINT key) {
        HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        toolkit()->invokeLater(task([] { PostQuitMessage(0); }));
        return toolkit()->run();
    };
    EXPECT_EQ(0, type(VK_TAB));
    EXPECT_EQ(scene.b, awt::Component::getFocusedComponent());
    EXPECT_EQ(0, type(VK_DOWN));
    EXPECT_EQ(scene.c, awt::Component::getFocusedComponent());
}
