// The one symbol a host looks up in the plug-in library.
#include "host/plugin.h"

extern "C" TOLVEK_EXPORT winampVisHeader* winampVisGetHeader() { return PluginHeader(); }
