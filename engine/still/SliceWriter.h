#pragma once
#include "BitWriter.h"
#include "QuantisedPicture.h"

// Writes the slices of an intra picture: one slice per macroblock row, each
// starting at `quantiser` (1..31), every macroblock intra-coded with its six
// blocks; a macroblock whose own scale differs carries it. Ends byte
// aligned, ready for the next start code.
void WriteIntraSlices(const QuantisedPicture& picture, int quantiser, BitWriter& out);
