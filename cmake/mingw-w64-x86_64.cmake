# Cross-builds the Windows edition on Debian with MinGW-w64 (posix threads).
# Everything is linked statically, so trolvane.exe needs only the DLLs that
# come with Windows itself. Programs built here run on Linux through Wine:
# ctest and the test discovery start them with scripts/wine-env.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TROLVANE_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TROLVANE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TROLVANE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TROLVANE_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW-w64 tree only, never from the
# host's /usr/include or /usr/lib; build tools are found on the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TROLVANE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each function and datum in its own section, so that the linker leaves out
# what the program never calls: the shipped exe stays small.
set(CMAKE_C_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_CXX_FLAGS_INIT "-ffunction-sections -fdata-sections")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++ -Wl,--gc-sections")

get_filename_component(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-env ABSOLUTE)
