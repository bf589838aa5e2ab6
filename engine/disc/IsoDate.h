#pragma once
#include <cstdint>

// A date and time as ISO 9660 records it: local time and its offset from
// GMT in 15-minute steps.
struct IsoDateTime {
    int year = 1978, month = 7, day = 14, hour = 0, minute = 0, second = 0;
    int gmtOffsetQuarterHours = 0;  // -48..52
};

constexpr int kIsoRecordingDateSize = 7;   // in directory records
constexpr int kIsoVolumeDateSize = 17;     // in the volume descriptor

// True when every field is in range for both forms (years 1900..2155).
bool IsValidIsoDate(const IsoDateTime& date);

// years since 1900, month, day, hour, minute, second, GMT offset.
void PutIsoRecordingDate(uint8_t* p, const IsoDateTime& date);

// "YYYYMMDDHHMMSScc" in ASCII digits, then the GMT offset.
void PutIsoVolumeDate(uint8_t* p, const IsoDateTime& date);

// The volume descriptor's "no date": sixteen '0' digits and offset 0.
void PutIsoBlankVolumeDate(uint8_t* p);
