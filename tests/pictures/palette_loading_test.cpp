// The display palette read from a bitmap's colour table, byte for byte, over the default cube.
#include <gtest/gtest.h>

#include <cstring>

#include "graphics/bitmap_loading.h"
#include "graphics/palette_reader.h"
#include "platform/host_services.h"
#include "tests/pictures/picture_fixtures.h"
#include "tests/support/headless_display.h"

namespace {

using picture_tests::DistinctColours;
using picture_tests::EntriesOf;
using testing_support::BmpFields;
using testing_support::WriteBmp;
using Entries = std::array<PALETTEENTRY, 256>;

PALETTEENTRY Cube(int i) {
    return PALETTEENTRY{static_cast<BYTE>(((i >> 5) & 7) * 255 / 7),
                        static_cast<BYTE>(((i >> 2) & 7) * 255 / 7),
                        static_cast<BYTE>((i & 3) * 255 / 3), 0};
}

// Entry i as the four file bytes at 54 + 4i, unexchanged, or the cube where the file ends
// (byte by byte, so an entry cut by the end of the file mixes both).
PALETTEENTRY RawOrCube(const std::vector<std::uint8_t>& file, int i) {
    PALETTEENTRY entry = Cube(i);
    auto* bytes = reinterpret_cast<BYTE*>(&entry);
    for (std::size_t k = 0; k < 4; ++k) {
        const std::size_t at = 54 + 4 * static_cast<std::size_t>(i) + k;
        if (at < file.size())
            bytes[k] = file[at];
    }
    return entry;
}

bool Same(const PALETTEENTRY& a, const PALETTEENTRY& b) {
    return std::memcmp(&a, &b, 4) == 0;
}

std::string Show(const PALETTEENTRY& e) {
    return std::to_string(e.peRed) + "," + std::to_string(e.peGreen) + "," +
           std::to_string(e.peBlue) + "," + std::to_string(e.peFlags);
}

class PaletteReader : public ::testing::Test {
  protected:
    Entries Read(const char* name) {
        IDirectDrawPalette* palette = LoadPaletteFromBitmap(display.screen().directDraw, name);
        EXPECT_NE(palette, nullptr);
        Entries entries = EntriesOf(palette);
        if (palette != nullptr)
            palette->Release();
        return entries;
    }
    Entries ReadBytes(const std::vector<std::uint8_t>& file) {
        return Read(folder.Write("palette.bmp", file).c_str());
    }
    // Entries [0, taken) are the file's colours exchanged, the rest raw bytes or cube.
    void ExpectTaken(const Entries& entries, const std::vector<std::uint8_t>& file, int taken) {
        for (int i = 0; i < 256; ++i) {
            PALETTEENTRY expected = RawOrCube(file, i);
            if (i < taken)
                std::swap(expected.peRed, expected.peBlue);
            EXPECT_TRUE(Same(entries[i], expected))
                << "entry " << i << " is " << Show(entries[i]) << ", expected " << Show(expected);
        }
    }

    testing_support::HeadlessDisplay display;
    testing_support::TempFolder folder;
};

TEST_F(PaletteReader, NullNameOrMissingFileGivesTheDefaultCube) {
    const Entries fromNull = Read(nullptr);
    const Entries fromMissing = Read(folder.Path("missing.bmp").c_str());
    const Entries fromFolder = Read(folder.Path("").c_str());
    for (int i = 0; i < 256; ++i) {
        EXPECT_TRUE(Same(fromNull[i], Cube(i))) << i;
        EXPECT_TRUE(Same(fromMissing[i], Cube(i))) << i;
        EXPECT_TRUE(Same(fromFolder[i], Cube(i))) << i;
    }
    // The cube's own examples.
    EXPECT_TRUE(Same(fromNull[3], PALETTEENTRY{0, 0, 255, 0}));
    EXPECT_TRUE(Same(fromNull[28], PALETTEENTRY{0, 255, 0, 0}));
    EXPECT_TRUE(Same(fromNull[73], PALETTEENTRY{72, 72, 85, 0}));
    EXPECT_TRUE(Same(fromNull[224], PALETTEENTRY{255, 0, 0, 0}));
    EXPECT_TRUE(Same(fromNull[255], PALETTEENTRY{255, 255, 255, 0}));
    EXPECT_EQ(display.screen().SetPaletteFromBitmap(folder.Path("missing.bmp").c_str()), 1);
}

TEST_F(PaletteReader, FullTableKeepsItsColoursAndReservedBytes) {
    BmpFields f;
    f.width = 4;
    f.height = 2;
    f.colours = DistinctColours(256);
    for (int i = 0; i < 256; ++i)
        f.reserved.push_back(static_cast<std::uint8_t>(i % 3 == 0 ? 0 : i));
    f.pixelData.assign(8, 1);
    const Entries entries = ReadBytes(WriteBmp(f));
    for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY expected{f.colours[i].red, f.colours[i].green, f.colours[i].blue,
                                    f.reserved[i]};
        EXPECT_TRUE(Same(entries[i], expected)) << i << ": " << Show(entries[i]);
    }
}

TEST_F(PaletteReader, SixteenColoursLeaveRawBytesAfterThemAndTheCubePastTheEnd) {
    BmpFields f;
    f.width = 8;
    f.height = 9;
    f.bitCount = 4;
    f.colours = DistinctColours(16);
    f.pixelData =
        testing_support::PackIndexedRows(picture_tests::KnownIndices(8, 9, 16), 8, 9, 4, false);
    // Two bytes more, so the end of the file cuts one entry in half.
    f.pixelData.push_back(0xA1);
    f.pixelData.push_back(0xB2);
    const auto file = WriteBmp(f);
    ASSERT_EQ(file.size(), 118u + 36 + 2);
    const Entries entries = ReadBytes(file);
    ExpectTaken(entries, file, 16);
    // Entry 25 holds the last two file bytes, then the cube's blue and flags.
    EXPECT_TRUE(Same(entries[25], PALETTEENTRY{0xA1, 0xB2, Cube(25).peBlue, 0}));
}

TEST_F(PaletteReader, LongHeadersAndTrueColourTakeNoColours) {
    for (std::uint32_t header : {108u, 124u}) {
        SCOPED_TRACE("header " + std::to_string(header));
        BmpFields f;
        f.width = 4;
        f.height = 2;
        f.headerSize = header;
        f.masks[0] = 0x11223344, f.masks[1] = 0x55667788;
        f.colours = DistinctColours(256);
        f.pixelData.assign(8, 9);
        const auto file = WriteBmp(f);
        ExpectTaken(ReadBytes(file), file, 0);
    }
    BmpFields rgb;
    rgb.width = 2;
    rgb.height = 2;
    rgb.bitCount = 24;
    rgb.pixelData =
        testing_support::PackColourRows(picture_tests::KnownColours(2, 2), 2, 2, 24, false);
    const auto file = WriteBmp(rgb);
    ASSERT_EQ(file.size(), 70u);
    ExpectTaken(ReadBytes(file), file, 0);
}

TEST_F(PaletteReader, ColourCountFollowsBitCountAndClrUsed) {
    struct Case {
        std::uint16_t bitCount;
        std::uint32_t clrUsed;
        int taken;
    };
    for (const Case& c :
         {Case{0, 0, 1}, Case{8, 1000, 256}, Case{8, 3, 3}, Case{1, 0, 2}, Case{16, 0, 0}}) {
        SCOPED_TRACE("bits " + std::to_string(c.bitCount) + ", clrUsed " +
                     std::to_string(c.clrUsed));
        BmpFields f;
        f.width = 4;
        f.height = 2;
        f.bitCount = c.bitCount;
        f.clrUsed = c.clrUsed;
        f.colours = DistinctColours(256);
        f.pixelData.assign(16, 7);
        const auto file = WriteBmp(f);
        ExpectTaken(ReadBytes(file), file, c.taken);
    }
}

TEST_F(PaletteReader, HeaderCutShortTakesNothing) {
    BmpFields f;
    f.width = 4;
    f.height = 2;
    f.colours = DistinctColours(256);
    auto file = WriteBmp(f);
    file.resize(30);
    const Entries entries = ReadBytes(file);
    for (int i = 0; i < 256; ++i)
        EXPECT_TRUE(Same(entries[i], Cube(i))) << i;
}

// The exchange runs over every taken entry, also those the file did not reach.
TEST_F(PaletteReader, ColourTableCutShortStillExchangesEveryTakenEntry) {
    BmpFields f;
    f.width = 4;
    f.height = 2;
    f.colours = DistinctColours(256);
    auto file = WriteBmp(f);
    file.resize(54 + 40);
    ExpectTaken(ReadBytes(file), file, 256);
}

TEST_F(PaletteReader, RefusedPaletteLeavesTheDisplayPaletteAlone) {
    Screen& screen = display.screen();
    ASSERT_EQ(screen.SetPaletteFromBitmap(folder.Path("missing.bmp").c_str()), 1);
    IDirectDrawPalette* before = screen.palette;
    platform::InjectDisplayFault("CreatePalette", DDERR_OUTOFMEMORY);
    EXPECT_EQ(LoadPaletteFromBitmap(screen.directDraw, nullptr), nullptr);
    platform::InjectDisplayFault("CreatePalette", DDERR_OUTOFMEMORY);
    EXPECT_EQ(screen.SetPaletteFromBitmap(folder.Path("missing.bmp").c_str()), 0);
    EXPECT_EQ(screen.palette, before);
}

// The resource reader, over the bytes a locked resource would give.
std::vector<std::uint8_t> PackedBitmap(std::uint32_t headerSize, std::uint16_t bitCount,
                                       std::uint32_t clrUsed, int tableEntries) {
    BmpFields f;
    f.width = 2;
    f.height = 2;
    f.bitCount = bitCount;
    f.clrUsed = clrUsed;
    f.headerSize = headerSize;
    f.colours = DistinctColours(tableEntries);
    for (int i = 0; i < tableEntries; ++i)
        f.reserved.push_back(0x7F);
    auto file = WriteBmp(f);
    return {file.begin() + 14, file.end()};
}

TEST(ResourcePalette, TakesTheTableAfterAnyHeaderOfFortyBytesOrMore) {
    for (std::uint32_t header : {40u, 124u}) {
        SCOPED_TRACE("header " + std::to_string(header));
        const auto bytes = PackedBitmap(header, 4, 0, 16);
        PALETTEENTRY entries[256];
        FillDefaultColourCube(entries);
        EXPECT_EQ(TakeResourceColours(bytes.data(), bytes.size(), entries), 16);
        const auto colours = DistinctColours(16);
        for (int i = 0; i < 16; ++i) {
            // Flags are 0, whatever the reserved byte said.
            EXPECT_TRUE(Same(entries[i],
                             PALETTEENTRY{colours[i].red, colours[i].green, colours[i].blue, 0}))
                << i;
        }
        for (int i = 16; i < 256; ++i)
            EXPECT_TRUE(Same(entries[i], Cube(i))) << i;
    }
}

TEST(ResourcePalette, ShortHeadersAndShortResourcesAreReadNoFurther) {
    PALETTEENTRY entries[256];
    FillDefaultColourCube(entries);
    auto bytes = PackedBitmap(40, 8, 0, 256);
    bytes[0] = 39;
    EXPECT_EQ(TakeResourceColours(bytes.data(), bytes.size(), entries), 0);
    bytes[0] = 40;
    // A resource that ends after five and a half entries gives five.
    EXPECT_EQ(TakeResourceColours(bytes.data(), 40 + 22, entries), 5);
    EXPECT_TRUE(Same(entries[5], Cube(5)));
    EXPECT_EQ(TakeResourceColours(bytes.data(), 39, entries), 0);
}

TEST(ResourcePalette, LinuxHasNoResourceStore) {
    EXPECT_EQ(FindResourceA(nullptr, "anything.bmp", RT_BITMAP), nullptr);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(LockResource(nullptr), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
}

}  // namespace
