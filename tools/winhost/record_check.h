// The plug-in's header and module records read as the media player reads them: by the published
// byte offsets of this process's pointer size, not through this program's own declaration, so a
// DLL (or a host) laid out differently is caught. Each field is logged with what was found.
#pragma once

#include "host/winamp_vis.h"
#include "tools/winhost/host_log.h"

namespace winhost {

// True when every field holds what the show declares at load; `image` is the DLL's module.
bool CheckRecords(const winampVisHeader* header, const winampVisModule* module, HINSTANCE image,
                  HostLog& log);

}  // namespace winhost
