# Cross-build for 64-bit Windows with the posix-thread mingw-w64 toolchain: the ExEdit2 effect,
# its engine, its test host and their tests (the 64-bit tree, build/x64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-cross.cmake)
# Runs the Windows test programs under wine64, in a Wine prefix of their own.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine64-run.sh)
