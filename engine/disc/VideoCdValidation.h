#pragma once
#include <string>

#include "VideoCdDisc.h"

// Why the description cannot become a Video CD 2.0 disc (a limit of the
// format, or a reference to nothing), as a sentence for the user; empty
// when it can. The layout adds the limits that depend on placement.
std::string VideoCdDiscFault(const VideoCdDisc& disc);
