# Cross build for 32-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TOLVEK_MINGW_PREFIX i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TOLVEK_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TOLVEK_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${TOLVEK_MINGW_PREFIX}-windres)

# Doubles in SSE registers round to 64 bits at every step, as on the Linux build; the x87 unit's
# 80-bit intermediates would move truncated coordinates by a pixel here and there.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVEK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
