#include "VideoHeaders.h"

namespace {

constexpr uint8_t kPictureStartCode = 0x00;
constexpr uint8_t kSequenceHeaderCode = 0xB3;
constexpr uint8_t kSequenceEndCode = 0xB7;
constexpr uint8_t kGroupStartCode = 0xB8;

}  // namespace

void PutSequenceHeader(BitWriter& out, const SequenceHeader& h)
{
    out.StartCode(kSequenceHeaderCode);                         // sequence_header_code
    out.Put(static_cast<uint32_t>(h.width), 12);                // horizontal_size
    out.Put(static_cast<uint32_t>(h.height), 12);               // vertical_size
    out.Put(h.ntsc ? 12 : 8, 4);                                // pel_aspect_ratio: 4:3 display, 525 or 625 lines
    out.Put(h.ntsc ? 4 : 3, 4);                                 // picture_rate: 29.97 or 25 Hz
    out.Put(h.bitRate, 18);                                     // bit_rate
    out.Put(1, 1);                                              // marker_bit
    out.Put(static_cast<uint32_t>(h.vbvBufferSize), 10);        // vbv_buffer_size
    out.Put(h.constrainedParameters ? 1 : 0, 1);                // constrained_parameters_flag
    out.Put(0, 1);                                              // load_intra_quantizer_matrix: default
    out.Put(0, 1);                                              // load_non_intra_quantizer_matrix: default
}

void PutGroupHeader(BitWriter& out, bool ntsc, int firstPicture)
{
    const int nominal = ntsc ? 30 : 25;
    const int seconds = firstPicture / nominal;
    out.StartCode(kGroupStartCode);                             // group_start_code
    out.Put(0, 1);                                              // time_code: drop_frame_flag
    out.Put(static_cast<uint32_t>(seconds / 3600 % 24), 5);     // time_code: hours
    out.Put(static_cast<uint32_t>(seconds / 60 % 60), 6);       // time_code: minutes
    out.Put(1, 1);                                              // marker_bit
    out.Put(static_cast<uint32_t>(seconds % 60), 6);            // time_code: seconds
    out.Put(static_cast<uint32_t>(firstPicture % nominal), 6);  // time_code: pictures
    out.Put(1, 1);                                              // closed_gop: no picture looks outside the group
    out.Put(0, 1);                                              // broken_link
}

void PutPictureHeader(BitWriter& out, int temporalReference, PictureType type, uint32_t vbvDelay)
{
    out.StartCode(kPictureStartCode);                              // picture_start_code
    out.Put(static_cast<uint32_t>(temporalReference) & 0x3FF, 10); // temporal_reference
    out.Put(static_cast<uint32_t>(type), 3);                       // picture_coding_type
    out.Put(vbvDelay, 16);                                         // vbv_delay
    if (type == PictureType::Predicted) {
        out.Put(0, 1);                                             // full_pel_forward_vector
        out.Put(1, 3);                                             // forward_f_code: 1
    }
    out.Put(0, 1);                                                 // extra_bit_picture
    out.AlignWithZeros();
}

void PutSequenceEnd(BitWriter& out)
{
    out.StartCode(kSequenceEndCode);  // sequence_end_code
}
