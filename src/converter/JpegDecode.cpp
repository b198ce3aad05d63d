// libjpeg-turbo behind a small interface: a source manager over JpegByteSource, an error manager that
// returns to the caller, the conversion of every colour space the library knows to BGR rows and the turns of
// the Exif orientation.
// <windows.h> stays out of this file: jpeglib.h's boolean clashes with rpcndr.h.
#include "converter/JpegDecode.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdint>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

#include "converter/ExifOrientation.h"

namespace {
constexpr std::size_t kInputBufferSize = 64 * 1024;
constexpr int kBgrBytes = 3;
constexpr int kCmykBytes = 4;
constexpr unsigned kMaxSample = 255;
constexpr int kCoefficients = DCTSIZE2;
// libjpeg-turbo's advice for files from anywhere: real progressions have about ten scans, while each scan of a
// crafted file of thousands makes the decoder walk the whole picture again. More are an invalid progression.
constexpr int kMaxScans = 500;
constexpr int kApp1 = JPEG_APP0 + 1;
constexpr unsigned kWholeSegment = 0xFFFF;
// The shown rows of a picture turned by a quarter are assembled in bands, each from a strip of as many pixels
// (three cache lines) of every held row.
constexpr unsigned kBandRows = 64;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    bool headerRead;
    bool dataEnded;
};

void ErrorExit(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings the library recovers from are let through, except an invalid progression (a scan whose bits do not
// follow those sent before, which a crafted file repeats to make the decoder walk the picture again and again)
// and those that would leave made-up pixels. Data may
// end where only the end marker is missing: in or after Huffman-coded scan data, where the entropy decoder
// reports bits it lacks and the coefficients show what never came. Inside the header or a marker segment,
// and in arithmetic-coded data (whose decoder reads on past the end by design, so that a cut looks like a
// complete scan), nothing tells, and the end of the data is refused.
void EmitMessage(j_common_ptr cinfo, int level)
{
    auto* errors = reinterpret_cast<ErrorManager*>(cinfo->err);
    auto* decoder = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (level >= 0) {
        return;
    }
    if (errors->pub.msg_code == JWRN_BOGUS_PROGRESSION) {
        ErrorExit(cinfo);
    }
    if (errors->pub.msg_code == JWRN_JPEG_EOF) {
        if (!errors->headerRead || decoder->unread_marker != 0 || decoder->arith_code) {
            ErrorExit(cinfo);
        }
        errors->dataEnded = true;
    } else if (errors->pub.msg_code == JWRN_HIT_MARKER) {
        // The entropy decoder needed bits that are not there and would fill the rest with grey.
        if (errors->dataEnded) {
            errors->pub.msg_code = JWRN_JPEG_EOF;
        }
        ErrorExit(cinfo);
    }
}

void OutputMessage(j_common_ptr) {}

struct SourceManager {
    jpeg_source_mgr pub;
    JpegByteSource* source;
    bool startOfFile;
    JOCTET buffer[kInputBufferSize];
};

void InitSource(j_decompress_ptr cinfo)
{
    reinterpret_cast<SourceManager*>(cinfo->src)->startOfFile = true;
}

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    auto* src = reinterpret_cast<SourceManager*>(cinfo->src);
    // Only the file's first APP1 segment is read for its orientation; once it is kept, later ones are skipped:
    // XMP and its extensions reach megabytes, and a crafted file may hold thousands of tiny segments. So at
    // most about a buffer's worth of segments is held.
    if (cinfo->marker_list != nullptr) {
        jpeg_save_markers(cinfo, kApp1, 0);
    }
    std::size_t count = src->source->Read(src->buffer, kInputBufferSize);
    if (count == 0) {
        if (src->startOfFile) {
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        }
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        count = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = count;
    src->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    auto* src = reinterpret_cast<SourceManager*>(cinfo->src);
    while (count > static_cast<long>(src->pub.bytes_in_buffer)) {
        count -= static_cast<long>(src->pub.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    if (count > 0) {
        src->pub.next_input_byte += count;
        src->pub.bytes_in_buffer -= static_cast<std::size_t>(count);
    }
}

void TermSource(j_decompress_ptr) {}

// The scans seen so far and the coefficients they decode.
struct WorkLimit {
    jpeg_progress_mgr pub;
    int scan;
    unsigned long long coefficients;
};

// The blocks of every component at full resolution, padded to whole MCUs as the decoder's buffers are: a scan of
// one component decodes no more than its share of these, an interleaved one the share of each of its components.
unsigned long long FullResolutionBlocks(const jpeg_decompress_struct& cinfo)
{
    const unsigned long long mcuWidth = static_cast<unsigned long long>(cinfo.max_h_samp_factor) * DCTSIZE;
    return (cinfo.image_width + mcuWidth - 1) / mcuWidth * cinfo.max_h_samp_factor * cinfo.total_iMCU_rows *
           cinfo.max_v_samp_factor * static_cast<unsigned>(cinfo.num_components);
}

// The library calls it before it reads each row of a scan's blocks, so a new scan is counted, and refused,
// before any of its blocks is decoded. Arithmetic and Huffman coding, first and refinement scans cost alike: each
// coefficient of the band is visited in every block.
void LimitWork(j_common_ptr cinfo)
{
    auto* decoder = reinterpret_cast<j_decompress_ptr>(cinfo);
    auto* limit = reinterpret_cast<WorkLimit*>(decoder->progress);
    if (decoder->input_scan_number == limit->scan) {
        return;
    }
    limit->scan = decoder->input_scan_number;
    // A sequential scan decodes all coefficients whatever its band says (some files leave it zero).
    const unsigned band =
        decoder->progressive_mode ? static_cast<unsigned>(decoder->Se - decoder->Ss + 1) : kCoefficients;
    limit->coefficients += static_cast<unsigned long long>(decoder->MCUs_per_row) * decoder->MCU_rows_in_scan *
                           static_cast<unsigned>(decoder->blocks_in_MCU) * band;
    if (decoder->input_scan_number > kMaxScans ||
        limit->coefficients >
            kMaxCoefficientPasses * static_cast<unsigned long long>(kCoefficients) * FullResolutionBlocks(*decoder)) {
        ERREXIT4(cinfo, JERR_BAD_PROGRESSION, decoder->Ss, decoder->Se, decoder->Ah, decoder->Al);
    }
}

// Whether every component was in a scan and, in a progressive file, every coefficient got all its bits.
bool EveryCoefficientArrived(const jpeg_decompress_struct& cinfo)
{
    for (int ci = 0; ci < cinfo.num_components; ++ci) {
        if (cinfo.comp_info[ci].quant_table == nullptr) {
            return false;
        }
        for (int k = 0; cinfo.progressive_mode && k < kCoefficients; ++k) {
            if (cinfo.coef_bits[ci][k] != 0) {
                return false;
            }
        }
    }
    return true;
}

void UseSource(j_decompress_ptr cinfo, JpegByteSource& source)
{
    auto* src = static_cast<SourceManager*>(
        (*cinfo->mem->alloc_small)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_PERMANENT, sizeof(SourceManager)));
    src->pub.init_source = InitSource;
    src->pub.fill_input_buffer = FillInputBuffer;
    src->pub.skip_input_data = SkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = TermSource;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
    src->source = &source;
    src->startOfFile = true;
    cinfo->src = &src->pub;
}

// CMYK pictures (Adobe's inverted samples, as nearly all such files are) have no conversion in the library.
void CmykToBgr(const JSAMPLE* cmyk, unsigned char* bgr, unsigned width, bool inverted)
{
    for (unsigned x = 0; x < width; ++x, cmyk += kCmykBytes, bgr += kBgrBytes) {
        unsigned c = cmyk[0], m = cmyk[1], y = cmyk[2], k = cmyk[3];
        if (!inverted) {
            c = kMaxSample - c;
            m = kMaxSample - m;
            y = kMaxSample - y;
            k = kMaxSample - k;
        }
        bgr[0] = static_cast<unsigned char>(y * k / kMaxSample);
        bgr[1] = static_cast<unsigned char>(m * k / kMaxSample);
        bgr[2] = static_cast<unsigned char>(c * k / kMaxSample);
    }
}

void MirrorRow(unsigned char* row, unsigned width)
{
    for (unsigned left = 0, right = width - 1; left < right; ++left, --right) {
        std::swap_ranges(row + left * kBgrBytes, row + (left + 1) * kBgrBytes, row + right * kBgrBytes);
    }
}

// Writes the held picture to the sink as shown, a band of shown rows at a time. Each band takes a narrow strip
// of columns from every held row in turn, rather than a whole column (a cache line and a page per pixel).
bool DeliverTransposed(jpeg_decompress_struct& cinfo, jvirt_sarray_ptr held, Turn turn, JpegRowSink& sink)
{
    auto* common = reinterpret_cast<j_common_ptr>(&cinfo);
    const unsigned heldWidth = cinfo.output_width;
    const unsigned heldHeight = cinfo.output_height;
    const std::size_t rowBytes = static_cast<std::size_t>(heldHeight) * kBgrBytes;
    const unsigned bandRows = std::min(kBandRows, heldWidth);
    JSAMPARRAY band = (*cinfo.mem->alloc_sarray)(common, JPOOL_IMAGE, static_cast<JDIMENSION>(rowBytes), bandRows);
    for (unsigned top = 0; top < heldWidth; top += bandRows) {
        const unsigned rows = std::min(bandRows, heldWidth - top);
        for (unsigned y = 0; y < heldHeight; ++y) {
            const JSAMPLE* from = (*cinfo.mem->access_virt_sarray)(common, held, y, 1, FALSE)[0];
            const std::size_t to = static_cast<std::size_t>(turn.mirror ? heldHeight - 1 - y : y) * kBgrBytes;
            for (unsigned k = 0; k < rows; ++k) {
                const unsigned x = turn.flip ? heldWidth - 1 - (top + k) : top + k;
                std::memcpy(band[k] + to, from + static_cast<std::size_t>(x) * kBgrBytes, kBgrBytes);
            }
        }
        for (unsigned k = 0; k < rows; ++k) {
            std::memcpy(sink.NextRow(top + k), band[k], rowBytes);
            if (!sink.RowDone(top + k)) {
                return false;
            }
        }
    }
    return true;
}

// Everything between setjmp and the end holds no object with a destructor: a longjmp may leave it at any call.
JpegStatus Decode(jpeg_decompress_struct& cinfo, ErrorManager& errors, JpegByteSource& source, JpegRowSink& sink)
{
    if (setjmp(errors.jump)) {
        return JpegStatus::DecodeError;
    }
    UseSource(&cinfo, source);
    jpeg_save_markers(&cinfo, kApp1, kWholeSegment);
    jpeg_read_header(&cinfo, TRUE);
    errors.headerRead = true;
    jpeg_save_markers(&cinfo, kApp1, 0);
    const jpeg_saved_marker_ptr firstApp1 = cinfo.marker_list;
    const Turn turn = kTurns[firstApp1 ? ExifOrientation(firstApp1->data, firstApp1->data_length) : kUpright];
    // The sink sees the size before the decoder allocates anything for the picture: a picture too large for
    // a bitmap is refused before a multi-gigabyte progressive buffer is asked for, whatever the scale, since the
    // coefficients of a progressive file are held at full size.
    if (static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height > kMaxPicturePixels) {
        jpeg_abort_decompress(&cinfo);
        return JpegStatus::TooLarge;
    }
    // The most accurate decoding: integer DCT, fancy upsampling, no colour quantising; smaller sizes come from the
    // library's scaled inverse DCT, which decodes fewer pixels rather than dropping them after.
    const unsigned eighths = std::clamp(sink.ScaleEighths(turn.transpose ? cinfo.image_height : cinfo.image_width,
                                                          turn.transpose ? cinfo.image_width : cinfo.image_height),
                                        1u, kFullScale);
    cinfo.scale_num = eighths;
    cinfo.scale_denom = kFullScale;
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.quantize_colors = FALSE;
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&cinfo);
    const unsigned width = cinfo.output_width;
    const unsigned height = cinfo.output_height;
    if (!sink.Begin(turn.transpose ? height : width, turn.transpose ? width : height,
                    !turn.transpose && turn.flip ? JpegRowOrder::BottomFirst : JpegRowOrder::TopFirst)) {
        jpeg_abort_decompress(&cinfo);
        return JpegStatus::SinkError;
    }
    // A picture turned by a quarter is held whole, as the library's own multi-scan buffers are: one limit covers
    // them all, and a picture beyond it is refused before anything is allocated for it.
    auto* common = reinterpret_cast<j_common_ptr>(&cinfo);
    jvirt_sarray_ptr held =
        turn.transpose ? (*cinfo.mem->request_virt_sarray)(common, JPOOL_IMAGE, FALSE, width * kBgrBytes, height, 1)
                       : nullptr;
    // A file of several scans is read whole here; one whose data ended after a scan but before its last is
    // refused, while one that lacks only its end marker goes on.
    jpeg_start_decompress(&cinfo);
    if (errors.dataEnded && !EveryCoefficientArrived(cinfo)) {
        ERREXIT(&cinfo, JWRN_JPEG_EOF);
    }
    JSAMPARRAY cmykRow = cmyk ? (*cinfo.mem->alloc_sarray)(common, JPOOL_IMAGE, width * kCmykBytes, 1) : nullptr;
    while (cinfo.output_scanline < height) {
        const unsigned row = cinfo.output_scanline;
        const unsigned shownRow = turn.flip ? height - 1 - row : row;
        unsigned char* out =
            held ? (*cinfo.mem->access_virt_sarray)(common, held, row, 1, TRUE)[0] : sink.NextRow(shownRow);
        JSAMPROW target = cmyk ? cmykRow[0] : out;
        if (jpeg_read_scanlines(&cinfo, &target, 1) != 1) {
            ERREXIT(&cinfo, JERR_BAD_STATE);
        }
        if (cmyk) {
            CmykToBgr(cmykRow[0], out, width, cinfo.saw_Adobe_marker);
        }
        if (held) {
            continue;
        }
        if (turn.mirror) {
            MirrorRow(out, width);
        }
        if (!sink.RowDone(shownRow)) {
            jpeg_abort_decompress(&cinfo);
            return JpegStatus::SinkError;
        }
    }
    // The held picture lives in the library's picture pool, which finishing frees.
    if (held && !DeliverTransposed(cinfo, held, turn, sink)) {
        jpeg_abort_decompress(&cinfo);
        return JpegStatus::SinkError;
    }
    jpeg_finish_decompress(&cinfo);
    return JpegStatus::Ok;
}
} // namespace

JpegResult DecodeJpeg(JpegByteSource& source, JpegRowSink& sink)
{
    jpeg_decompress_struct cinfo = {};
    ErrorManager errors = {};
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = ErrorExit;
    errors.pub.emit_message = EmitMessage;
    errors.pub.output_message = OutputMessage;
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kDecoderMemory;
    WorkLimit limit = {};
    limit.pub.progress_monitor = LimitWork;
    cinfo.progress = &limit.pub;
    JpegStatus status = Decode(cinfo, errors, source, sink);
    int code = errors.pub.msg_code;
    jpeg_destroy_decompress(&cinfo);
    return {status, status == JpegStatus::DecodeError ? code : 0};
}
