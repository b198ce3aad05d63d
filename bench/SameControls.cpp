// Benchmark helper: a program that creates the same windows and controls as a running resident program and
// nothing else, so that the start-up bench can tell the program's own memory from what its controls cost.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "base/DpiFonts.h"
#include "base/Handles.h"

namespace {
constexpr UINT kCopyTimeoutMs = 2000;
// Windows that the system or a control makes for itself (the date pickers their month calendars); copying
// their makers brings them.
constexpr const wchar_t* kMadeByTheSystem[] = {
    L"ComboLBox", L"IME", L"tooltips_class32", L"OleMainThreadWndClass", L"SysMonthCal32", L"SysDragImage"};

struct Copy {
    DWORD sourceProcess;
    HFONT font;
    HDC measure;
};

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

bool IsMadeByTheSystem(const std::wstring& className)
{
    for (const wchar_t* name : kMadeByTheSystem) {
        if (lstrcmpiW(className.c_str(), name) == 0) {
            return true;
        }
    }
    return false;
}

// Messages that carry a length or a text are packed across processes; a hung source gives nothing.
LRESULT Ask(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, kCopyTimeoutMs, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::wstring TextOf(HWND window, UINT lengthMsg, UINT textMsg, WPARAM index)
{
    const LRESULT length = Ask(window, lengthMsg, index, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = Ask(window, textMsg, lengthMsg == WM_GETTEXTLENGTH ? text.size() : index,
                            reinterpret_cast<LPARAM>(text.data()));
    text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
    return text;
}

// The items of a drop-down or list box, measured as the program measures them for its drop-down widths.
void CopyItems(const Copy& copy, HWND source, HWND target, bool combo)
{
    const UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT length = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT text = combo ? CB_GETLBTEXT : LB_GETTEXT;
    const LRESULT items = Ask(source, count, 0, 0);
    for (LRESULT i = 0; i < items; ++i) {
        const std::wstring item = TextOf(source, length, text, static_cast<WPARAM>(i));
        SendMessageW(target, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        SIZE size = {};
        GetTextExtentPoint32W(copy.measure, item.c_str(), static_cast<int>(item.size()), &size);
    }
    SendMessageW(target, combo ? CB_SETCURSEL : LB_SETCURSEL,
                 static_cast<WPARAM>(Ask(source, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)), 0);
}

// A window class of the program itself gets a plain class of the same name here, and its children are copied;
// a control of the system makes its own parts.
bool RegisterPlainClass(const std::wstring& className)
{
    WNDCLASSEXW info = {};
    info.cbSize = sizeof(info);
    if (GetClassInfoExW(nullptr, className.c_str(), &info) ||
        GetClassInfoExW(GetModuleHandleW(nullptr), className.c_str(), &info)) {
        return info.hInstance == GetModuleHandleW(nullptr);
    }
    info = {};
    info.cbSize = sizeof(info);
    info.lpfnWndProc = DefWindowProcW;
    info.hInstance = GetModuleHandleW(nullptr);
    info.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    info.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    info.lpszClassName = className.c_str();
    return RegisterClassExW(&info) != 0;
}

void CopyWindow(const Copy& copy, HWND source, HWND sourceParent, HWND targetParent)
{
    const std::wstring className = ClassOf(source);
    const bool own = RegisterPlainClass(className);
    RECT rect = {};
    GetWindowRect(source, &rect);
    if (sourceParent) {
        MapWindowPoints(nullptr, sourceParent, reinterpret_cast<POINT*>(&rect), 2);
    }
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(source, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(source, GWL_EXSTYLE));
    const auto id = sourceParent ? reinterpret_cast<HMENU>(GetWindowLongPtrW(source, GWLP_ID)) : nullptr;
    const std::wstring text = TextOf(source, WM_GETTEXTLENGTH, WM_GETTEXT, 0);
    HWND target =
        CreateWindowExW(exStyle, className.c_str(), text.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                        rect.bottom - rect.top, targetParent, id, GetModuleHandleW(nullptr), nullptr);
    if (!target) {
        return;
    }
    SendMessageW(target, WM_SETFONT, reinterpret_cast<WPARAM>(copy.font), FALSE);
    if (lstrcmpiW(className.c_str(), WC_COMBOBOXW) == 0 || lstrcmpiW(className.c_str(), WC_LISTBOXW) == 0) {
        CopyItems(copy, source, target, lstrcmpiW(className.c_str(), WC_COMBOBOXW) == 0);
    } else if (lstrcmpiW(className.c_str(), WC_TABCONTROLW) == 0) {
        const LRESULT tabs = Ask(source, TCM_GETITEMCOUNT, 0, 0);
        for (LRESULT i = 0; i < tabs; ++i) {
            TCITEMW item = {};
            SendMessageW(target, TCM_INSERTITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
    }
    if (!own) {
        return;
    }
    // Children in creation order: the last in the z-order came first.
    for (HWND child = GetWindow(source, GW_CHILD) ? GetWindow(GetWindow(source, GW_CHILD), GW_HWNDLAST) : nullptr;
         child; child = GetWindow(child, GW_HWNDPREV)) {
        CopyWindow(copy, child, source, target);
    }
}

BOOL CALLBACK CopyTopLevel(HWND window, LPARAM data)
{
    const auto& copy = *reinterpret_cast<const Copy*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == copy.sourceProcess && !IsMadeByTheSystem(ClassOf(window))) {
        CopyWindow(copy, window, nullptr, nullptr);
    }
    return TRUE;
}
} // namespace

// Argument: the process id of the program whose windows to copy. Runs until it is ended.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    // The program's dialog font: its one typeface at the size of its controls.
    Font font(CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kUiFace));
    WindowDC screen;
    SelectInDC measureFont(screen.Get(), font.Get());
    const Copy copy = {static_cast<DWORD>(std::wcstoul(arguments, nullptr, 10)), font.Get(), screen.Get()};
    EnumWindows(CopyTopLevel, reinterpret_cast<LPARAM>(&copy));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
