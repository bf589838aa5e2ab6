#include "UnsignedText.h"

bool ParseUnsignedText(const std::string& text, uint32_t& value)
{
    size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    uint64_t v = 0;
    size_t digits = 0;
    for (; i < n && text[i] >= '0' && text[i] <= '9'; ++i, ++digits) {
        v = v * 10 + static_cast<uint64_t>(text[i] - '0');
        if (v > 0xFFFFFFFFull)
            return false;
    }
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    if (digits == 0 || i != n)
        return false;
    value = static_cast<uint32_t>(v);
    return true;
}

uint32_t LeadingDigitsValue(const std::string& text)
{
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > 0xFFFFFFFFull)
            return 0xFFFFFFFFu;
    }
    return static_cast<uint32_t>(value);
}
