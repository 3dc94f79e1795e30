// SDL's own presentation cost, to set the player against: an empty window showing a 640x480
// streaming texture with the calls the player's presentation makes (lock, unlock, clear, copy,
// present with vsync), paced like the host loop (a 25 ms wait after each frame). It draws
// nothing of its own, so its CPU time is what SDL, the driver and the wait cost.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct Options {
    int seconds = 60;
    int delayMs = 25;
    int windowWidth = 640;
    int windowHeight = 480;
    bool vsync = true;
};

bool Parse(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--seconds") == 0 && hasValue) {
            options.seconds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--delay-ms") == 0 && hasValue) {
            options.delayMs = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--size") == 0 && hasValue) {
            if (std::sscanf(argv[++i], "%dx%d", &options.windowWidth, &options.windowHeight) != 2)
                return false;
        } else if (std::strcmp(argv[i], "--no-vsync") == 0) {
            options.vsync = false;
        } else {
            return false;
        }
    }
    return options.seconds > 0 && options.delayMs >= 0 && options.windowWidth > 0 &&
           options.windowHeight > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: tolvek_present_baseline [--seconds N] [--delay-ms N] [--size WxH] "
                     "[--no-vsync]\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "present_baseline: no display: %s\n", SDL_GetError());
        return 1;
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "0");
    SDL_Window* window = SDL_CreateWindow(
        "present baseline", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, options.windowWidth,
        options.windowHeight, SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
    SDL_Renderer* renderer =
        window ? SDL_CreateRenderer(window, -1, options.vsync ? SDL_RENDERER_PRESENTVSYNC : 0)
               : nullptr;
    if (window != nullptr && renderer == nullptr)
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888,
                                                        SDL_TEXTUREACCESS_STREAMING, 640, 480)
                                    : nullptr;
    if (texture == nullptr) {
        std::fprintf(stderr, "present_baseline: cannot show a texture: %s\n", SDL_GetError());
        return 1;
    }
    SDL_RenderSetLogicalSize(renderer, 640, 480);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);

    const Uint64 start = SDL_GetTicks64();
    const Uint64 end = start + static_cast<Uint64>(options.seconds) * 1000;
    long frames = 0;
    bool quit = false;
    while (!quit && SDL_GetTicks64() < end) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT)
                quit = true;
        }
        void* texels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture, nullptr, &texels, &pitch) == 0)
            SDL_UnlockTexture(texture);
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        ++frames;
        if (options.delayMs > 0)
            SDL_Delay(static_cast<Uint32>(options.delayMs));
    }
    const double seconds = static_cast<double>(SDL_GetTicks64() - start) / 1000.0;
    std::printf("renderer %s, %ld frames in %.1f s, %.1f frames/s\n", info.name, frames, seconds,
                frames / seconds);
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
