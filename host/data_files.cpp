// The table of data files, their absolute paths and the window-position settings.
#include "host/data_files.h"

#include <cstdio>
#include <cstring>

#include "platform/paths.h"

namespace {

struct RelativeNames {
    const char* leaf = "v_tolvek\\sLeaf.bmp";
    const char* figures[4] = {"v_tolvek\\bird.dxf", "v_tolvek\\Cock1.dxf", "v_tolvek\\Flower1.dxf",
                              "v_tolvek\\Horses1.dxf"};
    const char* backdrops[4] = {"v_tolvek\\chick256.bmp", "v_tolvek\\flwr256.bmp",
                                "v_tolvek\\star256.bmp", "v_tolvek\\hors256.bmp"};
    const char* actors[4] = {"v_tolvek\\ebrd256.bmp", "v_tolvek\\sflwr256.bmp",
                             "v_tolvek\\tig256.bmp", "v_tolvek\\zeb256.bmp"};
};
const RelativeNames kRelative;

void CopyRelative(char* slot, const char* relative) {
    std::snprintf(slot, kPathSlot, "%s", relative);
    for (char* c = slot; *c != '\0'; ++c) {
        if (*c == '\\') *c = platform::kPathSeparator;
    }
}

// At load the slots hold the names relative to the plug-in's folder.
DataFiles RelativeTable() {
    DataFiles table{};
    CopyRelative(table.leafFile, kRelative.leaf);
    for (int k = 0; k < 4; ++k) {
        CopyRelative(table.figureFiles[k], kRelative.figures[k]);
        CopyRelative(table.backdropFiles[k], kRelative.backdrops[k]);
        CopyRelative(table.actorFiles[k], kRelative.actors[k]);
    }
    return table;
}

}  // namespace

bool FormAbsolute(char* slot, const char* folder, const char* relative) {
    char joined[2 * kPathSlot];
    int length = std::snprintf(joined, sizeof joined, "%s%s", folder, relative);
    for (char* c = joined; *c != '\0'; ++c) {
        if (*c == '\\') *c = platform::kPathSeparator;
    }
    if (length < 0 || length >= kPathSlot) {
        std::fprintf(stderr, "tolvek: data file path too long (%d characters, at most %d): %s\n",
                     length, kPathSlot - 1, joined);
        slot[0] = '\0';
        return false;
    }
    std::memcpy(slot, joined, static_cast<std::size_t>(length) + 1);
    return true;
}

DataFiles dataFiles = RelativeTable();
int windowX = 50;
int windowY = 50;

bool ModuleFolder(HINSTANCE instance, char* folder, int size) {
    folder[0] = '\0';
    char name[kPathSlot] = {};
    // A name cut at the buffer's end would give a folder that is not the plug-in's.
    if (GetModuleFileNameA(instance, name, sizeof name) >= sizeof name)
        return false;
    char* last = std::strrchr(name, platform::kPathSeparator);
    if (last == nullptr)
        return true;
    last[1] = '\0';
    std::snprintf(folder, static_cast<std::size_t>(size), "%s", name);
    return true;
}

void MakeLeafAndFigurePathsAbsolute(HINSTANCE instance) {
    char folder[kPathSlot];
    if (!ModuleFolder(instance, folder, sizeof folder)) {
        std::fprintf(stderr,
                     "tolvek: the plug-in's own path is longer than %d characters; its data "
                     "files cannot be found\n",
                     kPathSlot - 1);
        // No file has an empty name, so every load of these fails and says so.
        dataFiles.leafFile[0] = '\0';
        for (auto& slot : dataFiles.figureFiles)
            slot[0] = '\0';
        return;
    }
    FormAbsolute(dataFiles.leafFile, folder, kRelative.leaf);
    for (int k = 0; k < 4; ++k)
        FormAbsolute(dataFiles.figureFiles[k], folder, kRelative.figures[k]);
}

void MakeSceneFilePathsAbsolute(HINSTANCE instance) {
    char folder[kPathSlot];
    if (!ModuleFolder(instance, folder, sizeof folder)) {
        for (int k = 0; k < 4; ++k)
            dataFiles.backdropFiles[k][0] = dataFiles.actorFiles[k][0] = '\0';
        return;
    }
    for (int k = 0; k < 4; ++k) {
        FormAbsolute(dataFiles.backdropFiles[k], folder, kRelative.backdrops[k]);
        FormAbsolute(dataFiles.actorFiles[k], folder, kRelative.actors[k]);
    }
}

void ReadSettings(HINSTANCE instance, const char* section) {
    char folder[kPathSlot];
    if (!ModuleFolder(instance, folder, sizeof folder))
        return;
    char settingsFile[2 * kPathSlot];
    std::snprintf(settingsFile, sizeof settingsFile, "%splugin.ini", folder);
    windowX = static_cast<int>(GetPrivateProfileIntA(section, "Screen_x", windowX, settingsFile));
    windowY = static_cast<int>(GetPrivateProfileIntA(section, "Screen_y", windowY, settingsFile));
}
