// The window and message layer: classes, the message queue, default handling and rectangles.
#include <gtest/gtest.h>

#include <vector>

#include "platform/host_services.h"
#include "platform/win32.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<Seen> seen;

LRESULT RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    seen.push_back({message, wParam, lParam});
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        return 0;
    }
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

class WindowLayer : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetDisplayPreference(platform::DisplayPreference::Headless);
        seen.clear();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingProc;
        windowClass.lpszClassName = "LayerTest";
        ASSERT_NE(RegisterClassA(&windowClass), 0);
        window = CreateWindowExA(WS_EX_APPWINDOW, "LayerTest", "title", WS_VISIBLE | WS_SYSMENU,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 640, 480, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        DestroyWindow(window);
        UnregisterClassA("LayerTest", nullptr);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // Dispatches until the queue is empty; true if the quit request came.
    bool Pump() {
        MSG message;
        bool quit = false;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                quit = true;
                continue;
            }
            DispatchMessageA(&message);
        }
        return quit;
    }
    HWND window = nullptr;
};

TEST_F(WindowLayer, ClassNamesAreRegisteredOnce) {
    WNDCLASSA again{};
    again.lpfnWndProc = RecordingProc;
    again.lpszClassName = "LayerTest";
    EXPECT_EQ(RegisterClassA(&again), 0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
}

TEST_F(WindowLayer, CreationSendsCreateAndKeepsUserData) {
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().message, WM_CREATE);
    int record = 0;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record));
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&record));
}

TEST_F(WindowLayer, EscapeClosesDestroysAndRequestsQuit) {
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_TRUE(Pump());
    EXPECT_FALSE(IsWindow(window));
    std::vector<UINT> order;
    for (const Seen& s : seen) order.push_back(s.message);
    EXPECT_EQ(order, (std::vector<UINT>{WM_CREATE, WM_KEYDOWN, WM_CLOSE, WM_DESTROY}));
    window = nullptr;
}

TEST_F(WindowLayer, KeysAndReleasesReachTheProcedureUnchanged) {
    PostMessageA(window, WM_KEYDOWN, 'X', 0x002D0001);
    PostMessageA(window, WM_KEYUP, 'X', static_cast<LPARAM>(0xC02D0001));
    EXPECT_FALSE(Pump());
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(seen[1].message, WM_KEYDOWN);
    EXPECT_EQ(seen[1].wParam, static_cast<WPARAM>('X'));
    EXPECT_EQ(seen[1].lParam, 0x002D0001);
    EXPECT_EQ(seen[2].message, WM_KEYUP);
    EXPECT_EQ(seen[2].lParam, static_cast<LPARAM>(0xC02D0001));
}

TEST_F(WindowLayer, QuitRequestComesAfterPendingMessages) {
    PostQuitMessage(3);
    PostMessageA(window, WM_USER, 1, 2);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, WM_USER);
    ASSERT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(WindowLayer, ClientAreaExcludesTheFrameAndResizesExactly) {
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_LT(client.right, 640);
    SetWindowPos(window, nullptr, 0, 0, 1280 - client.right, 960 - client.bottom,
                 SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(window, &client);
    EXPECT_EQ(client.left, 0);
    EXPECT_EQ(client.top, 0);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
}

TEST_F(WindowLayer, ClientOriginLiesInsideTheOuterRectangle) {
    RECT outer{};
    GetWindowRect(window, &outer);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    EXPECT_GT(origin.x, outer.left);
    EXPECT_GT(origin.y, outer.top);
}

TEST(MessageBox, HeadlessBoxIsReportedAndDoesNotBlock) {
    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    std::string got;
    platform::ObserverHandle boxes = platform::AddMessageBoxObserver(
        [&got](const char* caption, const char* text) { got = std::string(caption) + "/" + text; });
    EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), IDOK);
    boxes.Reset();
    EXPECT_EQ(got, "caption/text");
}

}  // namespace
