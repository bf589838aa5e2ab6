#pragma once
#include <cstdint>

// Bits of the CD-ROM XA subheader's submode byte.
constexpr uint8_t kSubmodeEndOfRecord = 0x01;
constexpr uint8_t kSubmodeVideo = 0x02;
constexpr uint8_t kSubmodeAudio = 0x04;
constexpr uint8_t kSubmodeData = 0x08;
constexpr uint8_t kSubmodeTrigger = 0x10;
constexpr uint8_t kSubmodeForm2 = 0x20;
constexpr uint8_t kSubmodeRealTime = 0x40;
constexpr uint8_t kSubmodeEndOfFile = 0x80;
