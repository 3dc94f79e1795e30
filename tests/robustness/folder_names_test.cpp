// Where the plug-in lives: folder names with spaces and non-ASCII letters, data paths exactly at
// the 259-character slot limit and one past it, and a plug-in path too long for a slot.
#include <gtest/gtest.h>

#include <string>

#include "tests/robustness/plugin_copy.h"
#include "tests/robustness/show_tour.h"
#include "tests/support/host_window.h"

namespace robustness {
namespace {

// The longest relative names of the table ("v_tolvek/chick256.bmp", "v_tolvek/sflwr256.bmp").
constexpr std::size_t kLongestName = 21;
constexpr std::size_t kSlotCharacters = 259;

TEST(PluginFolder, SpacesAndNonAsciiLettersFindEveryFile) {
    PluginCopy copy("Program Files/Winamp Plugins/Quenari Tolvék ✓ 音楽 ñ");
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_EQ(tour.errors, "") << "every file should have been found";
}

TEST(PluginFolder, TheLoadedLibraryFindsItsFilesBesideItThroughSpacesAndNonAscii) {
    // The real library in its own folder, driven as the player drives it.
    PluginCopy copy("my plug-ins/vis tolvek ÄÖÜ");
    winampVisModule* module = copy.Library().module();
    ASSERT_NE(module, nullptr);
    module->hDllInstance = copy.Instance();
    module->sRate = 44100;
    module->nCh = 2;
    ::testing::internal::CaptureStderr();
    ASSERT_EQ(module->Init(module), 0);
    for (int i = 0; i < 30; ++i)
        EXPECT_EQ(module->Render(module), 0);
    module->Quit(module);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
    testing_support::DiscardMessages();
}

TEST(PluginFolder, DataPathsOfExactly259CharactersAreTaken) {
    PluginCopy copy("at the limit ", kSlotCharacters - kLongestName);
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_EQ(tour.errors, "");
}

TEST(PluginFolder, DataPathsOneCharacterPastTheSlotAreRefusedByNameAndTheShowGoesOn) {
    PluginCopy copy("past the limit ", kSlotCharacters - kLongestName + 1);
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    // Only the two longest names are too long; each refusal names the path it would have been.
    EXPECT_EQ(tour.LinesWith("data file path too long (260 characters, at most 259)"), 2)
        << tour.errors;
    EXPECT_EQ(tour.LinesWith("v_tolvek/chick256.bmp"), 1) << tour.errors;
    EXPECT_EQ(tour.LinesWith("v_tolvek/sflwr256.bmp"), 1) << tour.errors;
    EXPECT_EQ(tour.LinesWith("flwr256.bmp"), tour.LinesWith("sflwr256.bmp")) << tour.errors;
}

TEST(PluginFolder, APluginPathLongerThanASlotIsSaidOnceAndNoOtherFolderIsSearched) {
    // Cut at 259 characters, the plug-in's path would end inside the second folder, so the
    // first would pass for its folder: a broken picture there shows whether it is looked at.
    const std::string first(200, 'a');
    PluginCopy copy(first + "/" + std::string(100, 'b'));
    ASSERT_GT(copy.PluginFile().string().size(), kSlotCharacters);
    std::filesystem::create_directories(copy.folder().parent_path() / "v_tolvek");
    copy.Write(copy.folder().parent_path() / "v_tolvek" / "sLeaf.bmp", "decoy");
    const TourResult tour = TourTheShow(copy.Instance());
    ExpectTheShowWentOn(tour);
    EXPECT_EQ(tour.LinesWith("the plug-in's own path is longer than 259 characters"), 1)
        << tour.errors;
    EXPECT_EQ(tour.LinesWith(first + "/v_tolvek"), 0) << tour.errors;
}

}  // namespace
}  // namespace robustness
