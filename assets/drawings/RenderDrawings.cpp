// tolvek-render-drawings: draws the data pack's DXF figures through Figure::Draw on a headless
// screen, at scale 1 and as the three small copies of the figure act, into indexed PNGs.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "assets/drawings/IndexedPng.h"
#include "figures/figure.h"
#include "graphics/screen.h"
#include "platform/host_services.h"
#include "platform/win32.h"

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;
constexpr int kGap = 4;
const char* const kFiles[] = {"bird.dxf", "Cock1.dxf", "Flower1.dxf", "Horses1.dxf"};

LRESULT RenderWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

drawings::IndexedImage Blank(int width, int height) {
    drawings::IndexedImage image;
    image.width = width;
    image.height = height;
    image.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int i = 0; i < 256; ++i) {
        const auto grey = static_cast<std::uint8_t>(i);
        image.palette[i] = {grey, grey, grey};
    }
    image.palette[0] = {0, 0, 0};
    image.palette[1] = {60, 60, 70};  // frame between the views
    image.palette[143] = {90, 200, 255};
    image.palette[144] = {255, 220, 60};
    image.palette[145] = {255, 255, 255};
    return image;
}

drawings::IndexedImage Capture(Surface& surface) {
    drawings::IndexedImage image = Blank(kWidth, kHeight);
    if (surface.Lock() != DD_OK)
        return image;
    const auto* base = static_cast<const std::uint8_t*>(surface.desc.lpSurface);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            image.pixels[static_cast<std::size_t>(y) * kWidth + x] =
                base[y * surface.desc.lPitch + x];
        }
    }
    surface.Unlock();
    return image;
}

void Paste(drawings::IndexedImage& sheet, const drawings::IndexedImage& view, int left, int top) {
    for (int y = 0; y < view.height; ++y) {
        for (int x = 0; x < view.width; ++x) {
            sheet.pixels[static_cast<std::size_t>(top + y) * sheet.width + left + x] =
                view.pixels[static_cast<std::size_t>(y) * view.width + x];
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: tolvek-render-drawings DATADIR OUTDIR\n";
        return 2;
    }
    const std::filesystem::path data = argv[1];
    const std::filesystem::path out = argv[2];
    std::filesystem::create_directories(out);

    platform::SetDisplayPreference(platform::DisplayPreference::Headless);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = RenderWindowProc;
    windowClass.lpszClassName = "TolvekRenderDrawings";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "drawings", WS_VISIBLE, 0, 0,
                                  kWidth, kHeight, nullptr, nullptr, nullptr, nullptr);
    bool ok = true;
    {
        Screen screen;
        screen.Create(window, kWidth, kHeight, 8, 0);
        drawings::IndexedImage sheet = Blank(2 * kWidth + kGap, 4 * kHeight + 3 * kGap);
        std::fill(sheet.pixels.begin(), sheet.pixels.end(), 1);
        int row = 0;
        for (const char* name : kFiles) {
            const std::string file = (data / name).string();
            DxfReader reader(file.c_str());
            Figure figure(&reader, &screen);
            figure.Load();
            reader.Close();
            std::cout << name << ": " << figure.lines.count << " lines, centre (" << figure.centreX
                      << ", " << figure.centreY << ")\n";
            const std::string stem = std::filesystem::path(name).stem().string();

            // Where the file puts it: drawn at its centre at scale 1.
            screen.Clear(0);
            figure.Draw(1.0f, 1.0f, 145);
            const auto whole = Capture(*screen.backBuffer);
            ok = drawings::WriteIndexedPng(whole, (out / (stem + "-scale1.png")).string(),
                                           std::cerr) &&
                 ok;

            // The figure act's three small copies at 0.5, 0.6 and 0.7.
            screen.Clear(0);
            const int positions[3][2] = {{130, 300}, {320, 170}, {500, 310}};
            for (int i = 0; i < 3; ++i) {
                figure.x = positions[i][0];
                figure.y = positions[i][1];
                const float scale = 0.5f + 0.1f * static_cast<float>(i);
                figure.Draw(scale, scale, 143 + i);
            }
            const auto small = Capture(*screen.backBuffer);
            ok = drawings::WriteIndexedPng(small, (out / (stem + "-small.png")).string(),
                                           std::cerr) &&
                 ok;

            Paste(sheet, whole, 0, row * (kHeight + kGap));
            Paste(sheet, small, kWidth + kGap, row * (kHeight + kGap));
            ++row;
        }
        ok =
            drawings::WriteIndexedPng(sheet, (out / "contact-sheet.png").string(), std::cerr) && ok;
    }
    DestroyWindow(window);
    UnregisterClassA(windowClass.lpszClassName, nullptr);
    return ok ? 0 : 1;
}
