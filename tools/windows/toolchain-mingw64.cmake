# Cross-compiling for 64-bit Windows with Debian's mingw-w64.
#
# The posix thread model compilers are used: the default (win32) ones lack
# std::thread, std::mutex and std::condition_variable. Every program is linked
# statically (libgcc, libstdc++ and winpthread included), so it needs no DLL
# beside the system's own.
#
# Libraries and packages are looked for only under the dependency cache's
# prefix: pass -DSW_WINDOWS_PREFIX=<cache>/prefix (tools/windows/deps.sh
# does), or it is taken from CMAKE_PREFIX_PATH. Programs (the build tools) are
# still found on the host.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_sw_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${_sw_triple}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_sw_triple}-g++-posix)
set(CMAKE_RC_COMPILER ${_sw_triple}-windres)
set(CMAKE_AR ${_sw_triple}-ar CACHE FILEPATH "")
set(CMAKE_RANLIB ${_sw_triple}-ranlib CACHE FILEPATH "")

# The prefix is kept across try_compile projects, which see only the
# variables listed here.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES SW_WINDOWS_PREFIX)
if(NOT SW_WINDOWS_PREFIX AND CMAKE_PREFIX_PATH)
    list(GET CMAKE_PREFIX_PATH 0 SW_WINDOWS_PREFIX)
endif()
if(NOT SW_WINDOWS_PREFIX)
    message(FATAL_ERROR "toolchain-mingw64.cmake: pass -DSW_WINDOWS_PREFIX=<cache>/prefix "
                        "(made by tools/windows/deps.sh)")
endif()

# Nothing of the host's /usr is found: only the cache. The compiler finds
# its own Windows system libraries (-lwinmm and the like) by itself.
set(CMAKE_FIND_ROOT_PATH ${SW_WINDOWS_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# pkg-config, if a project uses it, reads only the cache's .pc files.
if(SW_WINDOWS_PREFIX)
    set(ENV{PKG_CONFIG_LIBDIR} "${SW_WINDOWS_PREFIX}/lib/pkgconfig")
    set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")
