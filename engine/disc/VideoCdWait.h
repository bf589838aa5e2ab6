#pragma once
#include <cstdint>

// The one-byte wait of a play list:
//
//   code 0..60     that many seconds
//   code 61..254   60 + (code - 60) x 10 seconds: 70, 80, ... 2000
//   code 255       until a key is pressed
constexpr uint8_t kWaitForever = 255;
constexpr uint8_t kLongestFiniteWait = 254;  // 2000 s

enum class WaitRounding {
    HalfUp,    // nearest step, ties upward: 65 s -> 70 s (the program's rule)
    HalfEven,  // nearest step, ties to the even code: 65 s -> 60 s (vcdxbuild's rint)
};

// The code nearest to a wait in seconds. Up to 60 s the seconds are rounded
// to whole ones, above that to 10 s steps. Waits above 2000 s are clamped
// to 2000 s; a negative wait, infinity or NaN means "until a key".
uint8_t WaitCodeForSeconds(double seconds, WaitRounding rounding);

// The seconds a code waits; -1 for kWaitForever.
int WaitSecondsForCode(uint8_t code);
