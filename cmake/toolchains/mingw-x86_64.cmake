# Cross build for 64-bit Windows with Debian's MinGW-w64 (g++-mingw-w64-x86-64). The plug-in
# ships as a 32-bit DLL; this build runs the same code under 64-bit Wine where a machine cannot
# run 32-bit programs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TOLVEK_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TOLVEK_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TOLVEK_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${TOLVEK_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVEK_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
