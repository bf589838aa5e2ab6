#pragma once
#include "engine/mpeg1/BitWriter.h"

// Writes macroblock_address_increment: a macroblock_escape for every 33
// beyond the first 33, then the code of what remains (1..33). increment >= 1.
void PutMacroblockAddressIncrement(BitWriter& out, int increment);

// Writes the slices of a P picture that shows its reference picture
// unchanged. A slice may not begin or end with a skipped macroblock, so each
// slice codes its first and last macroblock as forward-predicted with a zero
// vector and no coefficients, and skips every macroblock between them. One
// slice spans `rowsPerSlice` macroblock rows (the last slice what is left).
// The picture header must give forward_f_code 1. Ends byte aligned.
void WriteUnchangedSlices(int mbWidth, int mbHeight, int quantiser, BitWriter& out, int rowsPerSlice = 1);
