// The show's 8-bit frames as the planar YUV 4:2:0 pictures a video encoder takes, scaled by
// nearest neighbour. Done here rather than by ffmpeg: a palette makes it one table lookup a
// pixel, and at twice the show's size every chroma sample covers exactly one show pixel, so the
// colours come out exact instead of smeared across the hard edges of the pixel art.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ddraw.h"

namespace player {

// How colours become Y, Cb and Cr, and what the video says of it. Players that ignore the tags
// take BT.601 below 720 lines and BT.709 from there, so the matrix follows the picture's height.
enum class ColourMatrix { kBt601, kBt709 };
ColourMatrix MatrixForHeight(int height);
// ffmpeg's name of the matrix, primaries and transfer for the tags (limited range either way).
std::string MatrixName(ColourMatrix matrix);

struct YuvColour {
    std::uint8_t y = 0;
    std::uint8_t cb = 0;
    std::uint8_t cr = 0;
};
// Limited range: Y 16..235, Cb and Cr 16..240, rounded to nearest.
YuvColour ToYuv(const PALETTEENTRY& colour, ColourMatrix matrix);

// Where the show's frame lies in a picture: whole, or centred on black bars. All even.
struct PictureRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PictureRect&) const = default;
};

// The largest rectangle of the frame's shape that fits the picture, centred: the whole picture
// when the shapes agree, else bars left and right (wider pictures) or above and below.
PictureRect FitPicture(int width, int height, int outWidth, int outHeight);

class YuvFrameConverter {
  public:
    // Frames of `width` x `height` palette indices become pictures of `outWidth` x `outHeight`
    // (both even), stretched over all of it.
    YuvFrameConverter(int width, int height, int outWidth, int outHeight);
    // The same, the frame scaled into `rect` and the rest of the picture black.
    YuvFrameConverter(int width, int height, int outWidth, int outHeight, PictureRect rect);

    // Y plane, then Cb, then Cr at half the size each way.
    std::size_t pictureBytes() const;
    // `pixels` are row after row without padding. Each luma sample takes the show pixel nearest
    // to its centre; each chroma sample is the mean of its four luma samples' chroma.
    void Convert(const BYTE* pixels, const PALETTEENTRY* palette, std::uint8_t* picture);

  private:
    void BuildTables(const PALETTEENTRY* palette);

    int width_;
    int outWidth_;
    int outHeight_;
    PictureRect rect_;
    ColourMatrix matrix_;
    std::vector<int> columns_;    // the show column under each column of the rectangle
    std::vector<int> rows_;       // the show row under each row of the rectangle
    int factor_ = 0;              // picture columns per show column when a whole number
    bool columnsRepeat_ = false;  // every picture column pair over one show column
    PALETTEENTRY tablePalette_[256]{};
    bool tablesValid_ = false;
    std::uint8_t luma_[256]{};
    std::uint8_t blue_[256]{};  // Cb
    std::uint8_t red_[256]{};   // Cr
};

}  // namespace player
