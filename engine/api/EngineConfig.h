#pragma once
#include <string>

// The engine's own settings: where image files go and the video system of
// the discs it makes.
struct EngineConfig {
    std::string imageFolder;  // BIN/CUE pairs are written here
    bool ntsc = false;        // 525-line discs; otherwise 625 lines (PAL)
    bool normalOnly = false;  // stills without the high-resolution picture
    bool safeArea = false;    // photos fitted inside the central 90 %
    bool index = true;        // index pages of numbered thumbnails behind RETURN
};

// The defaults of this machine: the user's Documents folder, subfolder
// "Snapdisc Images"; NTSC where the user's region is an NTSC country, PAL
// elsewhere; index pages. Settings stored for the engine override them
// (Windows: HKCU\Software\Larkfield_SNZ\NeroAPI, "ImageFolder",
// "VideoSystem" PAL or NTSC, "IndexPages" off).
EngineConfig DefaultEngineConfig();

// The highest drive letter not in use, for the image recorder ('Z' where
// there are no drive letters).
char FreeDriveLetter();
