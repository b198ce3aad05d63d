// Two subclasses on one control: their order and data, removal from behind the other and in front of it, and
// the records' end with the control's, also behind someone else's subclass.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <tuple>
#include <vector>

#include "base/Subclass.h"
#include "base/Window.h"
#include "support/TestSupport.h"

namespace {
using Call = std::tuple<char, int, UINT>;
std::vector<Call> calls;

template <char Name> LRESULT Record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, const SubclassLink& link)
{
    if (msg == WM_SETTEXT || msg == WM_NCDESTROY) {
        calls.emplace_back(Name, *link.Data<int>(), msg);
    }
    return link.Pass(hwnd, msg, wParam, lParam);
}

HWND MakeEdit()
{
    return CreateWindowExW(0, WC_EDITW, L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
}
} // namespace

TEST(SubclassTest, TwoOnOneControlRunOutermostFirstWithTheirOwnDataAndComeOffInAnyOrder)
{
    HWND edit = MakeEdit();
    ASSERT_NE(edit, nullptr);
    const LONG_PTR original = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    static int one = 1;
    static int two = 2;
    static int three = 3;
    AddSubclass<Record<'A'>>(edit, TestErrors(), &one);
    AddSubclass<Record<'B'>>(edit, TestErrors(), &two);
    AddSubclass<Record<'A'>>(edit, TestErrors(), &three);
    const struct {
        void (*change)(HWND);
        std::vector<Call> seen;
    } steps[] = {
        {[](HWND) {}, {{'B', 2, WM_SETTEXT}, {'A', 3, WM_SETTEXT}}},
        {[](HWND h) { RemoveSubclass<Record<'A'>>(h); }, {{'B', 2, WM_SETTEXT}}},
        {[](HWND h) { AddSubclass<Record<'A'>>(h, TestErrors(), &one); }, {{'B', 2, WM_SETTEXT}, {'A', 1, WM_SETTEXT}}},
        {[](HWND h) { RemoveSubclass<Record<'B'>>(h); }, {{'A', 1, WM_SETTEXT}}},
        {[](HWND h) { RemoveSubclass<Record<'A'>>(h); }, {}},
    };
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        steps[i].change(edit);
        calls.clear();
        const std::wstring text = L"step " + std::to_wstring(i);
        SetWindowTextW(edit, text.c_str());
        EXPECT_EQ(calls, steps[i].seen) << "step " << i;
        EXPECT_EQ(WindowText(edit), text) << "step " << i;
    }
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), original);
    DestroyWindow(edit);
}

namespace {
WNDPROC behindOuter = nullptr;
LONG_PTR userDataAfterTheEnd = -1;
LRESULT CALLBACK OuterProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = CallWindowProcW(behindOuter, hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        userDataAfterTheEnd = GetWindowLongPtrW(hwnd, GWLP_USERDATA);
    }
    return result;
}
} // namespace

TEST(SubclassTest, AtTheControlsEndOnlyTheOneStillOnSeesItAndAllRecordsGoBehindSomeoneElses)
{
    HWND edit = MakeEdit();
    ASSERT_NE(edit, nullptr);
    static int one = 1;
    static int two = 2;
    AddSubclass<Record<'A'>>(edit, TestErrors(), &one);
    AddSubclass<Record<'B'>>(edit, TestErrors(), &two);
    RemoveSubclass<Record<'A'>>(edit);
    behindOuter =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OuterProc)));
    calls.clear();
    DestroyWindow(edit);
    EXPECT_EQ(calls, (std::vector<Call>{{'B', 2, WM_NCDESTROY}}));
    EXPECT_EQ(userDataAfterTheEnd, 0);
}
