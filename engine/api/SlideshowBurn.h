#pragma once
#include "engine/include/NeroAPI.h"

// Burns a Video CD job as a slideshow image with the engine's settings: one
// still item per picture, each followed by its pause, in the engine's image
// folder. A simulation does all the work but writes no file. Returns an
// ENGINE_BURN_* result; the reasons of a failure go to the engine's errors.
int BurnSlideshowImage(const EngineVideoCdJob& job, bool simulate, EngineProgress* progress);
