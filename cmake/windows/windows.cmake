# Building for Windows. Included by the top-level CMakeLists.txt when the target
# is Windows; the cross-build from Linux (the windows preset, scripts/windows)
# also gets GoogleTest from source and a way to run its programs under Wine.

# Windows programs live in one folder with the DLLs and plugins they load (Qt
# finds its plugins beside the program): no bin/ below the installation folder.
set(CMAKE_INSTALL_BINDIR ".")
enable_language(RC) # the programs' icon and version (packaging/windows)

if(NOT CMAKE_CROSSCOMPILING)
    return()
endif()

# The Qt prefix the toolchain file belongs to (<prefix>/lib/cmake/Qt6/qt.toolchain.cmake);
# its bin/ holds the Qt and MinGW runtime DLLs, its plugins/ the plugins.
get_filename_component(VENTURON_QT_WINDOWS_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)

# Programs of this build run under Wine: test discovery, ctest and the build
# steps that run a program of ours (rendering the icon). One Wine prefix for the
# build folder, made when first needed.
find_program(VENTURON_WINE wine)
if(NOT VENTURON_WINE)
    message(FATAL_ERROR "Wine is needed to run the Windows programs: run scripts/setup")
endif()
set(VENTURON_WINE_PREFIX "${CMAKE_BINARY_DIR}/wine-prefix"
    CACHE PATH "The Wine prefix the build's Windows programs run in")
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
    @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

# The tests draw on Qt's offscreen platform, which on Windows reads its fonts
# from one folder: the host's DejaVu fonts, the ones the Linux tests draw with,
# so that texts measure the same (scripts/setup installs fonts-dejavu-core).
set(VENTURON_EMULATED_TEST_ENVIRONMENT "QT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu")
