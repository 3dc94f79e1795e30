// Init and Quit, the show window, its messages, the data paths and the settings file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "graphics/screen.h"
#include "host/data_files.h"
#include "tests/plugin/show_fixture.h"

namespace {

using testing_support::ShowFixture;

class Lifecycle : public ShowFixture {
protected:
    void Start() {
        ASSERT_EQ(module->Init(module), 0);
        initialised = true;
    }
    std::vector<std::string> boxes;
    platform::ObserverHandle boxObserver;
    void CollectBoxes() {
        boxObserver = platform::AddMessageBoxObserver([this](const char* caption, const char* text) {
            boxes.push_back(std::string(caption) + "|" + text);
        });
    }
};

TEST_F(Lifecycle, HeaderHandsOutTheOneModule) {
    winampVisHeader* header = PluginHeader();
    EXPECT_EQ(header->version, 0x101);
    EXPECT_STREQ(header->description, "Tolvek Tech Orvanta v.1a");
    EXPECT_EQ(header->getModule(0), module);
    EXPECT_EQ(header->getModule(1), nullptr);
    EXPECT_EQ(header->getModule(-1), nullptr);
    EXPECT_STREQ(module->description, "Quenari Tolvek");
    EXPECT_EQ(module->latencyMs, 25);
    EXPECT_EQ(module->delayMs, 25);
    EXPECT_EQ(module->spectrumNch, 0);
    EXPECT_EQ(module->waveformNch, 2);
}

TEST_F(Lifecycle, InitOpensA640By480ClientAreaAndQuitReleasesEverything) {
    int windowsBefore = platform::CountWindows();
    Start();
    RECT client{};
    ASSERT_TRUE(GetClientRect(showState.window, &client));
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    EXPECT_EQ(GetWindowLongPtrA(showState.window, GWLP_USERDATA),
              reinterpret_cast<LONG_PTR>(module));
    EXPECT_EQ(showState.screen->width, 640);
    module->Quit(module);
    initialised = false;
    EXPECT_EQ(platform::CountWindows(), windowsBefore);
    EXPECT_EQ(platform::CountDisplayObjects(), 0);
    EXPECT_EQ(showState.screen, nullptr);
    EXPECT_EQ(showState.tree, nullptr);
}

TEST_F(Lifecycle, KeysGoToTheHostWindowAndEscapeClosesTheShow) {
    Start();
    Pump();
    parentMessages.clear();
    PostMessageA(showState.window, WM_KEYDOWN, 'X', 0x002D0001);
    PostMessageA(showState.window, WM_KEYUP, 'X', static_cast<LPARAM>(0xC02D0001));
    PostMessageA(showState.window, WM_CHAR, 'x', 0x002D0001);
    PostMessageA(showState.window, WM_SYSKEYDOWN, 'X', 0x202D0001);
    EXPECT_FALSE(Pump());
    ASSERT_EQ(parentMessages.size(), 2u);
    EXPECT_EQ(parentMessages[0].message, WM_KEYDOWN);
    EXPECT_EQ(parentMessages[0].wParam, static_cast<WPARAM>('X'));
    EXPECT_EQ(parentMessages[0].lParam, 0x002D0001);
    EXPECT_EQ(parentMessages[1].message, WM_KEYUP);
    EXPECT_EQ(parentMessages[1].lParam, static_cast<LPARAM>(0xC02D0001));
    PostMessageA(showState.window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    EXPECT_TRUE(Pump());
    EXPECT_FALSE(IsWindow(showState.window));
    EXPECT_EQ(parentMessages.size(), 2u);
}

TEST_F(Lifecycle, MovingTheWindowStoresItsOuterCorner) {
    Start();
    SetWindowPos(showState.window, nullptr, 123, 77, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(windowX, 123);
    EXPECT_EQ(windowY, 77);
}

TEST_F(Lifecycle, SecondInitResumesTheCountersWithNewFlockPositions) {
    Start();
    RenderFrames(450);
    int flock[3] = {showState.flockX[0], showState.flockX[1], showState.flockX[2]};
    module->Quit(module);
    ASSERT_EQ(module->Init(module), 0);
    EXPECT_EQ(showState.frameCounter, 450);
    EXPECT_EQ(showState.scene, 0);
    EXPECT_FALSE(flock[0] == showState.flockX[0] && flock[1] == showState.flockX[1] &&
                 flock[2] == showState.flockX[2]);
    for (int x : showState.flockX) {
        EXPECT_GE(x, 20);
        EXPECT_LE(x, 619);
    }
    RenderFrames(1);
    EXPECT_EQ(showState.frameCounter, 451);
}

TEST_F(Lifecycle, DataPathsAreFormedOnceBesideThePlugin) {
    Start();
    char folder[MAX_PATH];
    ModuleFolder(module->hDllInstance, folder, sizeof folder);
    ASSERT_NE(folder[0], '\0');
    EXPECT_EQ(std::string(dataFiles.leafFile), std::string(folder) + "v_tolvek/sLeaf.bmp");
    EXPECT_EQ(std::string(dataFiles.actorFiles[3]), std::string(folder) + "v_tolvek/zeb256.bmp");
    module->Quit(module);
    ASSERT_EQ(module->Init(module), 0);
    EXPECT_EQ(std::string(dataFiles.figureFiles[2]), std::string(folder) + "v_tolvek/Flower1.dxf");
}

TEST_F(Lifecycle, RegistrationFailureIsReportedAndInitReturnsOne) {
    CollectBoxes();
    WNDCLASSA taken{};
    taken.lpfnWndProc = DefWindowProcA;
    taken.lpszClassName = "Pelloran";
    RegisterClassA(&taken);
    EXPECT_EQ(module->Init(module), 1);
    UnregisterClassA("Pelloran", nullptr);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "blah|Error registering window class");
}

TEST_F(Lifecycle, WindowFailureUnregistersTheClassSoALaterInitSucceeds) {
    CollectBoxes();
    platform::InjectDisplayFault("CreateWindowExA", 0);
    EXPECT_EQ(module->Init(module), 1);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0], "blah|Error creating window");
    Start();
}

TEST_F(Lifecycle, ConfigShowsTheCreditsBox) {
    CollectBoxes();
    module->Config(module);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].rfind("Configuration|Quenari Tolvek", 0), 0u);
}

// One test for every settings case, since they share the file beside the test program.
TEST(Settings, ReadFromPluginIniBesideTheModuleAndNeverWritten) {
    char folder[MAX_PATH];
    ModuleFolder(nullptr, folder, sizeof folder);
    std::string ini = std::string(folder) + "plugin.ini";
    std::remove(ini.c_str());
    windowX = windowY = 50;
    ReadSettings(nullptr, "Quenari Tolvek");
    EXPECT_EQ(windowX, 50);
    EXPECT_EQ(windowY, 50);

    std::ofstream(ini) << "[Other]\nScreen_x=7\n";
    ReadSettings(nullptr, "Quenari Tolvek");
    EXPECT_EQ(windowX, 50);

    const std::string text = "[Quenari Tolvek]\r\nScreen_x=300\r\nScreen_y=-20\r\nScreen_x=9\r\n";
    std::ofstream(ini, std::ios::binary) << text;
    ReadSettings(nullptr, "Quenari Tolvek");
    EXPECT_EQ(windowX, 300);
    EXPECT_EQ(windowY, -20);

    std::ofstream(ini) << "[quenari tolvek]\nscreen_x = 99999999999\nScreen_y=abc\n";
    ReadSettings(nullptr, "Quenari Tolvek");
    EXPECT_EQ(windowX, 2147483647);
    EXPECT_EQ(windowY, 0);
    std::ifstream back(ini);
    std::string first;
    std::getline(back, first);
    EXPECT_EQ(first, "[quenari tolvek]");
    std::remove(ini.c_str());
}

TEST(DataFiles, JoinedPathsMustFitTheirSlot) {
    char slot[kPathSlot];
    std::string folder = "/" + std::string(239, 'a') + "/";  // 241 characters
    EXPECT_TRUE(FormAbsolute(slot, folder.c_str(), "v_tolvek\\sLeaf.bmp"));  // 259 in all
    EXPECT_EQ(std::strlen(slot), 259u);
    EXPECT_EQ(std::string(slot).substr(241), "v_tolvek/sLeaf.bmp");
    EXPECT_FALSE(FormAbsolute(slot, folder.c_str(), "v_tolvek\\bird2.dxf!"));
    EXPECT_EQ(slot[0], '\0');
}

}  // namespace

namespace {

TEST_F(Lifecycle, HundredStartsAndStopsLeaveNothingBehind) {
    const int windowsBefore = platform::CountWindows();
    for (int cycle = 0; cycle < 100; ++cycle) {
        ASSERT_EQ(module->Init(module), 0);
        RenderFrames(3);
        module->Quit(module);
        Pump();
        ASSERT_EQ(platform::CountWindows(), windowsBefore) << "cycle " << cycle;
        ASSERT_EQ(platform::CountDisplayObjects(), 0) << "cycle " << cycle;
    }
    EXPECT_EQ(showState.frameCounter, 300);
}

}  // namespace
