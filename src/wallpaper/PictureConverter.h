// The resident program's side of the picture converter: the converter process, started when first needed and
// again only after a failure, held in a job object and run at low rights where the system allows, asked one
// picture at a time; the UI thread never waits for it. A request ends on the UI thread with the converter's
// answer, its crash, its deadline or Cancel.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "base/AppError.h"
#include "base/ConverterProtocol.h"
#include "base/Handles.h"
#include "base/MessageLoop.h"

// The converter program and what its command line carries after its name.
struct ConverterProgram {
    std::wstring path;
    std::wstring arguments;
};
// SorabuneConv.exe beside the running program.
ConverterProgram ConverterBesideProgram();

// How long a conversion may take from its request: a floor for the start of the converter and the header, and a
// share for each megapixel the picture declares.
inline constexpr DWORD kConversionFloorMs = 2000;
inline constexpr DWORD kConversionMsPerMegapixel = 40;
DWORD ConversionDeadlineMs(std::uint64_t declaredPixels);

enum class ConversionFailure {
    None,
    CannotOpen,   // the picture cannot be opened
    Unreadable,   // no picture of its type, damaged, or refused by the bounds of work
    TooLarge,     // over the pixel or memory bound
    CannotCreate, // the bitmap cannot be written under its name
    Crashed,      // the converter ended without an answer
    TimedOut,     // ended at its deadline
    CannotStart,  // the converter cannot be started
    Cancelled,
};
// A preview's pixels: top-down rows of 24-bit pixels, each padded to a multiple of 4 bytes, at the start of a
// section that the program made and the converter wrote into.
struct FittedPixels {
    KernelHandle section;
    unsigned shownWidth = 0; // the whole picture as shown
    unsigned shownHeight = 0;
    unsigned width = 0; // the pixels
    unsigned height = 0;
};

struct ConversionResult {
    ConversionFailure failure = ConversionFailure::None;
    int jpegMessage = 0;                        // the JPEG decoder's message number with Unreadable
    std::shared_ptr<const FittedPixels> pixels; // a preview's, when it succeeded
};

// Why a picture was passed over, as the messages say it after the picture's name: "開けません",
// "JPEG エラー #n" (for a JPEG file, jpeg), "画像として読めません" and so on.
std::wstring ConversionFailureText(const ConversionResult& result, bool jpeg);

// What a preview asks for: the box that its reduced picture covers and the least scale it keeps (FitPicture).
struct PreviewFit {
    unsigned width = 0;
    unsigned height = 0;
    std::uint32_t leastScalePpm = 0;
};

// One picture to convert and where its bitmap goes. The bitmap is written under a temporary name in its folder,
// checked, and renamed to its name only when that name is free or holds this picture's own earlier conversion
// (ConversionTag): nothing the program did not write is replaced. The program's own wallpaper bitmap is replaced
// whatever it holds, still only once the new one is complete. A preview's job asks for pixels instead.
struct ConversionJob {
    std::wstring picture;
    PictureCoding coding = PictureCoding::Jpeg;
    std::wstring bitmap;
    bool ownBitmap = false;
    std::optional<PreviewFit> preview;
};

class PictureConverter {
public:
    using DoneFn = std::function<void(const ConversionResult&)>;

    // What a done call throws is reported to errors; the converter's answers are watched for in loop.
    PictureConverter(ErrorReporter& errors, MessageLoop& loop, ConverterProgram program = ConverterBesideProgram());
    ~PictureConverter();
    PictureConverter(const PictureConverter&) = delete;
    PictureConverter& operator=(const PictureConverter&) = delete;

    // Starts the converter ahead of a request, so that its start overlaps other work; false when it cannot be
    // started.
    bool Prepare();
    // Starts a conversion; done is called once on this thread, from the message loop or a wait that handles
    // messages, when it ends (Cancel included). False, and no call, while another one runs.
    bool Start(const ConversionJob& job, DoneFn done);
    bool Busy() const { return busy_; }
    // Where the conversion's end is watched for.
    MessageLoop& Loop() const { return loop_; }
    // Ends the converter at once; the running conversion's done hears Cancelled.
    void Cancel();
    // Ends the converter when it has nothing to do (a done call may end its own); the next request starts one anew.
    void Close();

private:
    bool Launch();
    void EndProcess();
    bool PostRead();
    void Advance();
    void OnReply(const ConverterReply& reply);
    void OnPixels(const ConverterReply& reply);
    void Watch(bool on);
    // converterSound: the converter answered as it should, and serves the next request.
    void Finish(ConversionResult result, bool converterSound = true);
    void FinishSoon(ConversionFailure failure);
    void SetDeadline(DWORD fromStartMs);

    ErrorReporter& errors_;
    MessageLoop& loop_;
    ConverterProgram program_;
    KernelHandle jobObject_;
    KernelHandle process_;
    FileHandle pipe_;
    KernelHandle readEvent_;
    KernelHandle writeEvent_;
    // Set when a result was decided before the converter was asked (the picture cannot be opened, say), so that
    // it too is given from the loop.
    KernelHandle earlyEvent_;
    KernelHandle deadline_;
    OVERLAPPED read_ = {};
    bool reading_ = false;
    ConverterReply incoming_ = {};
    DWORD incomingBytes_ = 0;

    bool busy_ = false;
    unsigned pipesMade_ = 0;
    ConversionJob request_;
    DoneFn done_;
    std::uint32_t tag_ = 0;
    FileHandle picture_;
    FileHandle temporary_;
    std::wstring temporaryPath_;
    DWORD startTick_ = 0;
    ConversionResult early_;
    KernelHandle section_;
};

// Converts while handling messages, until the conversion ends or stop() (asked after every round of messages)
// says to cancel it; a quit request cancels it too.
ConversionResult ConvertHandlingMessages(PictureConverter& converter, const ConversionJob& job,
                                         const std::function<bool()>& stop = nullptr);

// The temporary file's name for the nth attempt: in bmpPath's folder, so that the final rename stays on the
// same volume, and never longer than a bitmap's own name (".BMP" at least), so that a bitmap whose path is
// near the length limit gets its temporary file too.
std::wstring TemporaryPathFor(const std::wstring& bmpPath, unsigned number);

// Puts a finished bitmap (temporary) in place under target: when target is free, or holds a bitmap that carries
// tag (this picture's earlier conversion), or always for the program's own bitmap (anyHolder). False, and target
// untouched, otherwise.
bool CommitBitmap(const std::wstring& temporary, const std::wstring& target, std::uint32_t tag, bool anyHolder = false);
