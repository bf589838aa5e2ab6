#pragma once
#include <cstdio>

// The size in bytes of an open file (64-bit on every platform), or -1 when
// the system cannot tell. Lets a reader refuse a file that is too large
// before reading any of it.
long long FileSize(std::FILE* f);
