// The companion program Sorabune.exe: started plainly (shortcut, logon) it starts SorabuneOpt with the
// start token; started with the token it keeps a hidden window until SorabuneOpt closes it at exit.
#include <windows.h>
#include <shellapi.h>

#include "base/ProgramWindows.h"
#include "base/SystemLibrary.h"

namespace {
constexpr wchar_t kResidentProgram[] = L"SorabuneOpt.exe";

constexpr DWORD kPathCapacity = 32768;

// A path's buffer from the local heap: the program stays free of the C++ library (plain buffers only), so that
// it is a few kilobytes small, and two paths of the longest kind do not belong on its stack.
class PathBuffer {
public:
    PathBuffer() : text_(static_cast<wchar_t*>(LocalAlloc(LPTR, kPathCapacity * sizeof(wchar_t)))) {}
    ~PathBuffer()
    {
        if (text_) {
            LocalFree(text_);
        }
    }
    PathBuffer(const PathBuffer&) = delete;
    PathBuffer& operator=(const PathBuffer&) = delete;
    wchar_t* Get() const { return text_; }

private:
    wchar_t* text_;
};

void StartResidentProgram()
{
    PathBuffer folderBuffer;
    PathBuffer programBuffer;
    wchar_t* folder = folderBuffer.Get();
    wchar_t* program = programBuffer.Get();
    if (!folder || !program) {
        return;
    }
    DWORD n = GetModuleFileNameW(nullptr, folder, kPathCapacity);
    if (n == 0 || n >= kPathCapacity) {
        return;
    }
    DWORD end = n;
    while (end > 0 && folder[end - 1] != L'\\' && folder[end - 1] != L'/') {
        --end;
    }
    folder[end] = L'\0';
    if (end + lstrlenW(kResidentProgram) >= kPathCapacity) {
        return;
    }
    lstrcpyW(program, folder);
    lstrcatW(program, kResidentProgram);
    // Its working folder is ours, so that its own start of "Sorabune.exe" by bare name finds this file.
    ShellExecuteW(nullptr, nullptr, program, kStartToken, folder, SW_SHOWNORMAL);
}

LRESULT CALLBACK CompanionProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int RunCompanionWindow(HINSTANCE instance)
{
    WNDCLASSEXW wc = {sizeof(wc)};
    wc.lpfnWndProc = CompanionProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kCompanionClass;
    if (!RegisterClassExW(&wc)) {
        return 1;
    }
    // Hidden top-level window: FindWindow sees it, WM_CLOSE (default handling) destroys it.
    if (!CreateWindowExW(WS_EX_TOOLWINDOW, kCompanionClass, kCompanionTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         instance, nullptr)) {
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    RestrictLibrarySearch();
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const bool plain = !argv || argc < 2 || argv[1][0] == L'\0';
    const bool token = !plain && lstrcmpW(argv[1], kStartToken) == 0;
    LocalFree(argv);

    if (plain) {
        StartResidentProgram();
        return 0;
    }
    return token ? RunCompanionWindow(instance) : 0;
}
