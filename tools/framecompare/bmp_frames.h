// Reading the kept frames back: a reference BMP as an indexed frame, a photograph as colours.
#pragma once

#include <string>

#include "hostkit/desktop/frame_image.h"

namespace framecompare {

// An 8-bit (or fewer bits) BMP with its colour table; false with one line naming the file.
bool ReadIndexedFrame(const std::string& path, hostkit::IndexedFrame* frame, std::string* error);
// Any BMP the decoder takes, as colours; false with one line naming the file.
bool ReadColourImage(const std::string& path, hostkit::RgbImage* image, std::string* error);

// Writes the colours as an indexed PNG when they number 256 at most, as a photograph of an
// 8-bit display does; false with one line otherwise.
bool WriteColourPng(const std::string& path, const hostkit::RgbImage& image, std::string* error);

}  // namespace framecompare
