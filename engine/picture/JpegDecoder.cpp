#include "JpegDecoder.h"

#include <climits>
#include <csetjmp>
#include <cstdio>  // jpeglib.h uses FILE and size_t without including their headers
#include <memory>
#include <new>
#include <string>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// A real progressive file has about ten scans. A hostile one can repeat
// scans to keep the decoder busy for minutes.
constexpr int kMaxScans = 1000;
constexpr int kMaxScale = 16;  // libjpeg-turbo scales by N/8, N = 1..16
constexpr int kScaleDenominator = 8;

// libjpeg reports through this. Its error_exit must not return, so it
// jumps back into DecodeJpeg; warnings are noted and sorted afterwards into
// what the user is told.
struct ErrorManager {
    jpeg_error_mgr pub;  // first member: libjpeg hands back a pointer to it
    std::jmp_buf jump;
    int errorCode;
    char errorText[JMSG_LENGTH_MAX];
    char refusal[JMSG_LENGTH_MAX];  // our own reason, which replaces libjpeg's
    bool readingHeader;
    bool endedInHeader;  // the data ran out before the first scan
    bool endedEarly;     // the data ran out (the source made up an end marker)
    bool scanCutShort;   // a scan needed data that was not there
    char damage[JMSG_LENGTH_MAX];  // the first warning about bad data
};

// Everything the decode touches. It lives on the heap, so that nothing a
// jump from libjpeg skips over is a local variable changed after setjmp.
struct Decompressor {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    jpeg_progress_mgr progress{};
    Image image;
    bool scansIncomplete = false;  // progressive: some coefficients never arrived
    bool rowsDone = false;
    // The size the frame header gave. A second frame header later in the
    // file overwrites libjpeg's fields before it is refused, so the
    // picture's own size is kept here.
    JDIMENSION sourceWidth = 0;
    JDIMENSION sourceHeight = 0;

    Decompressor() = default;
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
    ~Decompressor() { jpeg_destroy_decompress(&info); }  // safe when never created
};

ErrorManager& Errors(j_common_ptr cinfo)
{
    return *reinterpret_cast<ErrorManager*>(cinfo->err);
}

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    ErrorManager& errors = Errors(cinfo);
    errors.errorCode = errors.pub.msg_code;
    errors.pub.format_message(cinfo, errors.errorText);
    std::longjmp(errors.jump, 1);
}

void OnMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;  // trace output, not a warning
    ErrorManager& errors = Errors(cinfo);
    errors.pub.num_warnings++;
    if (errors.pub.msg_code == JWRN_JPEG_EOF) {
        errors.endedEarly = true;
        errors.endedInHeader = errors.endedInHeader || errors.readingHeader;
        return;
    }
    if (errors.pub.msg_code == JWRN_HIT_MARKER)
        errors.scanCutShort = true;
    if (errors.damage[0] == '\0')
        errors.pub.format_message(cinfo, errors.damage);
}

[[noreturn]] void Refuse(j_common_ptr cinfo, const char* reason)
{
    ErrorManager& errors = Errors(cinfo);
    std::snprintf(errors.refusal, sizeof errors.refusal, "%s", reason);
    std::longjmp(errors.jump, 1);
}

void OnProgress(j_common_ptr cinfo)
{
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        Refuse(cinfo, "the JPEG data is damaged: it has too many scans");
}

bool StartsWithSoi(const uint8_t* data, size_t size)
{
    return size >= 2 && data[0] == 0xFF && data[1] == 0xD8;
}

void ReadHeader(Decompressor& jpeg, const uint8_t* data, size_t size)
{
    jpeg_decompress_struct& info = jpeg.info;
    info.err = jpeg_std_error(&jpeg.errors.pub);
    jpeg.errors.pub.error_exit = OnError;
    jpeg.errors.pub.emit_message = OnMessage;
    jpeg_create_decompress(&info);
    jpeg.progress.progress_monitor = OnProgress;
    info.progress = &jpeg.progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));

    jpeg.errors.readingHeader = true;
    jpeg_read_header(&info, TRUE);
    jpeg.errors.readingHeader = false;
    // Without a single byte of scan data there is nothing to show but grey.
    if (jpeg.errors.endedInHeader || info.src->bytes_in_buffer == 0)
        Refuse(reinterpret_cast<j_common_ptr>(&info), "the JPEG file ends before the picture data");
}

bool WithinLimits(JDIMENSION width, JDIMENSION height)
{
    return width <= static_cast<JDIMENSION>(kMaxPictureSide) &&
           height <= static_cast<JDIMENSION>(kMaxPictureSide) &&
           static_cast<int64_t>(width) * height <= kMaxPicturePixels;
}

// Runs before jpeg_start_decompress, which is where libjpeg takes memory in
// proportion to the picture.
void CheckSize(jpeg_decompress_struct& info)
{
    auto* common = reinterpret_cast<j_common_ptr>(&info);
    char reason[JMSG_LENGTH_MAX];
    if (static_cast<int64_t>(info.image_width) * info.image_height > kMaxPicturePixels) {
        std::snprintf(reason, sizeof reason, "the picture is larger than %d megapixels",
                      static_cast<int>(kMaxPicturePixels / 1000000));
        Refuse(common, reason);
    }
    if (!WithinLimits(info.image_width, info.image_height)) {
        std::snprintf(reason, sizeof reason, "the picture is more than %d pixels wide or high",
                      kMaxPictureSide);
        Refuse(common, reason);
    }
}

void ChooseColourSpace(jpeg_decompress_struct& info)
{
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
    case JCS_YCbCr:
    case JCS_RGB:
        info.out_color_space = JCS_RGB;
        break;
    case JCS_CMYK:
    case JCS_YCCK:  // libjpeg turns YCCK into CMYK
        info.out_color_space = JCS_CMYK;
        break;
    default:
        Refuse(reinterpret_cast<j_common_ptr>(&info), "the JPEG colour format is not supported");
    }
}

// The smallest N/8 at which the picture, fitted into boxWidth x boxHeight
// keeping its shape, is not enlarged (a side of 0 leaves that side free);
// when none is, the largest that stays within the picture limits.
void ChooseScale(jpeg_decompress_struct& info, int boxWidth, int boxHeight)
{
    info.scale_num = kScaleDenominator;
    info.scale_denom = kScaleDenominator;
    if (boxWidth <= 0 && boxHeight <= 0)
        return;
    const uint64_t width = info.image_width, height = info.image_height;
    const uint64_t boxW = boxWidth > 0 ? static_cast<uint64_t>(boxWidth) : 0;
    const uint64_t boxH = boxHeight > 0 ? static_cast<uint64_t>(boxHeight) : 0;
    // The side that limits the fit is asked in full, the other in proportion.
    uint64_t needWidth = boxW, needHeight = boxH;
    if (boxH == 0 || (boxW != 0 && boxW * height <= boxH * width)) {
        needHeight = (height * boxW + width - 1) / width;
    } else {
        needWidth = (width * boxH + height - 1) / height;
    }
    for (int num = 1; num <= kMaxScale; ++num) {
        info.scale_num = num;
        jpeg_calc_output_dimensions(&info);
        if (!WithinLimits(info.output_width, info.output_height)) {
            info.scale_num = num - 1;  // at least 8/8: the full size passed CheckSize
            return;
        }
        if (info.output_width >= needWidth && info.output_height >= needHeight)
            return;
    }
}

// Adobe's applications store CMYK inverted (0 is full ink) and mark the
// file with their APP14 segment; libjpeg passes the values on as stored.
void CmykRowToRgb(const JSAMPLE* cmyk, uint8_t* rgb, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
        const int white = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const int light = inverted ? cmyk[c] : 255 - cmyk[c];
            rgb[c] = static_cast<uint8_t>((light * white + 127) / 255);
        }
    }
}

void AllocateImage(Decompressor& jpeg)
{
    bool allocated = true;
    try {
        jpeg.image.width = static_cast<int>(jpeg.info.output_width);
        jpeg.image.height = static_cast<int>(jpeg.info.output_height);
        jpeg.image.rgb.assign(static_cast<size_t>(jpeg.image.width) * jpeg.image.height * 3, 0);
    } catch (const std::bad_alloc&) {
        allocated = false;  // the jump must not leave from inside the handler
    }
    if (!allocated)
        Refuse(reinterpret_cast<j_common_ptr>(&jpeg.info), "there is not enough memory for the picture");
}

// A progressive file whose data ran out between scans ends with some
// coefficients never sent (coef_bits stays above 0, -1 when none came).
bool ScansIncomplete(const jpeg_decompress_struct& info)
{
    if (!info.progressive_mode || info.coef_bits == nullptr)
        return false;
    for (int c = 0; c < info.num_components; ++c)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (info.coef_bits[c][k] != 0)
                return true;
    return false;
}

void ReadRows(Decompressor& jpeg)
{
    jpeg_decompress_struct& info = jpeg.info;
    AllocateImage(jpeg);
    JSAMPARRAY cmykRow = nullptr;
    if (info.out_color_space == JCS_CMYK)
        cmykRow = info.mem->alloc_sarray(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                         info.output_width * 4, 1);
    while (info.output_scanline < info.output_height) {
        uint8_t* out = jpeg.image.Row(static_cast<int>(info.output_scanline));
        JSAMPROW row = cmykRow != nullptr ? cmykRow[0] : out;
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            break;  // cannot happen with an in-memory source; never loop forever
        if (cmykRow != nullptr)
            CmykRowToRgb(cmykRow[0], out, info.output_width, info.saw_Adobe_marker);
    }
    jpeg.scansIncomplete = ScansIncomplete(info);
}

void Decode(Decompressor& jpeg, const uint8_t* data, size_t size, int boxWidth, int boxHeight)
{
    ReadHeader(jpeg, data, size);
    jpeg.sourceWidth = jpeg.info.image_width;
    jpeg.sourceHeight = jpeg.info.image_height;
    CheckSize(jpeg.info);
    ChooseColourSpace(jpeg.info);
    ChooseScale(jpeg.info, boxWidth, boxHeight);
    jpeg_start_decompress(&jpeg.info);
    ReadRows(jpeg);
    jpeg.rowsDone = true;
    jpeg_finish_decompress(&jpeg.info);
}

std::string ReasonForError(const Decompressor& jpeg)
{
    const ErrorManager& errors = jpeg.errors;
    if (errors.refusal[0] != '\0')
        return errors.refusal;
    if (errors.endedInHeader)
        return "the JPEG file ends before the picture data";
    switch (errors.errorCode) {
    case JERR_NO_SOI:
        return "not a JPEG file";
    case JERR_BAD_PRECISION:
        return std::to_string(jpeg.info.data_precision) + "-bit JPEG pictures are not supported";
    case JERR_NO_IMAGE:
        return "the JPEG file holds no picture";
    case JERR_EMPTY_IMAGE:
        return "the picture's width or height is zero";
    case JERR_SOF_UNSUPPORTED:
        return "lossless and hierarchical JPEG pictures are not supported";
    case JERR_ARITH_NOTIMPL:
        return "arithmetic-coded JPEG pictures are not supported";
    case JERR_OUT_OF_MEMORY:
        return "there is not enough memory for the picture";
    default:
        return std::string("the JPEG data is damaged: ") + errors.errorText;
    }
}

// What went wrong in a picture that was still decoded, most serious first.
std::string Warning(const Decompressor& jpeg)
{
    const ErrorManager& errors = jpeg.errors;
    if (errors.endedEarly && (errors.scanCutShort || jpeg.scansIncomplete))
        return "the picture is incomplete";
    if (errors.damage[0] != '\0')
        return std::string("the JPEG data is damaged: ") + errors.damage;
    if (errors.endedEarly)
        return "the JPEG end marker is missing";
    return {};
}

DecodeResult Refused(std::string reason)
{
    DecodeResult result;
    result.error = std::move(reason);
    return result;
}

DecodeResult Decoded(Decompressor& jpeg, std::string warning)
{
    DecodeResult result;
    result.ok = true;
    result.image = std::move(jpeg.image);
    result.warning = std::move(warning);
    result.sourceWidth = static_cast<int>(jpeg.sourceWidth);
    result.sourceHeight = static_cast<int>(jpeg.sourceHeight);
    return result;
}

// libjpeg stopped with an error. When every picture row had been read,
// only the end of the file was bad: the picture is kept.
DecodeResult Interrupted(Decompressor& jpeg)
{
    if (!jpeg.rowsDone)
        return Refused(ReasonForError(jpeg));
    const ErrorManager& errors = jpeg.errors;
    if (errors.refusal[0] != '\0')
        return Decoded(jpeg, errors.refusal);
    return Decoded(jpeg, std::string("the JPEG data is damaged: ") + errors.errorText);
}

}  // namespace

DecodeResult DecodeJpeg(const uint8_t* data, size_t size, int boxWidth, int boxHeight)
{
    if (data == nullptr || !StartsWithSoi(data, size))
        return Refused("not a JPEG file");
    // libjpeg takes the size as unsigned long, which has 32 bits on Windows.
    if constexpr (sizeof(size_t) > sizeof(unsigned long)) {
        if (size > ULONG_MAX)
            return Refused("the file is too large");
    }

    const auto jpeg = std::make_unique<Decompressor>();
    if (setjmp(jpeg->errors.jump) != 0)
        return Interrupted(*jpeg);
    Decode(*jpeg, data, size, boxWidth, boxHeight);
    return Decoded(*jpeg, Warning(*jpeg));
}
