// Files dropped on a window, delivered as WM_DROPFILES, and the captions windows show.
#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/host_services.h"
#include "platform/portable/internal.h"
#include "platform/win32.h"

namespace platform::detail {
namespace {

// A drop lives from its WM_DROPFILES until DragFinish; drops never finished (their window went
// away first) are freed with the process.
std::map<HDROP, std::vector<std::string>>& Drops() {
    static std::map<HDROP, std::vector<std::string>> drops;
    return drops;
}

// Owners are followed only this far, so a cycle of owners cannot hold the layer.
constexpr int kMaxOwnerDepth = 64;

}  // namespace
}  // namespace platform::detail

using platform::detail::Drops;
using platform::detail::FindWindow;

void DragAcceptFiles(HWND handle, BOOL accept) {
    if (platform::detail::Window* window = FindWindow(handle))
        window->acceptsFiles = accept != FALSE;
}

UINT DragQueryFileA(HDROP drop, UINT index, LPSTR file, UINT size) {
    auto found = Drops().find(drop);
    if (found == Drops().end())
        return 0;
    const std::vector<std::string>& paths = found->second;
    if (index == 0xFFFFFFFFu)
        return static_cast<UINT>(paths.size());
    if (index >= paths.size())
        return 0;
    const std::string& path = paths[index];
    // Without a buffer: the length it needs; with one: the characters copied, as Windows says.
    if (file == nullptr)
        return static_cast<UINT>(path.size());
    if (size == 0)
        return 0;
    const std::size_t copied = std::min<std::size_t>(path.size(), size - 1);
    std::memcpy(file, path.data(), copied);
    file[copied] = '\0';
    return static_cast<UINT>(copied);
}

void DragFinish(HDROP drop) {
    Drops().erase(drop);
}

BOOL SetWindowTextA(HWND handle, LPCSTR text) {
    platform::detail::Window* window = FindWindow(handle);
    if (window == nullptr)
        return FALSE;
    window->title = text != nullptr ? text : "";
    if (window->presenter != nullptr)
        window->presenter->SetTitle(window->title.c_str());
    return TRUE;
}

namespace platform {

void DropFiles(HWND handle, const std::vector<std::string>& paths) {
    if (paths.empty())
        return;
    for (int depth = 0; depth < detail::kMaxOwnerDepth && handle != nullptr; ++depth) {
        detail::Window* window = FindWindow(handle);
        if (window == nullptr)
            return;
        if (window->acceptsFiles) {
            static std::uintptr_t nextDrop = 0;
            auto drop = reinterpret_cast<HDROP>(++nextDrop);
            Drops()[drop] = paths;
            PostMessageA(handle, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
            return;
        }
        handle = window->parent;
    }
}

}  // namespace platform
