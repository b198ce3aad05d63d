// The reminder message windows' frames: class, title, colour, size and place.
#include "scheduler/MessagesForm.h"

namespace {
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME;
constexpr COLORREF kColour1 = RGB(192, 220, 192);
constexpr COLORREF kColour2 = RGB(166, 202, 240);
} // namespace

TMessagesForm::TMessagesForm(int number) : number_(number == 2 ? 2 : 1) {}

COLORREF TMessagesForm::BackgroundColour() const
{
    return number_ == 1 ? kColour1 : kColour2;
}

bool TMessagesForm::Create(HWND mainWindow)
{
    const wchar_t* className = number_ == 1 ? L"TMessagesForm1" : L"TMessagesForm2";
    const wchar_t* title = number_ == 1 ? L"MessagesForm1" : L"MessagesForm2";
    background_ = Brush(CreateSolidBrush(BackgroundColour()));
    // No class brush: the window paints its own colour, which the reminder code may change later.
    RegisterWindowClass(className, nullptr);
    SIZE outer = OuterSizeForClient(kFormStyle, kFormExStyle, kClientWidth, kClientHeight);
    POINT pos = CentredOnScreen(outer.cx, outer.cy);
    return CreateWindowFor(kFormExStyle, className, title, kFormStyle, pos.x, pos.y, outer.cx, outer.cy, mainWindow) !=
           nullptr;
}

LRESULT TMessagesForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rc;
        GetClientRect(hwnd_, &rc);
        FillRect(reinterpret_cast<HDC>(wParam), &rc, background_.Get());
        return 1;
    }
    case WM_CLOSE:
        ShowWindow(hwnd_, SW_HIDE);
        return 0;
    default:
        return Default(msg, wParam, lParam);
    }
}
