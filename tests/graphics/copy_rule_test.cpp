// The display's rectangle copies against their rule written out pixel by pixel: nearest source
// pixel (dx * sourceWidth / targetWidth, the same for rows), and with a source key every source
// value inside the key's range leaves the target pixel alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphics/screen.h"
#include "tests/support/headless_display.h"

namespace {

using testing_support::HeadlessDisplay;
using testing_support::ReadPixels;

constexpr int kSourceWidth = 40;
constexpr int kSourceHeight = 30;
constexpr int kTargetWidth = 100;
constexpr int kTargetHeight = 80;

// Every byte value turns up, so keys at 0, in the middle and at 255 all meet pixels they cover.
int SourceValue(int x, int y) {
    return (x * 7 + y * 13 + x * y) & 0xFF;
}

struct Key {
    DWORD low;
    DWORD high;
};

class CopyRule : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(source.Create(&display.screen(), kSourceWidth, kSourceHeight), 1);
        ASSERT_EQ(target.Create(&display.screen(), kTargetWidth, kTargetHeight), 1);
        source.Lock();
        for (int y = 0; y < kSourceHeight; ++y) {
            for (int x = 0; x < kSourceWidth; ++x) {
                source.PutPixel(x, y, SourceValue(x, y));
            }
        }
        source.Unlock();
    }

    // Copies `from` onto `to` of a target filled with 77 and checks every target pixel.
    void ExpectRule(RECT from, RECT to, const Key* key) {
        SCOPED_TRACE(
            "from {" + std::to_string(from.left) + "," + std::to_string(from.top) + "," +
            std::to_string(from.right) + "," + std::to_string(from.bottom) + "} to {" +
            std::to_string(to.left) + "," + std::to_string(to.top) + "," +
            std::to_string(to.right) + "," + std::to_string(to.bottom) + "}" +
            (key ? " key " + std::to_string(key->low) + ".." + std::to_string(key->high) : ""));
        target.Fill(77);
        DWORD flags = DDBLT_WAIT;
        if (key != nullptr) {
            DDCOLORKEY colourKey{key->low, key->high};
            ASSERT_EQ(source.surface->SetColorKey(DDCKEY_SRCBLT, &colourKey), DD_OK);
            flags |= DDBLT_KEYSRC;
        }
        ASSERT_EQ(target.surface->Blt(&to, source.surface, &from, flags, nullptr), DD_OK);
        const std::vector<unsigned char> pixels = ReadPixels(target);
        const int fw = from.right - from.left;
        const int fh = from.bottom - from.top;
        const int tw = to.right - to.left;
        const int th = to.bottom - to.top;
        for (int y = 0; y < kTargetHeight; ++y) {
            for (int x = 0; x < kTargetWidth; ++x) {
                int expected = 77;
                if (x >= to.left && x < to.right && y >= to.top && y < to.bottom) {
                    const int value = SourceValue(from.left + (x - to.left) * fw / tw,
                                                  from.top + (y - to.top) * fh / th);
                    const bool keyed = key != nullptr && static_cast<DWORD>(value) >= key->low &&
                                       static_cast<DWORD>(value) <= key->high;
                    if (!keyed)
                        expected = value;
                }
                ASSERT_EQ(pixels[static_cast<std::size_t>(y) * kTargetWidth + x], expected)
                    << "target pixel " << x << "," << y;
            }
        }
    }

    HeadlessDisplay display;
    Surface source;
    Surface target;
};

TEST_F(CopyRule, KeyRangesOfEveryShapeAtOneToOne) {
    const RECT whole{0, 0, kSourceWidth, kSourceHeight};
    const RECT placed{7, 3, 7 + kSourceWidth, 3 + kSourceHeight};
    ExpectRule(whole, placed, nullptr);
    for (Key key : {Key{0, 0}, Key{255, 255}, Key{100, 180}, Key{200, 400}, Key{0, 255},
                    Key{9, 3} /* empty range: nothing is keyed */, Key{300, 500}}) {
        ExpectRule(whole, placed, &key);
    }
}

TEST_F(CopyRule, StretchedCopiesPickTheNearestSourcePixelDownAndUp) {
    const Key key{10, 60};
    for (RECT to : {RECT{0, 0, 100, 80}, RECT{5, 5, 17, 11}, RECT{1, 2, 2, 3}, RECT{0, 0, 41, 29},
                    RECT{30, 20, 99, 79}}) {
        ExpectRule(RECT{3, 4, 37, 27}, to, nullptr);
        ExpectRule(RECT{3, 4, 37, 27}, to, &key);
        ExpectRule(RECT{0, 0, kSourceWidth, kSourceHeight}, to, &key);
    }
}

// A copy within one surface reads the surface as it was before the copy, even where the two
// rectangles overlap, and does so again on a second copy.
TEST_F(CopyRule, OverlappingCopyWithinOneSurfaceReadsTheOldPixels) {
    for (int round = 0; round < 2; ++round) {
        source.Lock();
        for (int y = 0; y < kSourceHeight; ++y) {
            for (int x = 0; x < kSourceWidth; ++x)
                source.PutPixel(x, y, SourceValue(x, y));
        }
        source.Unlock();
        RECT from{0, 0, 20, 15};
        RECT to{5, 4, 25, 19};
        ASSERT_EQ(source.surface->Blt(&to, source.surface, &from, DDBLT_WAIT, nullptr), DD_OK);
        const std::vector<unsigned char> pixels = ReadPixels(source);
        for (int y = 0; y < kSourceHeight; ++y) {
            for (int x = 0; x < kSourceWidth; ++x) {
                const bool inside = x >= 5 && x < 25 && y >= 4 && y < 19;
                const int expected = inside ? SourceValue(x - 5, y - 4) : SourceValue(x, y);
                ASSERT_EQ(pixels[static_cast<std::size_t>(y) * kSourceWidth + x], expected)
                    << "round " << round << " pixel " << x << "," << y;
            }
        }
    }
}

}  // namespace
