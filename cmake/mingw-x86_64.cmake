# Cross toolchain: 64-bit Windows programs built with mingw-w64 (posix thread model for std::thread).
set(MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
