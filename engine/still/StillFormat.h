#pragma once

// Which still picture of a Video CD item is meant.
struct StillFormat {
    bool ntsc = false;  // 525 lines, 29.97 Hz; otherwise 625 lines, 25 Hz (PAL)
    bool high = false;  // 704 wide (high resolution); otherwise 352 (normal)

    int Width() const { return high ? 704 : 352; }
    int Height() const { return (ntsc ? 240 : 288) * (high ? 2 : 1); }
};
