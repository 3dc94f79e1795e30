// The two colour-table readers of the display palette, as functions over the bytes they read.
#pragma once

#include <cstddef>

#include "platform/ddraw.h"

// Entries taken from a colour table: none above 8 bits per pixel, the full table of the bit
// depth when biClrUsed is 0, otherwise biClrUsed; never more than 256.
int PaletteColourCount(int bitCount, DWORD clrUsed);

// A bitmap resource: information header (acceptable from 40 bytes on) with its colour table
// right after it. Taken entries get red, green, blue from the table and flags 0; the others are
// left alone. Nothing is read past `size`. Returns the number of entries taken.
int TakeResourceColours(const BYTE* bytes, std::size_t size, PALETTEENTRY* entries);

// A file: `info` holds the `infoBytes` bytes that were read of a 40-byte information header, and
// `entries` already hold the bytes read straight over them. Acceptable only with biSize exactly
// 40; taken entries get red and blue exchanged, keeping the file's fourth byte as flags. Returns
// the number of entries taken.
int TakeFileColours(const BYTE* info, std::size_t infoBytes, PALETTEENTRY* entries);
