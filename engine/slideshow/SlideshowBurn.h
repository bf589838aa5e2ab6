#pragma once
#include <cstdint>

#include "engine/include/NeroAPI.h"
#include "engine/recorder/DiscOutput.h"

// Burns a Video CD job as a slideshow disc with the engine's settings: one
// still item per picture, each followed by its pause, its sectors going to
// the recorder's output. A simulation does all the work but gives the
// output nothing. A job that would not fit in capacity sectors (the
// medium's) is refused before any still is made. Returns an ENGINE_BURN_*
// result; the reasons of a failure go to the engine's errors.
int BurnSlideshow(const EngineVideoCdJob& job, bool simulate, uint32_t capacity, DiscOutput& output,
                  EngineProgress* progress);
