#pragma once
#include <cstdint>
#include <string>

#include "ScsiTransport.h"

// What a drive said about a command that did not succeed: the sense key
// and its additional code and qualifier, from fixed (70h/71h) or
// descriptor (72h/73h) sense data, and the progress of a long operation
// when the drive reports one.
struct SenseData {
    uint8_t key = 0;
    uint8_t asc = 0;
    uint8_t ascq = 0;
    int progress = -1;  // 0..65535 of the operation under way; -1 when not given

    bool Is(uint8_t k, uint8_t a) const { return key == k && asc == a; }
    bool Is(uint8_t k, uint8_t a, uint8_t q) const { return key == k && asc == a && ascq == q; }
    // "2/04/08": how the condition is written in drive documentation.
    std::string Code() const;
};

// The sense of a delivered command with CHECK CONDITION; all zero for one
// that succeeded or carried no sense.
SenseData DecodeSense(const ScsiResult& result);

// The outcome of a command in the user's terms, for messages: "the drive
// has no disc in it", "the disc is not writable in this drive", ...
// Unknown conditions name their code so a report can be looked up.
std::string DescribeOutcome(const ScsiResult& result);
