# Cross-compiling for Windows with MinGW-w64, for the processor that the
# including toolchain file sets in CMAKE_SYSTEM_PROCESSOR; tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(colang_mingw ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
set(CMAKE_C_COMPILER ${colang_mingw}-gcc-posix)
set(CMAKE_CXX_COMPILER ${colang_mingw}-g++-posix)
set(CMAKE_RC_COMPILER ${colang_mingw}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${colang_mingw})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The emulator that runs the cross-compiled tests: Wine's loader 'wine' (the
# Debian package wine; wine64 alone puts no 'wine' on PATH). Without it the
# tests would have no emulator and every one of them would fail to start, so
# a configuration that builds the tests stops here with what to install.
# The check compiles of the configuration read this file again; they run nothing.
get_property(colang_in_try_compile GLOBAL PROPERTY IN_TRY_COMPILE)
find_program(COLANG_WINE NAMES wine)
if(COLANG_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${COLANG_WINE})
elseif(NOT colang_in_try_compile AND (NOT DEFINED COLANG_TESTS OR COLANG_TESTS))
  message(FATAL_ERROR "no 'wine' found to run the Windows tests: install the package wine "
                      "(apt-get install wine), or configure with -DCOLANG_TESTS=OFF to build without tests")
endif()
