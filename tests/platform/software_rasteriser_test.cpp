// Which OpenGL renderer strings mean the CPU draws: those make the window use SDL's software
// renderer instead.
#include <gtest/gtest.h>

#include "platform/sdl/sdl_presenter.h"

namespace {

using platform::detail::IsSoftwareRasteriser;

TEST(SoftwareRasteriser, MesasCpuDriversAreRecognised) {
    EXPECT_TRUE(IsSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
    EXPECT_TRUE(IsSoftwareRasteriser("softpipe"));
    EXPECT_TRUE(IsSoftwareRasteriser("Mesa DRI swrast"));
    EXPECT_TRUE(IsSoftwareRasteriser("Software Rasterizer"));
}

// GPU drivers that compile shaders with LLVM name it too; they are GPUs all the same.
TEST(SoftwareRasteriser, GpusAreNotEvenWhenTheyNameLlvm) {
    EXPECT_FALSE(
        IsSoftwareRasteriser("AMD Radeon RX 580 Series (polaris10, LLVM 15.0.6, DRM 3.49)"));
    EXPECT_FALSE(IsSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
    EXPECT_FALSE(IsSoftwareRasteriser("NVIDIA GeForce GTX 1060 6GB/PCIe/SSE2"));
    EXPECT_FALSE(IsSoftwareRasteriser("virgl (Intel(R) Iris(R) Xe Graphics)"));
    EXPECT_FALSE(IsSoftwareRasteriser(""));
    EXPECT_FALSE(IsSoftwareRasteriser(nullptr));
}

}  // namespace
