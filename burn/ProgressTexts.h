#pragma once
#include <string>

// The burn dialog's clock, "hh:mm:ss" with at least two digits each.
std::string ElapsedText(int hours, int minutes, int seconds);
// The burn dialog's percentage of a bar position in a range: "05 %", "37 %".
std::string PercentText(int position, int range);
