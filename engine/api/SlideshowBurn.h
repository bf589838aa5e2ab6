#pragma once
#include <cstdint>

#include "engine/include/NeroAPI.h"

// Burns a Video CD job as a slideshow image with the engine's settings: one
// still item per picture, each followed by its pause, in the engine's image
// folder. A simulation does all the work but writes no file. A job that
// would not fit in capacity sectors (the medium's) is refused before any
// still is made. Returns an ENGINE_BURN_* result; the reasons of a failure
// go to the engine's errors.
int BurnSlideshowImage(const EngineVideoCdJob& job, bool simulate, uint32_t capacity, EngineProgress* progress);
