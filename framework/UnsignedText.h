#pragma once
#include <cstdint>
#include <string>

// Parses a decimal unsigned 32-bit number: digits only, blanks allowed
// around them. False for anything else, for no digits and for overflow.
bool ParseUnsignedText(const std::string& text, uint32_t& value);

// The value of the leading decimal digits (0 when there are none), held at
// 4294967295 when larger: the way a setting or a typed delay is read.
uint32_t LeadingDigitsValue(const std::string& text);
