#pragma once
#include <cstddef>
#include <cstdint>

#include "BitWriter.h"

// The headers of an MPEG-1 video elementary stream (ISO/IEC 11172-2), as
// the still pictures and the motion track both write them.

constexpr size_t kVbvUnitBytes = 2048;         // vbv_buffer_size counts units of 16 384 bits
constexpr uint32_t kBitRateUnit = 400;         // bit_rate counts 400 bit/s
constexpr uint32_t kVariableBitRate = 0x3FFFF;  // bit_rate of a stream without a constant rate
constexpr uint32_t kVariableVbvDelay = 0xFFFF;  // vbv_delay of such a stream

// Sizes in bytes. A picture's vbv_delay counts from the end of its start code.
constexpr size_t kStartCodeBytes = 4;
constexpr size_t kSequenceHeaderBytes = 12;
constexpr size_t kGroupHeaderBytes = 8;
constexpr size_t kIntraPictureHeaderBytes = 8;
constexpr size_t kPredictedPictureHeaderBytes = 9;  // with its forward vector fields
constexpr size_t kSequenceEndBytes = kStartCodeBytes;

// A 4:3 picture of 625 lines at 25 Hz (PAL) or 525 at 29.97 Hz (NTSC),
// with the default quantiser matrices.
struct SequenceHeader {
    int width = 0;
    int height = 0;
    bool ntsc = false;
    uint32_t bitRate = kVariableBitRate;  // in kBitRateUnit
    int vbvBufferSize = 0;                // in kVbvUnitBytes
    bool constrainedParameters = false;
};
void PutSequenceHeader(BitWriter& out, const SequenceHeader& header);

// A closed group of pictures whose first picture is `firstPicture` pictures
// from the start of the stream; its time code counts whole seconds of the
// nominal rate (25 or 30) without dropped frames.
void PutGroupHeader(BitWriter& out, bool ntsc, int firstPicture);

enum class PictureType : uint32_t { Intra = 1, Predicted = 2 };

// A picture header; a predicted picture's vectors are all zero (full_pel 0,
// forward_f_code 1).
void PutPictureHeader(BitWriter& out, int temporalReference, PictureType type, uint32_t vbvDelay);

void PutSequenceEnd(BitWriter& out);
