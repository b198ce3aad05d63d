// The companion program Sorabune.exe: started plainly (shortcut, logon) it starts SorabuneOpt with the
// start token; started with the token it keeps a hidden window until SorabuneOpt closes it at exit.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {
constexpr wchar_t kStartToken[] = L"Sorabune_START";
constexpr wchar_t kResidentProgram[] = L"SorabuneOpt.exe";
constexpr wchar_t kWindowClass[] = L"TSorabuneForm1";
constexpr wchar_t kWindowTitle[] = L"SorabuneForm1";

std::wstring OwnFolder()
{
    wchar_t path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

void StartResidentProgram()
{
    const std::wstring folder = OwnFolder();
    const std::wstring program = folder + kResidentProgram;
    // Its working folder is ours, so that its own start of "Sorabune.exe" by bare name finds this file.
    ShellExecuteW(nullptr, nullptr, program.c_str(), kStartToken, folder.c_str(), SW_SHOWNORMAL);
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
    wc.lpszClassName = kWindowClass;
    if (!RegisterClassExW(&wc)) {
        return 1;
    }
    // Hidden top-level window: FindWindow sees it, WM_CLOSE (default handling) destroys it.
    if (!CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, kWindowTitle, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance,
                         nullptr)) {
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
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring first = (argv && argc > 1) ? argv[1] : L"";
    LocalFree(argv);

    if (first.empty()) {
        StartResidentProgram();
        return 0;
    }
    if (first == kStartToken) {
        return RunCompanionWindow(instance);
    }
    return 0;
}
