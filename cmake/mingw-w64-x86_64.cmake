# SPDX-FileCopyrightText: 2026 Velbrix Qorun developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Cross build for 64-bit Windows with Debian's MinGW-w64. The -posix
# compilers are the ones with std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QORUN_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QORUN_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QORUN_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${QORUN_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW tree only, never from Linux's.
set(CMAKE_FIND_ROOT_PATH /usr/${QORUN_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each .exe carries its C and C++ runtime and winpthread, so it runs alone.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

# ctest runs the .exe tests under Wine; the project adds the prefix.
find_program(QORUN_WINE NAMES wine)
if(QORUN_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${QORUN_WINE})
endif()
