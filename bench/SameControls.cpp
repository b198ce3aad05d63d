// Benchmark helper: a program that creates the same windows and controls as a running resident program and
// nothing else, so that the start-up bench can tell the program's own memory and start-up time from what its
// controls cost. It copies the windows of a running program, and can write down what it made; started from such a
// record it makes the windows again, adds a tray icon and reports the time from its entry, as the program does.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/DpiFonts.h"
#include "base/Handles.h"
#include "resource.h"

namespace {
constexpr UINT kCopyTimeoutMs = 2000;
// Windows that the system or a control makes for itself (the date pickers their month calendars); copying
// their makers brings them.
constexpr const wchar_t* kMadeByTheSystem[] = {
    L"ComboLBox", L"IME", L"tooltips_class32", L"OleMainThreadWndClass", L"SysMonthCal32", L"SysDragImage"};

// One window as made: its parent's place in the record (-1 for a top-level window), how it was made, and the
// items of a list or the tabs of a tab control.
struct Made {
    int parent = -1;
    std::wstring className;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect = {};
    LONG_PTR id = 0;
    std::wstring text;
    std::vector<std::wstring> items;
};

struct Copy {
    DWORD sourceProcess;
    HFONT font;
    HDC measure;
    std::vector<Made>* record;
};

// A record is UTF-16 text: a line per window, fields apart by tabs and items by a unit separator; the line
// breaks of a text are kept as record separators.
constexpr wchar_t kField = L'\t';
constexpr wchar_t kItem = L'\x1F';
constexpr wchar_t kLineFeed = L'\x1E';
constexpr wchar_t kCarriageReturn = L'\x1D';

std::wstring Escape(std::wstring text)
{
    for (wchar_t& c : text) {
        c = c == L'\n' ? kLineFeed : c == L'\r' ? kCarriageReturn : c;
    }
    return text;
}

std::wstring Unescape(std::wstring text)
{
    for (wchar_t& c : text) {
        c = c == kLineFeed ? L'\n' : c == kCarriageReturn ? L'\r' : c;
    }
    return text;
}

std::vector<std::wstring> Split(const std::wstring& line, wchar_t separator)
{
    std::vector<std::wstring> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = line.find(separator, start)) != std::wstring::npos; start = end + 1) {
        parts.push_back(line.substr(start, end - start));
    }
    parts.push_back(line.substr(start));
    return parts;
}

bool WriteRecord(const std::vector<Made>& record, const std::wstring& path)
{
    std::wstring text;
    for (const Made& made : record) {
        std::wstring items;
        for (const std::wstring& item : made.items) {
            items += (items.empty() ? L"" : std::wstring(1, kItem)) + Escape(item);
        }
        const std::wstring fields[] = {std::to_wstring(made.parent),       made.className,
                                       std::to_wstring(made.style),        std::to_wstring(made.exStyle),
                                       std::to_wstring(made.rect.left),    std::to_wstring(made.rect.top),
                                       std::to_wstring(made.rect.right),   std::to_wstring(made.rect.bottom),
                                       std::to_wstring(made.id),           Escape(made.text),
                                       std::to_wstring(made.items.size()), items};
        for (const std::wstring& field : fields) {
            text += field + kField;
        }
        text.back() = L'\n';
    }
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    const auto bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    return file && WriteFile(file.Get(), text.data(), bytes, &written, nullptr) && written == bytes;
}

std::vector<Made> ReadRecord(const std::wstring& path)
{
    std::vector<Made> record;
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size = {};
    if (!file || !GetFileSizeEx(file.Get(), &size)) {
        return record;
    }
    std::wstring text(static_cast<std::size_t>(size.QuadPart) / sizeof(wchar_t), L'\0');
    DWORD read = 0;
    ReadFile(file.Get(), text.data(), static_cast<DWORD>(size.QuadPart), &read, nullptr);
    for (const std::wstring& line : Split(text, L'\n')) {
        const std::vector<std::wstring> f = Split(line, kField);
        if (f.size() != 12) {
            continue;
        }
        Made made;
        made.parent = std::stoi(f[0]);
        made.className = f[1];
        made.style = static_cast<DWORD>(std::stoul(f[2]));
        made.exStyle = static_cast<DWORD>(std::stoul(f[3]));
        made.rect = {std::stoi(f[4]), std::stoi(f[5]), std::stoi(f[6]), std::stoi(f[7])};
        made.id = static_cast<LONG_PTR>(std::stoll(f[8]));
        made.text = Unescape(f[9]);
        if (std::stoi(f[10]) > 0) {
            for (const std::wstring& item : Split(f[11], kItem)) {
                made.items.push_back(Unescape(item));
            }
        }
        record.push_back(std::move(made));
    }
    return record;
}

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

// The items of a drop-down or list box.
std::vector<std::wstring> ItemsOf(HWND source, bool combo)
{
    const UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT length = combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN;
    const UINT text = combo ? CB_GETLBTEXT : LB_GETTEXT;
    std::vector<std::wstring> items;
    const LRESULT n = Ask(source, count, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        items.push_back(TextOf(source, length, text, static_cast<WPARAM>(i)));
    }
    return items;
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

// Makes a window as recorded: a list's items measured as the program measures them for its drop-down widths, a
// tab control's tabs.
HWND MakeWindow(const Made& made, HWND parent, HFONT font, HDC measure)
{
    HWND window = CreateWindowExW(made.exStyle, made.className.c_str(), made.text.c_str(), made.style, made.rect.left,
                                  made.rect.top, made.rect.right - made.rect.left, made.rect.bottom - made.rect.top,
                                  parent, reinterpret_cast<HMENU>(made.id), GetModuleHandleW(nullptr), nullptr);
    if (!window) {
        return nullptr;
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    const bool combo = lstrcmpiW(made.className.c_str(), WC_COMBOBOXW) == 0;
    if (combo || lstrcmpiW(made.className.c_str(), WC_LISTBOXW) == 0) {
        for (const std::wstring& item : made.items) {
            SendMessageW(window, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            SIZE size = {};
            GetTextExtentPoint32W(measure, item.c_str(), static_cast<int>(item.size()), &size);
        }
    } else if (lstrcmpiW(made.className.c_str(), WC_TABCONTROLW) == 0) {
        for (std::size_t i = 0; i < made.items.size(); ++i) {
            TCITEMW item = {};
            SendMessageW(window, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    return window;
}

void CopyWindow(const Copy& copy, HWND source, HWND sourceParent, HWND targetParent, int parentIndex)
{
    Made made;
    made.parent = parentIndex;
    made.className = ClassOf(source);
    const bool own = RegisterPlainClass(made.className);
    GetWindowRect(source, &made.rect);
    if (sourceParent) {
        MapWindowPoints(nullptr, sourceParent, reinterpret_cast<POINT*>(&made.rect), 2);
    }
    made.style = static_cast<DWORD>(GetWindowLongPtrW(source, GWL_STYLE));
    made.exStyle = static_cast<DWORD>(GetWindowLongPtrW(source, GWL_EXSTYLE));
    made.id = sourceParent ? GetWindowLongPtrW(source, GWLP_ID) : 0;
    made.text = TextOf(source, WM_GETTEXTLENGTH, WM_GETTEXT, 0);
    const bool combo = lstrcmpiW(made.className.c_str(), WC_COMBOBOXW) == 0;
    if (combo || lstrcmpiW(made.className.c_str(), WC_LISTBOXW) == 0) {
        made.items = ItemsOf(source, combo);
    } else if (lstrcmpiW(made.className.c_str(), WC_TABCONTROLW) == 0) {
        made.items.resize(static_cast<std::size_t>(std::max<LRESULT>(Ask(source, TCM_GETITEMCOUNT, 0, 0), 0)));
    }
    HWND target = MakeWindow(made, targetParent, copy.font, copy.measure);
    if (!target) {
        return;
    }
    if (combo || lstrcmpiW(made.className.c_str(), WC_LISTBOXW) == 0) {
        SendMessageW(target, combo ? CB_SETCURSEL : LB_SETCURSEL,
                     static_cast<WPARAM>(Ask(source, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0)), 0);
    }
    const int index = static_cast<int>(copy.record->size());
    copy.record->push_back(std::move(made));
    if (!own) {
        return;
    }
    // Children in creation order: the last in the z-order came first.
    for (HWND child = GetWindow(source, GW_CHILD) ? GetWindow(GetWindow(source, GW_CHILD), GW_HWNDLAST) : nullptr;
         child; child = GetWindow(child, GW_HWNDPREV)) {
        CopyWindow(copy, child, source, target, index);
    }
}

BOOL CALLBACK CopyTopLevel(HWND window, LPARAM data)
{
    const auto& copy = *reinterpret_cast<const Copy*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == copy.sourceProcess && !IsMadeByTheSystem(ClassOf(window))) {
        CopyWindow(copy, window, nullptr, nullptr, -1);
    }
    return TRUE;
}

// Makes the windows of a record in its order, each under the window made for its parent.
void MakeAll(const std::vector<Made>& record, HFONT font, HDC measure)
{
    std::vector<HWND> made;
    for (const Made& window : record) {
        RegisterPlainClass(window.className);
        made.push_back(MakeWindow(window, window.parent >= 0 ? made[static_cast<std::size_t>(window.parent)] : nullptr,
                                  font, measure));
    }
}

// The tray icon of the program, at the small icon size, as the program adds it.
bool AddTrayIcon(HWND owner)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = owner;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_TIP;
    nid.hIcon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_SORABUNE), IMAGE_ICON,
                                              GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    lstrcpynW(nid.szTip, L"same_controls", ARRAYSIZE(nid.szTip));
    return Shell_NotifyIconW(NIM_ADD, &nid);
}

void Report(const LARGE_INTEGER& entry)
{
    wchar_t path[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"SORABUNE_STARTUP_REPORT", path, MAX_PATH)) {
        return;
    }
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    if (FILE* file = _wfopen(path, L"w")) {
        std::fprintf(file, "tray_ms_from_entry %.1f\n",
                     static_cast<double>(now.QuadPart - entry.QuadPart) * 1000.0 / frequency.QuadPart);
        std::fclose(file);
    }
}
} // namespace

// Arguments: the process id of the program whose windows to copy, and optionally a file to write the record of the
// copy into; or "replay" and such a record. Runs until it is ended.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    LARGE_INTEGER entry;
    QueryPerformanceCounter(&entry);
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring first = argc > 1 ? argv[1] : L"";
    const std::wstring second = argc > 2 ? argv[2] : L"";
    LocalFree(argv);
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_TAB_CLASSES};
    InitCommonControlsEx(&icc);
    // The program's dialog font: its one typeface at the size of its controls.
    Font font(CreateFontW(-15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, kUiFace));
    WindowDC screen;
    SelectInDC measureFont(screen.Get(), font.Get());
    if (first == L"replay") {
        const std::vector<Made> record = ReadRecord(second);
        MakeAll(record, font.Get(), screen.Get());
        HWND owner = CreateWindowExW(WS_EX_TOOLWINDOW, WC_STATICW, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
        if (record.empty() || !AddTrayIcon(owner)) {
            return 1;
        }
        Report(entry);
        // The bench ends this program from outside: an icon left behind would slow every later start.
        NOTIFYICONDATAW nid = {};
        nid.cbSize = sizeof(nid);
        nid.hWnd = owner;
        nid.uID = 1;
        Shell_NotifyIconW(NIM_DELETE, &nid);
    } else {
        std::vector<Made> record;
        const Copy copy = {static_cast<DWORD>(std::wcstoul(first.c_str(), nullptr, 10)), font.Get(), screen.Get(),
                           &record};
        EnumWindows(CopyTopLevel, reinterpret_cast<LPARAM>(&copy));
        if (!second.empty()) {
            return WriteRecord(record, second) ? 0 : 1;
        }
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
