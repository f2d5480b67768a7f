# The Windows edition's dependencies, cross-built with mingw-w64 into the
# cache that tools/windows/deps.sh makes (see its toolchain file): SDL2 from
# its CMake package, espeak-ng from its pkg-config file, both static. Every
# program is linked statically, so it needs no DLL beside Windows' own.
#
# Sets SW_SDL2 (the target to link for SDL2) and PkgConfig::ESPEAK, and,
# when the programs are to run under Wine, the emulator and its settings.

find_package(SDL2 CONFIG REQUIRED)
set(SW_SDL2 SDL2::SDL2-static)
pkg_check_modules(ESPEAK REQUIRED IMPORTED_TARGET espeak-ng)

# The Windows headers are kept lean, and without the min/max macros.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX)

# The tests run under Wine, in the cache's private prefix, unless the caller
# names another emulator.
if(CMAKE_CROSSCOMPILING AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(SW_WINE wine)
  if(SW_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${SW_WINE})
  endif()
endif()
get_filename_component(_sw_cache "${SW_WINDOWS_PREFIX}" DIRECTORY)
set(SW_WINE_PREFIX "${_sw_cache}/wine" CACHE PATH "The Wine prefix the Windows tests run in")
# Headless, quiet, and without the Mono and Gecko installers' dialogs (as
# tools/windows/wine-env.sh sets them up).
set(SW_WINE_ENVIRONMENT
  "WINEPREFIX=set:${SW_WINE_PREFIX}" "WINEDEBUG=set:-all" "WINEDLLOVERRIDES=set:mscoree,mshtml="
  "DISPLAY=unset:" "WAYLAND_DISPLAY=unset:"
  # The speech engine's data in the cache, for the tests that speak.
  "ESPEAK_DATA_PATH=set:${SW_WINDOWS_PREFIX}/share")
