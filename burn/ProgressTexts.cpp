#include "ProgressTexts.h"

#include <cstdio>

std::string ElapsedText(int hours, int minutes, int seconds)
{
    char text[48];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", hours, minutes, seconds);
    return text;
}

std::string PercentText(int position, int range)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02d %%", range > 0 ? static_cast<int>(position * 100LL / range) : 0);
    return text;
}
