#pragma once
#include <cstdio>

// "snapburn still PICTURE OUT.mpg [--ntsc] [--normal-only] [--safe-area]":
// writes the still item a disc would hold for the picture. Returns the exit
// status: 0 written, 1 the picture was refused (or the output could not be
// written), 2 bad arguments.
int RunStillCommand(int argc, char** argv, std::FILE* err);
