#include <thread>

#include "awt/AWTException.h"

#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

// A bare bound window that records the messages it receives.
class RecordingProcedure : public awt::WindowProcedure {
public:
    HWND createWindow() override {
        return CreateWindowExW(0, L"STATIC", L"bound", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    }
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        received.push_back(message);
        if (external != nullptr) {
            external->push_back(message);
        }
        return WindowProcedure::windowProc(message, wParam, lParam);
    }
    bool saw(UINT message) const {
        return std::find(received.begin(), received.end(), message) != received.end();
    }
    WNDPROC previous() const { return previousProc; }

    std::vector<UINT> received;
    std::vector<UINT>* external = nullptr;
};

// A component whose window class does not exist.
class Unregistered : public awt::Component {
public:
    LPCWSTR getClassName() const override { return L"NoSuchWindowClass"; }
    awt::Dimension getPreferredSize() const override { return awt::Dimension{}; }
};

HWND plainWindow() {
    return CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

} // namespace

TEST(WindowProcedure, AttachSubclassesAndRoutesMessagesToTheObject) {
    RecordingProcedure object;
    EXPECT_EQ(nullptr, object.getHWND());
    object.createPeer();
    HWND window = object.getHWND();
    ASSERT_NE(nullptr, window);
    EXPECT_EQ(&object, awt::WindowProcedure::fromHandle(window));
    EXPECT_EQ(nullptr, awt::WindowProcedure::fromHandle<awt::Component>(window));

    // The standard control's own procedure still does its work behind the object.
    EXPECT_NE(reinterpret_cast<WNDPROC>(DefWindowProcW), object.previous());
    SetWindowTextW(window, L"changed");
    EXPECT_EQ(L"changed", windowText(window));
    EXPECT_TRUE(object.saw(WM_SETTEXT));

    // A second createPeer keeps the window.
    object.createPeer();
    EXPECT_EQ(window, object.getHWND());
}

TEST(WindowProcedure, FromHandleIgnoresWindowsThatAreNotBound) {
    EXPECT_EQ(nullptr, awt::WindowProcedure::fromHandle(nullptr));
    HWND window = plainWindow();
    // User data alone does not make a toolkit window.
    SetWindowLongPtrW(window, GWLP_USERDATA, 1234);
    EXPECT_EQ(nullptr, awt::WindowProcedure::fromHandle(window));
    DestroyWindow(window);
}

TEST(WindowProcedure, AttachRefusesAWindowWithUserData) {
    HWND window = plainWindow();
    SetWindowLongPtrW(window, GWLP_USERDATA, 1234);
    RecordingProcedure object;
    EXPECT_FAILURE(awt::WindowProcedure::attach(window, &object), awt::AWTException,
                   L"window user data already set", NO_CODE);
    // The window keeps its data and its procedure.
    EXPECT_EQ(1234, GetWindowLongPtrW(window, GWLP_USERDATA));
    EXPECT_NE(reinterpret_cast<LONG_PTR>(awt::WindowProcedure::staticWindowProc),
              GetWindowLongPtrW(window, GWLP_WNDPROC));
    DestroyWindow(window);

    // Two objects cannot share a window either.
    RecordingProcedure first;
    first.createPeer();
    RecordingProcedure second;
    EXPECT_FAILURE(awt::WindowProcedure::attach(first.getHWND(), &second), awt::AWTException,
                   L"window user data already set", NO_CODE);
    EXPECT_EQ(&first, awt::WindowProcedure::fromHandle(first.getHWND()));
}

TEST(WindowProcedure, DetachRefusesAWindowWithoutUserData) {
    HWND window = plainWindow();
    EXPECT_FAILURE(awt::WindowProcedure::detach(window), awt::AWTException,
                   L"window user data broken", NO_CODE);
    DestroyWindow(window);
}

TEST(WindowProcedure, WindowDestroyedElsewhereLeavesTheObjectWithoutPeer) {
    RecordingProcedure object;
    object.createPeer();
    HWND window = object.getHWND();
    DestroyWindow(window);
    EXPECT_TRUE(object.saw(WM_DESTROY));
    EXPECT_EQ(nullptr, object.getHWND());
    EXPECT_FALSE(IsWindow(window));
    object.destroyPeer();
    // A new peer can be made afterwards.
    object.createPeer();
    EXPECT_NE(nullptr, object.getHWND());
    object.destroyPeer();
    EXPECT_EQ(nullptr, object.getHWND());
}

TEST(WindowProcedure, DestructorDestroysTheWindowWithoutTellingTheObject) {
    std::vector<UINT> received;
    auto* object = new RecordingProcedure();
    object->external = &received;
    object->createPeer();
    HWND window = object->getHWND();
    delete object;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(received.end(), std::find(received.begin(), received.end(), WM_DESTROY));
}

TEST(WindowProcedure, DestroyingAnotherThreadsWindowFails) {
    RecordingProcedure object;
    HANDLE created = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        object.createPeer();
        SetEvent(created);
        WaitForSingleObject(done, 5000);
        // The owning thread can destroy it.
        object.destroyPeer();
    });
    WaitForSingleObject(created, 5000);
    SetLastError(0);
    BOOL direct = DestroyWindow(object.getHWND());
    DWORD expected = GetLastError();
    ASSERT_FALSE(direct);
    EXPECT_FAILURE(object.destroyPeer(), awt::AWTException, L"::DestroyWindow() failed",
                   expected);
    SetEvent(done);
    owner.join();
    EXPECT_EQ(nullptr, object.getHWND());
    CloseHandle(created);
    CloseHandle(done);
}

TEST(WindowProcedure, MissingWindowClassLeavesTheComponentWithoutPeer) {
    Unregistered component;
    SetLastError(0);
    HWND direct = CreateWindowExW(0, L"NoSuchWindowClass", nullptr, WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    DWORD expected = GetLastError();
    ASSERT_EQ(nullptr, direct);
    EXPECT_FAILURE(component.createPeer(), awt::AWTException, L"::CreateWindowEx() failed",
                   expected);
    EXPECT_EQ(nullptr, component.getHWND());
}
