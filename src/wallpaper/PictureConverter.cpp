// The converter's process (job object, low-rights token, the pipe that is its standard input), the requests with
// the handles copied into it, the deadline, and the check and rename of the bitmap it wrote.
#include "wallpaper/PictureConverter.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "base/AppError.h"
#include "base/BitmapFile.h"
#include "base/FileSystem.h"
#include "base/ProductFiles.h"

namespace {
constexpr DWORD kPipeBufferBytes = 4096;
constexpr int kTemporaryNameAttempts = 100;
constexpr unsigned kTemporaryNames = 0x1000;
constexpr std::uint64_t kPixelsPerMegapixel = 1000000;
constexpr LONGLONG kTimerUnitsPerMs = 10000;
constexpr DWORD kEndWaitMs = 1000;
// What the converter may not do: reach the desktop's windows, the clipboard or the system's settings.
constexpr DWORD kUiRestrictions = JOB_OBJECT_UILIMIT_DESKTOP | JOB_OBJECT_UILIMIT_DISPLAYSETTINGS |
                                  JOB_OBJECT_UILIMIT_EXITWINDOWS | JOB_OBJECT_UILIMIT_GLOBALATOMS |
                                  JOB_OBJECT_UILIMIT_HANDLES | JOB_OBJECT_UILIMIT_READCLIPBOARD |
                                  JOB_OBJECT_UILIMIT_WRITECLIPBOARD | JOB_OBJECT_UILIMIT_SYSTEMPARAMETERS;

// One process, ended with the job's last handle, its memory capped, and no error box of its own when it crashes.
KernelHandle MakeJob()
{
    KernelHandle job(CreateJobObjectW(nullptr, nullptr));
    if (!job) {
        return job;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_ACTIVE_PROCESS |
                                              JOB_OBJECT_LIMIT_PROCESS_MEMORY |
                                              JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    limits.BasicLimitInformation.ActiveProcessLimit = 1;
    limits.ProcessMemoryLimit = static_cast<SIZE_T>(kConverterMemory);
    JOBOBJECT_BASIC_UI_RESTRICTIONS ui = {kUiRestrictions};
    SetInformationJobObject(job.Get(), JobObjectExtendedLimitInformation, &limits, sizeof(limits));
    SetInformationJobObject(job.Get(), JobObjectBasicUIRestrictions, &ui, sizeof(ui));
    return job;
}

// The program's own token without its privileges and without the administrators' group, at low integrity, so
// that a codec taken over by a crafted file cannot write the user's files. Empty where the system refuses any of
// it; the converter then runs with the job's bounds and its own.
KernelHandle LowRightsToken()
{
    KernelHandle own;
    if (!OpenProcessToken(GetCurrentProcess(),
                          TOKEN_DUPLICATE | TOKEN_QUERY | TOKEN_ASSIGN_PRIMARY | TOKEN_ADJUST_DEFAULT, own.Put())) {
        return {};
    }
    BYTE administrators[SECURITY_MAX_SID_SIZE];
    DWORD size = sizeof(administrators);
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators, &size)) {
        return {};
    }
    SID_AND_ATTRIBUTES denied = {administrators, 0};
    KernelHandle restricted;
    if (!CreateRestrictedToken(own.Get(), DISABLE_MAX_PRIVILEGE, 1, &denied, 0, nullptr, 0, nullptr,
                               restricted.Put())) {
        return {};
    }
    BYTE low[SECURITY_MAX_SID_SIZE];
    size = sizeof(low);
    if (!CreateWellKnownSid(WinLowLabelSid, nullptr, low, &size)) {
        return {};
    }
    TOKEN_MANDATORY_LABEL label = {};
    label.Label.Sid = low;
    label.Label.Attributes = SE_GROUP_INTEGRITY;
    if (!SetTokenInformation(restricted.Get(), TokenIntegrityLevel, &label, sizeof(label) + GetLengthSid(low))) {
        return {};
    }
    return restricted;
}

// A process attribute list that lets the child inherit exactly one handle.
class InheritOnly {
public:
    explicit InheritOnly(HANDLE handle) : handle_(handle)
    {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (size == 0 || !InitializeProcThreadAttributeList(list_, 1, 0, &size)) {
            list_ = nullptr;
        } else if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, &handle_, sizeof(handle_),
                                              nullptr, nullptr)) {
            DeleteProcThreadAttributeList(list_);
            list_ = nullptr;
        }
    }
    ~InheritOnly()
    {
        if (list_) {
            DeleteProcThreadAttributeList(list_);
        }
    }
    InheritOnly(const InheritOnly&) = delete;
    InheritOnly& operator=(const InheritOnly&) = delete;
    LPPROC_THREAD_ATTRIBUTE_LIST List() const { return list_; }

private:
    HANDLE handle_;
    std::vector<unsigned char> storage_;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// A pipe name no other process or converter holds: the program's id, the client's address (two live clients
// differ), the client's count of its pipes and the moment.
std::wstring UniquePipeName(const void* client, unsigned serial)
{
    return L"\\\\.\\pipe\\Sorabune-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(reinterpret_cast<std::uintptr_t>(client)) + L"-" + std::to_wstring(serial) + L"-" +
           std::to_wstring(GetTickCount());
}

// A new file beside the bitmap, to be written by the converter and renamed when complete. Shared for deletion, so
// that a failure can remove it while a converter being ended still holds it.
FileHandle CreateTemporaryBeside(const std::wstring& bitmap, std::wstring& path)
{
    // Where the names start differs between moments and processes, so that one seldom meets another's file.
    const unsigned first = GetCurrentProcessId() + GetTickCount();
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        std::wstring name = TemporaryPathFor(bitmap, first + attempt);
        FileHandle file(CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            path = std::move(name);
            return file;
        }
        if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) {
            break;
        }
    }
    return {};
}

// A copy of a handle in the converter's process with only the access it needs; 0 when it cannot be made.
std::uint64_t CopyInto(HANDLE process, HANDLE handle, DWORD access)
{
    HANDLE copy = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), handle, process, &copy, access, FALSE, 0)) {
        return 0;
    }
    return reinterpret_cast<std::uintptr_t>(copy);
}

ConversionFailure FailureOf(ConvertStatus status)
{
    switch (status) {
    case ConvertStatus::Converted:
        return ConversionFailure::None;
    case ConvertStatus::TooLarge:
        return ConversionFailure::TooLarge;
    case ConvertStatus::CannotWrite:
        return ConversionFailure::CannotCreate;
    case ConvertStatus::Unreadable:
        return ConversionFailure::Unreadable;
    default:
        return ConversionFailure::Crashed;
    }
}
} // namespace

std::wstring ConversionFailureText(const ConversionResult& result, bool jpeg)
{
    switch (result.failure) {
    case ConversionFailure::CannotOpen:
        return L"開けません";
    case ConversionFailure::Unreadable:
        return jpeg && result.jpegMessage != 0
                   ? FormatMessageText(L"JPEG エラー #%d", std::to_wstring(result.jpegMessage))
                   : L"画像として読めません";
    case ConversionFailure::TooLarge:
        return L"大きすぎて読み込めません";
    case ConversionFailure::CannotCreate:
        return L"ビットマップを作成できません";
    case ConversionFailure::TimedOut:
        return L"時間内に変換できませんでした";
    case ConversionFailure::CannotStart:
        return FormatMessageText(L"変換プログラム %s を起動できません", kConverterFileName);
    default:
        return L"変換中に変換プログラムが異常終了しました";
    }
}

ConverterProgram ConverterBesideProgram()
{
    return {FolderOf(OwnFilePath()) + L"\\" + kConverterFileName, L""};
}

DWORD ConversionDeadlineMs(std::uint64_t declaredPixels)
{
    const std::uint64_t pixels = std::min(declaredPixels, kMaxPicturePixels);
    return kConversionFloorMs + static_cast<DWORD>(pixels * kConversionMsPerMegapixel / kPixelsPerMegapixel);
}

std::wstring TemporaryPathFor(const std::wstring& bmpPath, unsigned number)
{
    static constexpr wchar_t kHex[] = L"0123456789ABCDEF";
    std::wstring path = FolderOf(bmpPath);
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') {
        path += L'\\';
    }
    number %= kTemporaryNames;
    path += {L'~', kHex[number >> 8], kHex[(number >> 4) & 0xF], kHex[number & 0xF]};
    return path;
}

bool CommitBitmap(const std::wstring& temporary, const std::wstring& target, std::uint32_t tag, bool anyHolder)
{
    // Without the replace flag the rename fails rather than take the place of a file that came meanwhile.
    if (MoveFileExW(temporary.c_str(), target.c_str(), 0)) {
        return true;
    }
    const DWORD error = GetLastError();
    return (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) && (anyHolder || BitmapTagOf(target) == tag) &&
           MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING);
}

PictureConverter::PictureConverter(ErrorReporter& errors, MessageLoop& loop, ConverterProgram program)
    : errors_(errors), loop_(loop), program_(std::move(program)),
      readEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), writeEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      earlyEvent_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), deadline_(CreateWaitableTimerW(nullptr, TRUE, nullptr))
{
}

PictureConverter::~PictureConverter()
{
    done_ = nullptr;
    if (busy_) {
        Finish({ConversionFailure::Cancelled});
    }
    EndProcess();
}

bool PictureConverter::Prepare()
{
    return process_ || Launch();
}

bool PictureConverter::Launch()
{
    const std::wstring name = UniquePipeName(this, ++pipesMade_);
    pipe_.Reset(CreateNamedPipeW(name.c_str(),
                                 PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                 PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS, 1,
                                 kPipeBufferBytes, kPipeBufferBytes, 0, nullptr));
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    FileHandle converterEnd(
        pipe_ ? CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, &inherited, OPEN_EXISTING, 0, nullptr)
              : INVALID_HANDLE_VALUE);
    if (!converterEnd || !readEvent_ || !writeEvent_ || !earlyEvent_ || !deadline_) {
        EndProcess();
        return false;
    }
    jobObject_ = MakeJob();
    const InheritOnly inheritance(converterEnd.Get());
    STARTUPINFOEXW startup = {};
    startup.StartupInfo.cb = sizeof(startup);
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = converterEnd.Get();
    startup.StartupInfo.hStdOutput = converterEnd.Get();
    startup.StartupInfo.hStdError = converterEnd.Get();
    startup.lpAttributeList = inheritance.List();
    const DWORD flags = CREATE_SUSPENDED | (inheritance.List() ? EXTENDED_STARTUPINFO_PRESENT : 0);
    std::wstring commandLine = L"\"" + program_.path + L"\"";
    if (!program_.arguments.empty()) {
        commandLine += L" " + program_.arguments;
    }
    const std::wstring folder = FolderOf(program_.path);
    PROCESS_INFORMATION created = {};
    const KernelHandle token = LowRightsToken();
    bool started =
        token && CreateProcessAsUserW(token.Get(), program_.path.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                                      flags, nullptr, folder.c_str(), &startup.StartupInfo, &created);
    if (!started) {
        started = CreateProcessW(program_.path.c_str(), commandLine.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                 folder.c_str(), &startup.StartupInfo, &created);
    }
    if (!started) {
        EndProcess();
        return false;
    }
    process_.Reset(created.hProcess);
    KernelHandle thread(created.hThread);
    // Where the program already runs in a job that allows no other, the converter keeps the bounds of its own.
    if (jobObject_) {
        AssignProcessToJobObject(jobObject_.Get(), process_.Get());
    }
    ResumeThread(thread.Get());
    incomingBytes_ = 0;
    return true;
}

void PictureConverter::EndProcess()
{
    if (pipe_ && reading_) {
        CancelIoEx(pipe_.Get(), &read_);
        DWORD got = 0;
        GetOverlappedResult(pipe_.Get(), &read_, &got, TRUE);
    }
    reading_ = false;
    // Its handles close only once it has ended, which takes a few milliseconds.
    if (process_ && TerminateProcess(process_.Get(), 1)) {
        WaitForSingleObject(process_.Get(), kEndWaitMs);
    }
    process_.Reset();
    jobObject_.Reset();
    pipe_.Reset();
}

bool PictureConverter::Start(const ConversionJob& job, DoneFn done)
{
    if (busy_) {
        return false;
    }
    busy_ = true;
    request_ = job;
    done_ = std::move(done);
    tag_ = ConversionTag(job.picture);
    startTick_ = GetTickCount();
    // A converter that ended while it had nothing to do is started anew.
    if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0) {
        EndProcess();
    }
    picture_.Reset(CreateFileW(job.picture.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!picture_) {
        FinishSoon(ConversionFailure::CannotOpen);
        return true;
    }
    if (job.preview) {
        section_.Reset(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                          static_cast<DWORD>(kPreviewSectionBytes >> 32),
                                          static_cast<DWORD>(kPreviewSectionBytes), nullptr));
    } else {
        temporary_ = CreateTemporaryBeside(job.bitmap, temporaryPath_);
    }
    if (job.preview ? !section_ : !temporary_) {
        FinishSoon(ConversionFailure::CannotCreate);
        return true;
    }
    if (!Prepare()) {
        FinishSoon(ConversionFailure::CannotStart);
        return true;
    }
    SetDeadline(kConversionFloorMs);
    Watch(true);
    ConvertRequest request;
    request.coding = job.coding;
    request.tag = tag_;
    request.picture = CopyInto(process_.Get(), picture_.Get(), FILE_GENERIC_READ);
    if (job.preview) {
        request.output = ConvertOutput::PixelsToFit;
        request.fitWidth = job.preview->width;
        request.fitHeight = job.preview->height;
        request.leastScalePpm = job.preview->leastScalePpm;
        request.bitmap = CopyInto(process_.Get(), section_.Get(), FILE_MAP_READ | FILE_MAP_WRITE);
    } else {
        request.bitmap = CopyInto(process_.Get(), temporary_.Get(), FILE_GENERIC_WRITE);
    }
    OVERLAPPED write = {};
    write.hEvent = writeEvent_.Get();
    DWORD written = 0;
    // The pipe's buffer holds many requests and there is never more than one in it, so the write ends at once.
    const bool sent =
        request.picture && request.bitmap &&
        (WriteFile(pipe_.Get(), &request, sizeof(request), nullptr, &write) || GetLastError() == ERROR_IO_PENDING) &&
        GetOverlappedResult(pipe_.Get(), &write, &written, TRUE) && written == sizeof(request);
    if (!sent || (!reading_ && !PostRead())) {
        FinishSoon(ConversionFailure::Crashed);
    }
    return true;
}

void PictureConverter::Watch(bool on)
{
    for (HANDLE handle : {earlyEvent_.Get(), readEvent_.Get(), process_.Get(), deadline_.Get()}) {
        if (handle && on) {
            loop_.Watch(handle, errors_, [this] { Advance(); });
        } else if (handle) {
            loop_.Unwatch(handle);
        }
    }
}

void PictureConverter::Cancel()
{
    if (busy_) {
        Finish({ConversionFailure::Cancelled});
    }
}

void PictureConverter::Close()
{
    if (!busy_) {
        EndProcess();
    }
}

bool PictureConverter::PostRead()
{
    read_ = {};
    read_.hEvent = readEvent_.Get();
    auto* into = reinterpret_cast<unsigned char*>(&incoming_) + incomingBytes_;
    if (!ReadFile(pipe_.Get(), into, sizeof(incoming_) - incomingBytes_, nullptr, &read_) &&
        GetLastError() != ERROR_IO_PENDING) {
        return false;
    }
    reading_ = true;
    return true;
}

void PictureConverter::SetDeadline(DWORD fromStartMs)
{
    const DWORD elapsed = GetTickCount() - startTick_;
    LARGE_INTEGER due = {};
    due.QuadPart = -static_cast<LONGLONG>(fromStartMs > elapsed ? fromStartMs - elapsed : 0) * kTimerUnitsPerMs;
    SetWaitableTimer(deadline_.Get(), &due, 0, nullptr, nullptr, FALSE);
}

void PictureConverter::FinishSoon(ConversionFailure failure)
{
    early_ = {failure};
    SetEvent(earlyEvent_.Get());
    loop_.Watch(earlyEvent_.Get(), errors_, [this] { Advance(); });
}

void PictureConverter::Advance()
{
    if (!busy_) {
        return;
    }
    try {
        if (WaitForSingleObject(earlyEvent_.Get(), 0) == WAIT_OBJECT_0) {
            Finish(early_);
            return;
        }
        // The answer first: a converter that has answered and ended meanwhile has not crashed. A broken pipe is
        // left to the process's end, whose exit code tells a refusal for memory from a crash.
        if (reading_ && WaitForSingleObject(readEvent_.Get(), 0) == WAIT_OBJECT_0) {
            DWORD got = 0;
            reading_ = false;
            const bool read = GetOverlappedResult(pipe_.Get(), &read_, &got, FALSE);
            ResetEvent(readEvent_.Get());
            if (!read) {
                return;
            }
            incomingBytes_ += got;
            if (incomingBytes_ == sizeof(incoming_)) {
                incomingBytes_ = 0;
                OnReply(incoming_);
            }
            if (busy_ && !PostRead()) {
                Finish({ConversionFailure::Crashed});
            }
            return;
        }
        if (process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_OBJECT_0) {
            DWORD code = 0;
            GetExitCodeProcess(process_.Get(), &code);
            Finish({code == kConverterOverMemoryExit ? ConversionFailure::TooLarge : ConversionFailure::Crashed});
            return;
        }
        if (WaitForSingleObject(deadline_.Get(), 0) == WAIT_OBJECT_0) {
            Finish({ConversionFailure::TimedOut});
        }
    } catch (...) {
        Finish({ConversionFailure::Crashed});
    }
}

void PictureConverter::OnReply(const ConverterReply& reply)
{
    if (reply.note == ConverterNote::Declared) {
        SetDeadline(ConversionDeadlineMs(static_cast<std::uint64_t>(reply.width) * reply.height));
        return;
    }
    if (reply.status != ConvertStatus::Converted) {
        Finish({FailureOf(reply.status), reply.jpegMessage});
        return;
    }
    if (request_.preview) {
        OnPixels(reply);
        return;
    }
    // The converter's file is taken only as exactly the bitmap it says it wrote, within the bounds.
    unsigned char headers[kBitmapHeaderSize] = {};
    LARGE_INTEGER size = {};
    OVERLAPPED start = {};
    DWORD got = 0;
    const bool whole =
        GetFileSizeEx(temporary_.Get(), &size) && ReadFile(temporary_.Get(), headers, sizeof(headers), &got, &start) &&
        got == sizeof(headers) && static_cast<std::uint64_t>(reply.width) * reply.height <= kMaxPicturePixels &&
        IsConvertedBitmap(headers, static_cast<std::uint64_t>(size.QuadPart), reply.width, reply.height, tag_);
    if (!whole) {
        Finish({ConversionFailure::Unreadable}, false);
        return;
    }
    temporary_.Reset();
    if (!CommitBitmap(temporaryPath_, request_.bitmap, tag_, request_.ownBitmap)) {
        Finish({ConversionFailure::CannotCreate});
        return;
    }
    temporaryPath_.clear();
    Finish({ConversionFailure::None});
}

void PictureConverter::OnPixels(const ConverterReply& reply)
{
    // The pixels are taken only at exactly the size the request asked for this picture, within the section.
    const PreviewFit& fit = *request_.preview;
    const auto fitted =
        FitPicture(reply.width, reply.height, fit.width, fit.height, fit.leastScalePpm, kPreviewSectionBytes);
    if (!fitted || static_cast<std::uint64_t>(reply.width) * reply.height > kMaxPicturePixels ||
        reply.fittedWidth != fitted->width || reply.fittedHeight != fitted->height) {
        Finish({ConversionFailure::Unreadable}, false);
        return;
    }
    auto pixels = std::make_shared<FittedPixels>();
    pixels->section = std::move(section_);
    pixels->shownWidth = reply.width;
    pixels->shownHeight = reply.height;
    pixels->width = fitted->width;
    pixels->height = fitted->height;
    ConversionResult result;
    result.pixels = std::move(pixels);
    Finish(std::move(result));
}

void PictureConverter::Finish(ConversionResult result, bool converterSound)
{
    Watch(false);
    CancelWaitableTimer(deadline_.Get());
    ResetEvent(earlyEvent_.Get());
    // After a crash, a deadline, a cancel or an answer that was not one the converter is started anew next time;
    // it is ended first, so that it holds the temporary file no more.
    const auto failure = result.failure;
    if (!converterSound || failure == ConversionFailure::Crashed || failure == ConversionFailure::TimedOut ||
        failure == ConversionFailure::Cancelled || failure == ConversionFailure::CannotStart) {
        EndProcess();
    }
    picture_.Reset();
    temporary_.Reset();
    section_.Reset();
    if (!temporaryPath_.empty()) {
        DeleteFileW(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
    busy_ = false;
    if (DoneFn done = std::move(done_)) {
        done_ = nullptr;
        done(result);
    }
}

ConversionResult ConvertHandlingMessages(PictureConverter& converter, const ConversionJob& job,
                                         const std::function<bool()>& stop)
{
    std::optional<ConversionResult> result;
    if (!converter.Start(job, [&result](const ConversionResult& ended) { result = ended; })) {
        return {ConversionFailure::Cancelled};
    }
    const bool running = converter.Loop().HandleMessagesUntil([&] {
        if (!result && stop && stop()) {
            converter.Cancel();
        }
        return result.has_value();
    });
    if (!running && !result) {
        converter.Cancel();
    }
    return result.value_or(ConversionResult{ConversionFailure::Cancelled});
}
