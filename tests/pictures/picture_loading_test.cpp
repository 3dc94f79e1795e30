// Pictures into surfaces: sizes, colour matching to the display palette, stretching, reloads,
// the loader's debug lines and the one error line of a bad picture.
#include <gtest/gtest.h>

#include <filesystem>

#include "graphics/bitmap_loading.h"
#include "graphics/tile_sheet.h"
#include "platform/bmp_decoder.h"
#include "platform/host_services.h"
#include "tests/pictures/picture_fixtures.h"
#include "tests/support/headless_display.h"

namespace {

using picture_tests::CountLines;
using picture_tests::DistinctColours;
using picture_tests::KnownIndices;
using picture_tests::StderrOf;
using testing_support::BmpFields;
using testing_support::Rgb;
using testing_support::WriteBmp;

// Width x height indices of a platform surface, read through a lock.
std::vector<std::uint8_t> SurfacePixels(IDirectDrawSurface* surface) {
    Surface view;
    view.surface = surface;
    auto pixels = testing_support::ReadPixels(view);
    view.surface = nullptr;
    return pixels;
}

HBITMAP LoadFile(const std::string& path) {
    return static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION | LR_LOADFROMFILE));
}

class PictureLoading : public ::testing::Test {
  protected:
    Screen& screen() { return display.screen(); }
    // A palette file whose table is `colours`, made the display palette.
    void UsePalette(const std::vector<Rgb>& colours) {
        const std::string path =
            folder.Write("palette.bmp", testing_support::Write8BitBmp(1, 1, colours, {0}));
        ASSERT_EQ(screen().SetPaletteFromBitmap(path.c_str()), 1);
    }
    std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        return folder.Write(name, bytes);
    }

    testing_support::HeadlessDisplay display;
    testing_support::TempFolder folder;
};

TEST_F(PictureLoading, NewSurfaceHasThePictureSizeAndItsIndices) {
    const auto colours = DistinctColours(256);
    const auto indices = KnownIndices(7, 5, 256);
    const std::string path =
        Write("known.bmp", testing_support::Write8BitBmp(7, 5, colours, indices));
    UsePalette(colours);
    int width = -1;
    int height = -1;
    IDirectDrawSurface* surface =
        LoadBitmapSurface(screen().directDraw, path.c_str(), &width, &height);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 5);
    DDSURFACEDESC description{};
    description.dwSize = sizeof description;
    surface->GetSurfaceDesc(&description);
    EXPECT_EQ(description.dwWidth, 7u);
    EXPECT_EQ(description.dwHeight, 5u);
    EXPECT_EQ(SurfacePixels(surface), indices);
    surface->Release();
}

TEST_F(PictureLoading, MissingPictureLeavesTheOutArgumentsAloneAndSaysSoOnce) {
    const std::string path = folder.Path("nowhere.bmp");
    int width = 123;
    int height = 456;
    IDirectDrawSurface* surface = nullptr;
    const std::string err = StderrOf(
        [&] { surface = LoadBitmapSurface(screen().directDraw, path.c_str(), &width, &height); });
    EXPECT_EQ(surface, nullptr);
    EXPECT_EQ(width, 123);
    EXPECT_EQ(height, 456);
    EXPECT_EQ(CountLines(err), 1) << err;
    EXPECT_NE(err.find(path), std::string::npos) << err;
    EXPECT_NE(err.find("cannot open"), std::string::npos) << err;
}

TEST_F(PictureLoading, RefusedSurfaceReleasesThePictureAndGivesNothing) {
    const std::string path =
        Write("known.bmp",
              testing_support::Write8BitBmp(7, 5, DistinctColours(2), KnownIndices(7, 5, 2)));
    const int before = platform::CountDisplayObjects();
    platform::InjectDisplayFault("CreateSurface", DDERR_OUTOFVIDEOMEMORY);
    int width = 1;
    EXPECT_EQ(LoadBitmapSurface(screen().directDraw, path.c_str(), &width, nullptr), nullptr);
    EXPECT_EQ(width, 1);
    EXPECT_EQ(platform::CountDisplayObjects(), before);
}

TEST_F(PictureLoading, TableEqualToThePaletteKeepsIndicesEvenWhereColoursRepeat) {
    auto colours = DistinctColours(256);
    colours[9] = colours[3];  // the same colour twice
    colours[200] = colours[0];
    UsePalette(colours);
    std::vector<std::uint8_t> indices = {9, 3, 200, 0, 255, 17};
    const std::string path =
        Write("same.bmp", testing_support::Write8BitBmp(6, 1, colours, indices));
    IDirectDrawSurface* surface =
        LoadBitmapSurface(screen().directDraw, path.c_str(), nullptr, nullptr);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(SurfacePixels(surface), indices);
    surface->Release();
}

TEST_F(PictureLoading, OtherColoursTakeTheNearestEntryAndTheLowestIndexOnTies) {
    std::vector<Rgb> palette(256, Rgb{255, 255, 255});
    palette[10] = {100, 0, 0};
    palette[20] = {0, 100, 0};
    palette[30] = {0, 100, 0};  // repeats 20
    palette[40] = {50, 50, 50};
    palette[50] = {60, 50, 50};
    UsePalette(palette);
    // Table: nearest 10; exactly 20 (and 30); halfway between 40 and 50; white (entry 0 on).
    std::vector<Rgb> table = {{90, 5, 0}, {0, 100, 0}, {55, 50, 50}, {255, 255, 255}};
    BmpFields f;
    f.width = 4;
    f.height = 1;
    f.colours = table;
    f.clrUsed = 4;
    f.pixelData = {0, 1, 2, 3};
    const std::string path = Write("near.bmp", WriteBmp(f));
    IDirectDrawSurface* surface =
        LoadBitmapSurface(screen().directDraw, path.c_str(), nullptr, nullptr);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(SurfacePixels(surface), (std::vector<std::uint8_t>{10, 20, 40, 0}));
    surface->Release();
}

TEST_F(PictureLoading, TrueColourPixelsEachFindTheirNearestEntry) {
    const auto colours = DistinctColours(256);
    UsePalette(colours);
    const auto pixels = picture_tests::KnownColours(7, 5);
    BmpFields f;
    f.width = 7;
    f.height = 5;
    f.bitCount = 24;
    f.pixelData = testing_support::PackColourRows(pixels, 7, 5, 24, false);
    const std::string path = Write("rgb.bmp", WriteBmp(f));
    IDirectDrawSurface* surface =
        LoadBitmapSurface(screen().directDraw, path.c_str(), nullptr, nullptr);
    ASSERT_NE(surface, nullptr);
    const auto got = SurfacePixels(surface);
    ASSERT_EQ(got.size(), pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        int best = 0;
        long bestDistance = -1;
        for (int k = 0; k < 256; ++k) {
            const long dr = colours[k].red - pixels[i].red;
            const long dg = colours[k].green - pixels[i].green;
            const long db = colours[k].blue - pixels[i].blue;
            const long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance)
                best = k, bestDistance = d;
        }
        EXPECT_EQ(got[i], best) << "pixel " << i;
    }
    surface->Release();
}

TEST_F(PictureLoading, PictureOfAnotherSizeIsStretchedToTheWholeSurface) {
    const auto colours = DistinctColours(256);
    UsePalette(colours);
    const std::string small =
        Write("small.bmp", testing_support::Write8BitBmp(2, 2, colours, {1, 2, 3, 4}));
    const std::string big =
        Write("big.bmp", testing_support::Write8BitBmp(4, 4, colours, KnownIndices(4, 4, 256)));
    Surface target;
    ASSERT_EQ(target.Create(&screen(), 4, 4), 1);
    ASSERT_EQ(ReloadBitmap(target.surface, small.c_str()), DD_OK);
    EXPECT_EQ(testing_support::ReadPixels(target),
              (std::vector<std::uint8_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
    Surface shrunk;
    ASSERT_EQ(shrunk.Create(&screen(), 2, 2), 1);
    ASSERT_EQ(ReloadBitmap(shrunk.surface, big.c_str()), DD_OK);
    const auto all = KnownIndices(4, 4, 256);
    EXPECT_EQ(testing_support::ReadPixels(shrunk),
              (std::vector<std::uint8_t>{all[0], all[2], all[8], all[10]}));
}

TEST_F(PictureLoading, ReloadOfABlankSurfaceWritesHandleIsNull) {
    Surface blank;
    ASSERT_EQ(blank.Create(&screen(), 8, 8), 1);
    blank.Fill(42);
    HRESULT result = DD_OK;
    const std::string err = StderrOf([&] { result = blank.Restore(); });
    EXPECT_EQ(result, static_cast<HRESULT>(0x80004005));
    EXPECT_EQ(err, "handle is null\n");
    EXPECT_EQ(testing_support::PixelAt(blank, 3, 3), 42);
}

TEST_F(PictureLoading, RefusedDrawingContextWritesCopyFailedAndReturnsItsCode) {
    const std::string path =
        Write("known.bmp",
              testing_support::Write8BitBmp(4, 4, DistinctColours(4), KnownIndices(4, 4, 4)));
    Surface target;
    ASSERT_EQ(target.Create(&screen(), 4, 4), 1);
    ASSERT_EQ(target.Lock(), DD_OK);
    HRESULT result = DD_OK;
    const std::string err = StderrOf([&] { result = ReloadBitmap(target.surface, path.c_str()); });
    target.Unlock();
    EXPECT_EQ(result, DDERR_SURFACEBUSY);
    EXPECT_EQ(err, "ddcopybitmap failed\n");
}

TEST_F(PictureLoading, CopyWithoutMemoryContextSaysSoAndTransfersNothing) {
    const std::string path =
        Write("known.bmp",
              testing_support::Write8BitBmp(4, 4, DistinctColours(4), KnownIndices(4, 4, 4)));
    Surface target;
    ASSERT_EQ(target.Create(&screen(), 4, 4), 1);
    target.Fill(77);
    HBITMAP image = LoadFile(path);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(CopyBitmapToSurface(nullptr, image, 0, 0, 0, 0), E_FAIL);
    EXPECT_EQ(CopyBitmapToSurface(target.surface, nullptr, 0, 0, 0, 0), E_FAIL);
    platform::InjectDisplayFault("CreateCompatibleDC", E_FAIL);
    HRESULT result = E_FAIL;
    const std::string err =
        StderrOf([&] { result = CopyBitmapToSurface(target.surface, image, 0, 0, 0, 0); });
    EXPECT_EQ(result, DD_OK);
    EXPECT_EQ(err, "createcompatible dc failed\n");
    EXPECT_EQ(testing_support::ReadPixels(target), std::vector<std::uint8_t>(16, 77));
    EXPECT_EQ(DeleteObject(image), TRUE);
}

TEST(Gdi, PictureObjectsFollowTheSelectionRules) {
    testing_support::TempFolder folder;
    const std::string path = folder.Write(
        "p.bmp", testing_support::Write8BitBmp(7, 5, DistinctColours(3), KnownIndices(7, 5, 3)));
    HBITMAP image = LoadFile(path);
    ASSERT_NE(image, nullptr);
    BITMAP info{};
    EXPECT_EQ(GetObjectA(image, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 7);
    EXPECT_EQ(info.bmHeight, 5);
    EXPECT_EQ(info.bmBitsPixel, 8);
    EXPECT_EQ(info.bmWidthBytes, 8);
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HGDIOBJ stock = SelectObject(first, image);
    EXPECT_NE(stock, nullptr);
    EXPECT_EQ(SelectObject(second, image), nullptr) << "a picture sits in one context at a time";
    EXPECT_EQ(DeleteObject(image), FALSE) << "a selected picture cannot be deleted";
    EXPECT_EQ(DeleteDC(first), TRUE);
    EXPECT_EQ(DeleteDC(second), TRUE);
    EXPECT_EQ(DeleteObject(image), TRUE);
    // Resources never load, and neither do other image kinds or sizes.
    EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr);
    EXPECT_EQ(LoadImageA(nullptr, MAKEINTRESOURCEA(5), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE),
              nullptr);
    const std::string err = StderrOf([&] {
        EXPECT_EQ(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 3, 3, LR_LOADFROMFILE), nullptr);
    });
    EXPECT_EQ(CountLines(err), 1);
}

TEST(Gdi, OldFileHandlesReadWhatIsThereAndFailOnFolders) {
    testing_support::TempFolder folder;
    const std::string path = folder.Write("ten.bin", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    EXPECT_EQ(_lopen(folder.Path("missing").c_str(), OF_READ), HFILE_ERROR);
    EXPECT_EQ(_lopen(folder.Path("").c_str(), OF_READ), HFILE_ERROR);
    EXPECT_EQ(_lopen(nullptr, OF_READ), HFILE_ERROR);
    HFILE file = _lopen(path.c_str(), OF_READ);
    ASSERT_NE(file, HFILE_ERROR);
    BYTE buffer[8] = {};
    EXPECT_EQ(_lread(file, buffer, 6), 6u);
    EXPECT_EQ(_lread(file, buffer, 8), 4u);
    EXPECT_EQ(buffer[3], 9);
    EXPECT_EQ(_lread(file, buffer, 8), 0u);
    EXPECT_EQ(_lclose(file), 0);
    EXPECT_EQ(_lclose(file), HFILE_ERROR);
}

// Files that must not load: each gives one line naming the file and the reason.
struct BadFile {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* reason;
};

std::vector<std::uint8_t> Patched(
    std::vector<std::uint8_t> bytes,
    std::initializer_list<std::pair<std::size_t, std::uint32_t>> changes) {
    for (const auto& [at, value] : changes) {
        for (std::size_t k = 0; k < 4; ++k)
            bytes[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
    }
    return bytes;
}

std::vector<BadFile> BadFiles() {
    const auto good =
        testing_support::Write8BitBmp(7, 5, DistinctColours(256), KnownIndices(7, 5, 256));
    const std::uint32_t minusSeven = static_cast<std::uint32_t>(-7);
    return {
        {"truncated.bmp", {good.begin(), good.end() - 3}, "pixel data cut short"},
        {"lying-offset.bmp", Patched(good, {{10, 5000}}), "past the end"},
        {"lying-header.bmp", Patched(good, {{14, 4000}}), "header size 4000"},
        {"zero-width.bmp", Patched(good, {{18, 0}}), "width is 0"},
        {"zero-height.bmp", Patched(good, {{22, 0}}), "height is 0"},
        {"negative-width.bmp", Patched(good, {{18, minusSeven}}), "negative width"},
        {"huge.bmp", Patched(good, {{18, 20000}}), "over 16384"},
        {"too-many-pixels.bmp", Patched(good, {{18, 9000}, {22, 9000}}), "64 Mi"},
        {"compressed.bmp", Patched(good, {{30, 5}}), "compression PNG"},
        {"empty.bmp", {}, "too short"},
        {"text.bmp", std::vector<std::uint8_t>(20, 'x'), "not a BMP"},
    };
}

TEST_F(PictureLoading, EveryBadPictureFailsCleanlyWithOneLine) {
    for (const BadFile& file : BadFiles()) {
        const std::string path = Write(file.name, file.bytes);
        int width = -5;
        IDirectDrawSurface* surface = nullptr;
        const std::string err = StderrOf([&] {
            surface = LoadBitmapSurface(screen().directDraw, path.c_str(), &width, nullptr);
        });
        EXPECT_EQ(surface, nullptr) << file.name;
        EXPECT_EQ(width, -5) << file.name;
        EXPECT_EQ(CountLines(err), 1) << file.name << ": " << err;
        EXPECT_NE(err.find(path), std::string::npos) << err;
        EXPECT_NE(err.find(file.reason), std::string::npos) << file.name << ": " << err;
        TileSheet sheet;
        int loaded = 1;
        StderrOf([&] { loaded = sheet.Load(&screen(), path.c_str(), 2, 2, 1); });
        EXPECT_EQ(loaded, 0) << file.name;
        EXPECT_EQ(sheet.surface, nullptr) << file.name;
    }
}

TEST_F(PictureLoading, FolderAndOversizedFileAreRefusedWithoutReadingThem) {
    std::string err = StderrOf([&] { EXPECT_EQ(LoadFile(folder.Path("")), nullptr); });
    EXPECT_EQ(CountLines(err), 1);
    EXPECT_NE(err.find("not a regular file"), std::string::npos) << err;
    // A sparse file just over the limit costs no disk space.
    const std::string big = folder.Path("big.bmp");
    Write("big.bmp", {'B', 'M'});
    std::filesystem::resize_file(big, static_cast<std::uintmax_t>(platform::kMaxBmpFileBytes) + 1);
    err = StderrOf([&] { EXPECT_EQ(LoadFile(big), nullptr); });
    EXPECT_EQ(CountLines(err), 1);
    EXPECT_NE(err.find("too large"), std::string::npos) << err;
}

}  // namespace
