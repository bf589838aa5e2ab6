#pragma once
#include <cstdio>

// "snapburn burn PROJECT.snz" or "snapburn burn --delay N PICTURE...":
// writes the control file and hands the Video CD job to the engine's image
// recorder, as the program does. Returns the exit status: 0 written, 1 the
// burn failed or was aborted, 2 bad arguments or an unreadable project.
int RunBurnCommand(int argc, char** argv, std::FILE* out, std::FILE* err);
