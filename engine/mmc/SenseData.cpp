#include "SenseData.h"

#include <cstdio>

namespace {

struct Meaning {
    uint8_t key, asc;
    int ascq;  // -1: any qualifier
    const char* text;
};

// The conditions a recorder meets while it finds, writes, erases and reads
// a CD, in words a user can act on. The first match wins, so a specific
// qualifier comes before the catch-all of its code.
const Meaning kMeanings[] = {
    {0x02, 0x3A, -1, "there is no disc in the drive"},
    {0x02, 0x04, 0x01, "the drive is still getting ready"},
    {0x02, 0x04, 0x02, "the drive needs to be started"},
    {0x02, 0x04, 0x04, "the drive is busy formatting the disc"},
    {0x02, 0x04, 0x07, "the drive is busy with an operation"},
    {0x02, 0x04, 0x08, "the drive is still writing"},
    {0x02, 0x04, -1, "the drive is not ready"},
    {0x02, 0x53, 0x02, "the drive's tray is locked by another program"},
    {0x06, 0x28, -1, "the disc in the drive was changed"},
    {0x06, 0x29, -1, "the drive was reset"},
    {0x05, 0x20, -1, "the drive does not know this command"},
    {0x05, 0x21, -1, "the drive refused to write at this place on the disc"},
    {0x05, 0x24, -1, "the drive refused a setting of the command"},
    {0x05, 0x26, -1, "the drive refused the recording settings"},
    {0x05, 0x2C, -1, "the drive refused a command out of order"},
    {0x05, 0x30, -1, "the disc cannot be written in this drive"},
    {0x05, 0x63, -1, "the disc is full"},
    {0x05, 0x64, -1, "the drive cannot write this kind of track"},
    {0x03, 0x0C, 0x09, "the drive ran out of data while writing (buffer underrun)"},
    {0x03, 0x0C, -1, "the drive could not write the disc"},
    {0x03, 0x11, -1, "the drive could not read the disc"},
    {0x03, 0x72, -1, "the drive could not close the disc"},
    {0x03, 0x73, -1, "the disc's calibration area is full or failed"},
};

}  // namespace

std::string SenseData::Code() const
{
    char text[16];
    std::snprintf(text, sizeof text, "%X/%02X/%02X", key, asc, ascq);
    return text;
}

SenseData DecodeSense(const ScsiResult& result)
{
    SenseData sense;
    if (!result.delivered || result.status != 0x02 || result.senseLength < 1)
        return sense;
    const uint8_t* s = result.sense.data();
    const size_t n = result.senseLength < result.sense.size() ? result.senseLength : result.sense.size();
    const uint8_t format = s[0] & 0x7F;
    if (format == 0x70 || format == 0x71) {
        if (n > 2)
            sense.key = s[2] & 0x0F;
        if (n > 13) {
            sense.asc = s[12];
            sense.ascq = s[13];
        }
        // Sense-key specific bytes valid: a long operation's progress.
        if (n > 17 && (s[15] & 0x80))
            sense.progress = s[16] << 8 | s[17];
    } else if (format == 0x72 || format == 0x73) {
        if (n > 3) {
            sense.key = s[1] & 0x0F;
            sense.asc = s[2];
            sense.ascq = s[3];
        }
    }
    return sense;
}

std::string DescribeOutcome(const ScsiResult& result)
{
    if (!result.delivered)
        return "the drive did not answer (system error " + std::to_string(result.transportError) + ")";
    if (result.status == 0)
        return "the drive reported success";
    if (result.status != 0x02)
        return "the drive is busy (status " + std::to_string(result.status) + ")";
    const SenseData sense = DecodeSense(result);
    if (sense.key == 0x04)
        return "the drive reported a hardware fault (" + sense.Code() + ")";
    for (const Meaning& m : kMeanings) {
        if (m.key == sense.key && m.asc == sense.asc && (m.ascq < 0 || m.ascq == sense.ascq))
            return std::string(m.text) + " (" + sense.Code() + ")";
    }
    return "the drive reported an error (" + sense.Code() + ")";
}
