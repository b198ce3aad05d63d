// SorabuneConv.exe, the picture converter: reads requests from the pipe that is its standard input, decodes each
// picture from the handle it was given (JPEG through libjpeg-turbo, every other type through the imaging component)
// and writes the bitmap, or a preview's pixels, into the other, answering over the same pipe. It bounds its own
// memory, since not every system enforces the job's cap, and ends when the resident program closes the pipe.
#include <windows.h>

#include <algorithm>
#include <cstdint>

#include "base/ConverterProtocol.h"
#include "base/Handles.h"
#include "base/ProcessMemory.h"
#include "base/SystemLibrary.h"
#include "converter/BitmapWriter.h"
#include "converter/FittedPixels.h"
#include "converter/ImagingDecode.h"

namespace {
constexpr DWORD kMemoryCheckMs = 20;
constexpr unsigned char kJpegStart[] = {0xFF, 0xD8, 0xFF};

// Ends the process with its own code as soon as its memory passes the converter's bound, whatever holds it.
DWORD WINAPI WatchMemory(void*)
{
    for (;;) {
        if (CommittedPrivateMemory() > kConverterMemory) {
            TerminateProcess(GetCurrentProcess(), kConverterOverMemoryExit);
        }
        Sleep(kMemoryCheckMs);
    }
}

bool ReadWhole(HANDLE pipe, void* into, DWORD size)
{
    auto* at = static_cast<unsigned char*>(into);
    while (size > 0) {
        DWORD got = 0;
        if (!ReadFile(pipe, at, size, &got, nullptr) || got == 0) {
            return false;
        }
        at += got;
        size -= got;
    }
    return true;
}

void Send(HANDLE pipe, const ConverterReply& reply)
{
    DWORD written = 0;
    WriteFile(pipe, &reply, sizeof(reply), &written, nullptr);
}

// A file named as another type that holds a JPEG goes to the JPEG decoder, under its bounds.
bool HoldsJpeg(HANDLE picture)
{
    unsigned char start[sizeof(kJpegStart)] = {};
    OVERLAPPED at = {};
    DWORD got = 0;
    return ReadFile(picture, start, sizeof(start), &got, &at) && got == sizeof(start) &&
           std::equal(start, start + sizeof(start), kJpegStart);
}

// A crash ends the process at once with the exception's code: no error box, no debugger, no report.
LONG WINAPI EndOnCrash(EXCEPTION_POINTERS* exception)
{
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

ConvertOutcome Serve(HANDLE pipe, const ConvertRequest& request)
{
    if (request.protocol != kConverterProtocol ||
        (request.output != ConvertOutput::BitmapFile && request.output != ConvertOutput::PixelsToFit)) {
        return {ConvertStatus::BadRequest};
    }
    auto* picture = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(request.picture));
    auto* output = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(request.bitmap));
    const DeclaredFn declared = [pipe](unsigned width, unsigned height) {
        Send(pipe, {ConverterNote::Declared, ConvertStatus::Converted, width, height, 0});
    };
    const bool jpeg = request.coding == PictureCoding::Jpeg || HoldsJpeg(picture);
    if (request.output == ConvertOutput::PixelsToFit) {
        const FitBox box{request.fitWidth, request.fitHeight, request.leastScalePpm};
        return jpeg ? ConvertJpegToFit(picture, output, box, declared)
                    : ConvertWithImagingToFit(picture, output, box, declared);
    }
    return jpeg ? ConvertJpeg(picture, output, request.tag, declared)
                : ConvertWithImaging(picture, output, request.tag, declared);
}
} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    // A crash ends the process without a box; the resident program reports it.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(EndOnCrash);
    RestrictLibrarySearch();
    KernelHandle watch(CreateThread(nullptr, 0, WatchMemory, nullptr, 0, nullptr));
    HANDLE pipe = GetStdHandle(STD_INPUT_HANDLE);
    ConvertRequest request;
    while (ReadWhole(pipe, &request, sizeof(request))) {
        const ConvertOutcome outcome = Serve(pipe, request);
        // The handles of a request of another build mean nothing here.
        for (std::uint64_t handle : {request.picture, request.bitmap}) {
            if (handle && request.protocol == kConverterProtocol) {
                CloseHandle(reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(handle)));
            }
        }
        Send(pipe, {ConverterNote::Done, outcome.status, outcome.width, outcome.height, outcome.jpegMessage,
                    outcome.fittedWidth, outcome.fittedHeight});
    }
    return 0;
}
