// A stand-in for the picture converter that misbehaves as its argument says, for the tests of the resident
// program's side: "crash" dies on the first request, "hang" never answers it, "lie" answers that it wrote a bitmap
// that is not there.
#include <windows.h>

#include <cwchar>

#include "base/ConverterProtocol.h"

namespace {
// As the converter does: a crash ends the process at once.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* exception)
{
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int)
{
    SetUnhandledExceptionFilter(EndOnCrash);
    HANDLE pipe = GetStdHandle(STD_INPUT_HANDLE);
    ConvertRequest request;
    DWORD got = 0;
    if (!ReadFile(pipe, &request, sizeof(request), &got, nullptr) || got != sizeof(request)) {
        return 1;
    }
    if (std::wcscmp(arguments, L"crash") == 0) {
        RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
    }
    if (std::wcscmp(arguments, L"lie") == 0) {
        const ConverterReply done{ConverterNote::Done, ConvertStatus::Converted, 640, 480, 0};
        WriteFile(pipe, &done, sizeof(done), &got, nullptr);
    }
    Sleep(INFINITE);
    return 0;
}
