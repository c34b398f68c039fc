#include <thread>

#include "awt/AWTException.h"

#include "awt/tests/support/TestSupport.h"

using namespace test;

namespace {

// A bare bound window that notes the messages it receives, in a journal that may outlive it.
struct RecordingProcedure : awt::WindowProcedure {
    HWND createWindow() override { return plainWindow(); }
    LRESULT windowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        received->push_back(message);
        return WindowProcedure::windowProc(message, wParam, lParam);
    }
    bool saw(UINT message) const { return std::find(received->begin(), received->end(), message) != received->end(); }
    static HWND plainWindow() {
        return CreateWindowExW(0, L"STATIC", L"plain", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    }
    std::vector<UINT> own;
    std::vector<UINT>* received = &own;
};

} // namespace

TEST(WindowProcedure, AttachSubclassesRoutesToTheObjectAndRefusesBoundWindows) {
    RecordingProcedure object;
    object.createPeer();
    HWND window = object.getHWND();
    EXPECT_EQ(&object, awt::WindowProcedure::fromHandle(window));
    EXPECT_EQ(nullptr, awt::WindowProcedure::fromHandle<awt::Component>(window));
    object.createPeer();
    EXPECT_EQ(window, object.getHWND());

    RecordingProcedure second;
    EXPECT_FAILURE(awt::WindowProcedure::attach(window, &second), awt::AWTException, L"window user data already set",
                   NO_CODE);
    EXPECT_EQ(&object, awt::WindowProcedure::fromHandle(window));

    // User data alone makes no toolkit window, and such a window keeps its data and procedure.
    HWND plain = RecordingProcedure::plainWindow();
    EXPECT_FAILURE(awt::WindowProcedure::detach(plain), awt::AWTException, L"window user data broken", NO_CODE);
    SetWindowLongPtrW(plain, GWLP_USERDATA, 1234);
    EXPECT_EQ(nullptr, awt::WindowProcedure::fromHandle(plain));
    EXPECT_FAILURE(awt::WindowProcedure::attach(plain, &second), awt::AWTException, L"window user data already set",
                   NO_CODE);
    EXPECT_EQ(1234, GetWindowLongPtrW(plain, GWLP_USERDATA));
    EXPECT_NE(reinterpret_cast<LONG_PTR>(awt::WindowProcedure::staticWindowProc), GetWindowLongPtrW(plain, GWLP_WNDPROC));
    DestroyWindow(plain);
}

TEST(WindowProcedure, WindowsDestroyedElsewhereByTheDestructorOrNotAtAll) {
    RecordingProcedure object;
    object.createPeer();
    DestroyWindow(object.getHWND());
    EXPECT_TRUE(object.saw(WM_DESTROY));
    EXPECT_EQ(nullptr, object.getHWND());
    object.destroyPeer();
    object.createPeer();
    // Another thread cannot destroy this thread's window.
    std::thread([&] {
        EXPECT_FAILURE(object.destroyPeer(), awt::AWTException, L"::DestroyWindow() failed", ERROR_ACCESS_DENIED);
    }).join();
    EXPECT_TRUE(IsWindow(object.getHWND()));

    // The destructor destroys the window without telling the object.
    std::vector<UINT> received;
    auto* doomed = new RecordingProcedure();
    doomed->received = &received;
    doomed->createPeer();
    HWND window = doomed->getHWND();
    delete doomed;
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(received.end(), std::find(received.begin(), received.end(), WM_DESTROY));

    // The code is the system's own (Wine gives another than Windows).
    TestControl unregistered(L"NoSuchWindowClass");
    ASSERT_EQ(nullptr, CreateWindowExW(0, L"NoSuchWindowClass", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FAILURE(unregistered.createPeer(), awt::AWTException, L"::CreateWindowEx() failed", GetLastError());
    EXPECT_EQ(nullptr, unregistered.getHWND());
}
