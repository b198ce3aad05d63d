# Cross toolchain: 32-bit Windows programs built with mingw-w64 (posix thread model for std::thread).
set(MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
