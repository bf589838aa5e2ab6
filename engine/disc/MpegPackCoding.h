#pragma once
#include <cstdint>

#include "Sector.h"

// How a Video CD marks the Form 2 sector that carries one MPEG-1 pack:
// channel, submode and coding information follow the pack's content.
//
//   motion video (0xE0)           channel 1, video, coding 0x0F
//   normal-resolution still (0xE1) channel 2, video, coding 0x1F
//   high-resolution still (0xE2)  channel 3, video, coding 0x3F
//   audio (0xC0..0xDF)            channel 1, audio, coding 0x7F
//   padding only                  channel 0, neither, coding 0
//
// The first packet that tells decides; a system header tells by the streams
// it lists, video before audio. Every sector is real-time Form 2.

// True when the pack starts with an MPEG-1 pack header.
bool IsMpegPack(const uint8_t* pack);

// A segment item's sector: end of record on a pack holding a sequence end
// code, end of file on the item's last pack.
Subheader SegmentPackSubheader(const uint8_t* pack, bool lastOfItem);

// An MPEG track's sector (file number: the track's AVSEQnn number): end of
// record on the track's last pack.
Subheader TrackPackSubheader(const uint8_t* pack, uint8_t fileNumber, bool lastOfTrack);
