#pragma once
#include <cstdint>
#include <string>

// Parses a decimal unsigned 32-bit number: digits only, blanks allowed
// around them. False for anything else, for no digits and for overflow.
bool ParseUnsignedText(const std::string& text, uint32_t& value);
