// The drawings of the nine pictures. Each backdrop adds its scene's colours to a copy of the
// shared palette; actors and the leaf paint with the shared colours only.
#pragma once

#include <vector>

#include "assets/pictures/Canvas.h"
#include "assets/pictures/CommonInks.h"

namespace pictures {

constexpr int kBackdropWidth = 640;
constexpr int kBackdropHeight = 480;
constexpr int kBackdropFrames = 2;
constexpr int kActorWidth = 240;
constexpr int kActorHeight = 180;
constexpr int kActorFrames = 6;
constexpr int kLeafSize = 32;

std::vector<Canvas> DrawChickBackdrop(PaletteBuilder& builder, const CommonInks& inks);
std::vector<Canvas> DrawFlowerBackdrop(PaletteBuilder& builder, const CommonInks& inks);
std::vector<Canvas> DrawStarBackdrop(PaletteBuilder& builder, const CommonInks& inks);
std::vector<Canvas> DrawHorseBackdrop(PaletteBuilder& builder, const CommonInks& inks);

std::vector<Canvas> DrawBirdActor(const CommonInks& inks);
std::vector<Canvas> DrawSunflowerActor(const CommonInks& inks);
std::vector<Canvas> DrawTigerActor(const CommonInks& inks);
std::vector<Canvas> DrawZebraActor(const CommonInks& inks);

Canvas DrawLeaf(const CommonInks& inks);

}  // namespace pictures
