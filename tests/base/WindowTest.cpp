// The window base: binding and the geometry helpers every window relies on, and the link colour.
#include <gtest/gtest.h>

#include "base/HighContrast.h"
#include "base/Window.h"
#include "support/TestSupport.h"

#include <memory>
#include <stdexcept>

namespace {
class ThrowingWindow : public Window {
public:
    ThrowingWindow() : Window(TestErrors()) {}
    bool Create()
    {
        RegisterWindowClass(L"TThrowingTestForm", reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        return CreateWindowFor(0, L"TThrowingTestForm", L"Throwing", WS_POPUP, 0, 0, 10, 10, nullptr) != nullptr;
    }
    bool destroyed = false;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_APP + 1) {
            throw std::out_of_range("map::at");
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }
    void OnFinalDestroy() override { destroyed = true; }
};
} // namespace

TEST(WindowTest, BindsObjectAndFindsClass)
{
    ThrowingWindow w;
    ASSERT_TRUE(w.Create());
    EXPECT_EQ(Window::FromHwnd(w.Hwnd()), &w);
    EXPECT_EQ(FindWindowW(L"TThrowingTestForm", L"Throwing"), w.Hwnd());
    EXPECT_FALSE(w.IsVisible());

    DestroyWindow(w.Hwnd());
    EXPECT_TRUE(w.destroyed);
    EXPECT_EQ(w.Hwnd(), nullptr);
}

// A window object above 4 GiB, where every test program of the 64-bit build allocates, binds to its window: no
// pointer to it is squeezed through 32 bits on its way into the window data.
TEST(WindowTest, AWindowObjectAbove4GiBBindsToItsWindow)
{
    auto w = std::make_unique<ThrowingWindow>();
#if defined(_WIN64)
    ASSERT_GT(reinterpret_cast<ULONG_PTR>(w.get()), 0xFFFFFFFFull) << "tests/support/HighHeap.cpp serves above 4 GiB";
#endif
    ASSERT_TRUE(w->Create());
    EXPECT_EQ(Window::FromHwnd(w->Hwnd()), w.get());
    SendMessageW(w->Hwnd(), WM_APP + 1, 0, 0);
    DestroyWindow(w->Hwnd());
    EXPECT_TRUE(w->destroyed);
}

TEST(WindowTest, OuterSizeGivesTheRequestedClientArea)
{
    DWORD style = WS_POPUP | WS_CAPTION | WS_BORDER;
    SIZE outer = OuterSizeForClient(style, 0, 588, 434, WindowDpi(nullptr));
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", style, 0, 0, outer.cx, outer.cy, nullptr, nullptr, nullptr, nullptr);
    RECT rc;
    GetClientRect(hwnd, &rc);
    EXPECT_EQ(rc.right, 588);
    EXPECT_EQ(rc.bottom, 434);
    DestroyWindow(hwnd);
}

// A link takes the system's link colour where it can be read on its background, and always in high contrast.
TEST(SchemeColourTest, ALinkTakesTheSystemsLinkColourWhereItCanBeRead)
{
    const COLORREF windows = RGB(0, 102, 204), wine = RGB(224, 224, 224), face = RGB(245, 245, 245);
    EXPECT_EQ(LinkColour(false, windows, face), windows);
    EXPECT_EQ(LinkColour(false, wine, face), RGB(0, 0, 255)) << "Wine's light theme: blue instead";
    EXPECT_EQ(LinkColour(true, wine, face), wine);
    EXPECT_EQ(LinkColour(false, RGB(255, 255, 0), RGB(32, 32, 32)), RGB(255, 255, 0)) << "a dark scheme";
}
