#pragma once
#include <cstdio>

// The files "snapburn sample" writes into its folder, by name, in the
// project's order. The installer's uninstaller removes exactly these.
constexpr int kSampleFileCount = 6;
constexpr const char* kSamplePictureFiles[kSampleFileCount] = {
    "Sample 1.jpg", "Sample 2.jpg", "Sample 3.jpg", "Sample 4.jpg", "Sample 5.jpg", "Sample 6.jpg"};
constexpr const char kSampleProjectFile[] = "Sample.snz";
constexpr const char kSampleProjectTitle[] = "Sample";

// "snapburn sample FOLDER [--delay N]": draws the sample pictures into
// FOLDER (made, with its parents, when missing) as JPEG files and writes the
// sample project naming them by full path, N seconds each (default 5), as
// the program saves a project. A second run writes the same bytes. Returns
// the exit status: 0 made, 1 the folder or a file could not be written,
// 2 bad arguments.
int RunSampleCommand(int argc, char** argv, std::FILE* out, std::FILE* err);
