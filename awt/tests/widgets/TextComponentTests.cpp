#include <memory>

#include "WidgetTestSupport.h"
#include "awt/AWTException.h"
#include "awt/Button.h"
#include "awt/Event.h"
#include "awt/TextArea.h"
#include "awt/TextField.h"

using namespace widgets_test;

namespace {

// Types the characters into the control as the keyboard's WM_CHAR messages would.
void typeChars(HWND window, const std::wstring& characters) {
    for (wchar_t unit : characters) {
        SendMessageW(window, WM_CHAR, unit, 1);
    }
}

// A text field that counts how often its window is asked for its text.
class CountingField : public awt::TextField {
public:
    explicit CountingField(int columns) : awt::TextField(columns) {}
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_GETTEXT) {
            ++textReads;
        }
        return awt::TextField::windowProc(message, wParam, lParam);
    }
    int textReads = 0;
};

class KeyJournal : public awt::KeyListener {
public:
    void keyPressed(awt::KeyEvent* event) override { pressed.push_back(event->keyCode); }
    void keyReleased(awt::KeyEvent*) override {}
    void keyTyped(awt::KeyEvent*) override {}
    std::vector<std::uint32_t> pressed;
};

DWORD styleOf(HWND window) { return static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)); }

} // namespace

TEST(TextComponent, PreferredSizesFollowColumnsRowsAndFrame) {
    TestWindow window;
    auto* field = new awt::TextField(32);
    auto* area = new awt::TextArea(L"", 5, 32);
    window.add(field);
    window.add(area);
    EXPECT_EQ(awt::Dimension{}, field->getPreferredSize());
    EXPECT_EQ(awt::Dimension{}, area->getPreferredSize());
    window.createPeer();

    const TEXTMETRICW fieldMetrics = FontProbe(field->getHWND()).metrics();
    const awt::Insets fieldFrame = frameOf(field->getHWND());
    EXPECT_GT(fieldFrame.left, 0) << "the client edge is part of the frame";
    EXPECT_EQ((awt::Dimension{32 * fieldMetrics.tmAveCharWidth + fieldFrame.left + fieldFrame.right + 2,
                              fieldMetrics.tmHeight + fieldFrame.top + fieldFrame.bottom + 2}),
              field->getPreferredSize());

    const TEXTMETRICW areaMetrics = FontProbe(area->getHWND()).metrics();
    const awt::Insets areaFrame = frameOf(area->getHWND());
    EXPECT_EQ((awt::Dimension{32 * areaMetrics.tmAveCharWidth + areaFrame.left + areaFrame.right +
                                  GetSystemMetrics(SM_CXVSCROLL) + 2,
                              5 * areaMetrics.tmHeight + areaFrame.top + areaFrame.bottom + 2}),
              area->getPreferredSize());
}

TEST(TextComponent, EditWindowsCarryTheirStyles) {
    TestWindow window;
    auto* field = new awt::TextField(16);
    auto* area = new awt::TextArea(L"first\r\nsecond", 3, 20);
    area->setEditable(false);
    window.add(field);
    window.add(area);
    window.createPeer();

    const DWORD fieldStyle = styleOf(field->getHWND());
    EXPECT_EQ(static_cast<DWORD>(ES_AUTOHSCROLL | WS_TABSTOP), fieldStyle & (ES_AUTOHSCROLL | WS_TABSTOP));
    EXPECT_EQ(0u, fieldStyle & (ES_READONLY | ES_MULTILINE));
    EXPECT_TRUE(GetWindowLongW(field->getHWND(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);

    const DWORD areaStyle = styleOf(area->getHWND());
    const DWORD multi = ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_VSCROLL | ES_READONLY;
    EXPECT_EQ(multi, areaStyle & multi) << "read-only already at creation";
    EXPECT_EQ(L"first\r\nsecond", windowText(area->getHWND()));

    area->setEditable(true);
    EXPECT_EQ(0u, styleOf(area->getHWND()) & ES_READONLY);
    EXPECT_TRUE(area->isEditable());
}

TEST(TextComponent, TypingFiresTextEventsAndSurvivesTheWindow) {
    TestWindow window;
    auto* field = new CountingField(20);
    window.add(field);
    EventCounter listener;
    std::wstring seenByListener;
    listener.onText = [&] { seenByListener = field->getText(); };
    field->addTextListener(&listener);
    window.createPeer();

    typeChars(field->getHWND(), L"0xC0");
    EXPECT_EQ(4, listener.texts) << "one text event per change of the control";
    EXPECT_EQ(field, listener.lastSource);
    EXPECT_EQ(L"0xC0", seenByListener) << "a listener reads the new text";

    listener.onText = nullptr;
    typeChars(field->getHWND(), L"DE");
    const int readsBefore = field->textReads;
    EXPECT_EQ(L"0xC0DE", field->getText());
    EXPECT_EQ(readsBefore + 1, field->textReads);
    EXPECT_EQ(L"0xC0DE", field->getText());
    EXPECT_EQ(readsBefore + 1, field->textReads) << "no change since: the window is not read again";

    // Typed but not yet read, the text is taken from the window before it goes.
    typeChars(field->getHWND(), L"!");
    field->destroyPeer();
    EXPECT_EQ(nullptr, field->getHWND());
    EXPECT_EQ(L"0xC0DE!", field->getText());
    field->createPeer();
    EXPECT_EQ(L"0xC0DE!", windowText(field->getHWND()));
}

TEST(TextComponent, SetTextFiresOnceAndOnlyForAChange) {
    TestWindow window;
    auto* field = new awt::TextField(20);
    window.add(field);
    EventCounter listener;
    field->addTextListener(&listener);

    field->setText(L"before window");
    EXPECT_EQ(1, listener.texts);
    field->setText(L"before window");
    EXPECT_EQ(1, listener.texts) << "same text without window";

    window.createPeer();
    EXPECT_EQ(L"before window", windowText(field->getHWND()));
    field->setText(L"ab");
    EXPECT_EQ(L"ab", windowText(field->getHWND()));
    EXPECT_EQ(2, listener.texts) << "the control's own change notification is not a second event";
    field->setText(L"ab");
    EXPECT_EQ(2, listener.texts) << "same text, nothing typed";

    // The user deletes the b and types it again: the window reported changes, so setText
    // writes the window and fires although the text is the same.
    SendMessageW(field->getHWND(), EM_SETSEL, 2, 2);
    typeChars(field->getHWND(), L"\bb");
    EXPECT_EQ(4, listener.texts);
    SendMessageW(field->getHWND(), EM_SETSEL, 0, 0);
    field->setText(L"ab");
    EXPECT_EQ(5, listener.texts);
    DWORD start = 99;
    DWORD end = 99;
    SendMessageW(field->getHWND(), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(0u, start);
    EXPECT_EQ(0u, end) << "the window text was set anew (the caret went to the start)";
    EXPECT_EQ(L"ab", field->getText());
}

TEST(TextComponent, ReadOnlyTextLetsTabMoveOn) {
    TestWindow window;
    auto* area = new awt::TextArea(L"message text", 3, 20);
    auto* after = new awt::Button(L"after");
    window.add(area);
    window.add(after);
    area->setBounds(10, 10, 200, 60);
    after->setBounds(10, 80, 80, 24);
    window.createPeer();
    window.setVisible(true);
    settle();
    HWND hwnd = area->getHWND();
    const auto editProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(hwnd, GCLP_WNDPROC));
    const LRESULT own = CallWindowProcW(editProc, hwnd, WM_GETDLGCODE, 0, 0);
    ASSERT_TRUE(own & DLGC_WANTALLKEYS) << "a multi-line edit wants every key";

    EXPECT_EQ(own, SendMessageW(hwnd, WM_GETDLGCODE, 0, 0)) << "editable: the control's answer";
    area->requestFocus();
    ASSERT_EQ(hwnd, GetFocus());
    SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(hwnd, GetFocus()) << "an editable area keeps Tab";

    area->setEditable(false);
    const LRESULT readOnly = SendMessageW(hwnd, WM_GETDLGCODE, 0, 0);
    EXPECT_EQ(own & ~static_cast<LRESULT>(DLGC_WANTTAB | DLGC_WANTALLKEYS), readOnly);
    MSG keyMessage{hwnd, WM_KEYDOWN, VK_TAB, 1, 0, {0, 0}};
    EXPECT_EQ(CallWindowProcW(editProc, hwnd, WM_GETDLGCODE, VK_TAB,
                              reinterpret_cast<LPARAM>(&keyMessage)),
              SendMessageW(hwnd, WM_GETDLGCODE, VK_TAB, reinterpret_cast<LPARAM>(&keyMessage)))
        << "a query about one message is the control's own";
    SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 1);
    EXPECT_EQ(after->getHWND(), GetFocus()) << "Tab moved the focus out of the read-only text";
}

TEST(TextField, EnterWithoutModifiersIsAnAction) {
    TestWindow window;
    auto* field = new awt::TextField(20);
    window.add(field);
    EventCounter actions;
    KeyJournal keys;
    field->addActionListener(&actions);
    field->addKeyListener(&keys);
    window.createPeer();
    HWND hwnd = field->getHWND();

    SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(1, actions.actions);
    EXPECT_EQ(field, actions.lastSource);
    EXPECT_EQ(std::vector<std::uint32_t>{VK_RETURN}, keys.pressed) << "the key goes on";
    {
        HeldKeys control({VK_CONTROL});
        SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 1);
    }
    {
        HeldKeys shift({VK_SHIFT});
        SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 1);
    }
    EXPECT_EQ(1, actions.actions) << "Ctrl+Enter and Shift+Enter are no action";
    SendMessageW(hwnd, WM_KEYDOWN, 'A', 1);
    EXPECT_EQ(1, actions.actions);
    EXPECT_EQ(4u, keys.pressed.size());
}

TEST(TextField, RequestFocusSelectsAllAndSelectionNeedsAWindow) {
    TestWindow window;
    auto* field = new awt::TextField(20);
    auto* other = new awt::Button(L"other");
    window.add(field);
    window.add(other);
    field->setBounds(10, 10, 200, 24);
    other->setBounds(10, 40, 80, 24);
    field->setText(L"STATUS_SUCCESS");
    std::uint32_t start = 77;
    std::uint32_t end = 77;
    field->getSelection(&start, &end);
    EXPECT_EQ(77u, start) << "nothing written without a window";
    EXPECT_EQ(77u, end);
    field->requestFocus();

    window.createPeer();
    window.setVisible(true);
    settle();
    other->requestFocus();
    SendMessageW(field->getHWND(), EM_SETSEL, 3, 3);
    field->requestFocus();
    EXPECT_EQ(field->getHWND(), GetFocus());
    field->getSelection(&start, &end);
    EXPECT_EQ(0u, start);
    EXPECT_EQ(14u, end);
}

TEST(TextField, RealKeyboardInputReachesTheFocusedField) {
    TestWindow window;
    auto* field = new awt::TextField(20);
    window.add(field);
    field->setBounds(10, 10, 200, 24);
    EventCounter listener;
    field->addTextListener(&listener);
    window.createPeer();
    window.setVisible(true);
    SetForegroundWindow(window.getHWND());
    field->requestFocus();
    settle();
    ASSERT_EQ(field->getHWND(), GetFocus());

    std::vector<INPUT> inputs;
    for (WORD key : {static_cast<WORD>('K'), static_cast<WORD>('7')}) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        INPUT up = down;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(down);
        inputs.push_back(up);
    }
    ASSERT_EQ(inputs.size(), SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)));
    EXPECT_TRUE(waitUntil([&] { return listener.texts >= 2; }));
    EXPECT_EQ(L"k7", field->getText());
}

namespace {

// A text area whose edit control refuses to change its read-only state.
class StubbornArea : public awt::TextArea {
public:
    StubbornArea() : awt::TextArea(L"", 2, 10) {}
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == EM_SETREADONLY) {
            return 0;
        }
        return awt::TextArea::windowProc(message, wParam, lParam);
    }
};

} // namespace

TEST(TextComponent, RefusedReadOnlySwitchIsReportedAfterStoringTheFlag) {
    TestWindow window;
    auto* area = new StubbornArea();
    window.add(area);
    window.createPeer();
    EXPECT_FAILURE(area->setEditable(false), awt::AWTException, L"::SendMessage(EM_SETREADONLY) failed",
                   NO_CODE);
    EXPECT_FALSE(area->isEditable());
    area->destroyPeer();
    area->createPeer();
    EXPECT_TRUE(GetWindowLongW(area->getHWND(), GWL_STYLE) & ES_READONLY) << "used for the next window";
}
