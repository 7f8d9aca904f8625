# The Windows packages (cpack in a Windows build, scripts/windows): an NSIS
# installer with a Start-menu entry, the icon, an uninstaller and the version,
# and a portable zip. Both hold the two programs, the Qt DLLs and plugins they
# load, and the MinGW runtime DLLs, and nothing else (the installer adds its
# uninstaller). Included by packaging/CMakeLists.txt, which has made icon_svg.

# The icon as a Windows icon file, rendered from the SVG at build time (under
# the emulator in a cross-build), for the programs and the installer.
set(venturon_ico ${CMAKE_CURRENT_BINARY_DIR}/venturon.ico)
add_custom_command(OUTPUT ${venturon_ico}
    COMMAND venturon_render_icon ${icon_svg} ${venturon_ico}
    DEPENDS venturon_render_icon ${icon_svg}
    COMMENT "Rendering the Windows icon"
    VERBATIM)
add_custom_target(venturon_windows_icon DEPENDS ${venturon_ico})

# Each program's resources: its version, and the window program's icon.
foreach(program IN ITEMS venturon venturon-calc)
    set(VENTURON_RC_FILE_NAME ${program}.exe)
    if(program STREQUAL "venturon")
        set(VENTURON_RC_DESCRIPTION "Venturon, port flare and velocity calculator")
        set(VENTURON_RC_ICON "1 ICON \"${venturon_ico}\"")
    else()
        set(VENTURON_RC_DESCRIPTION "Venturon's command-line calculator")
        set(VENTURON_RC_ICON "")
    endif()
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${program}.rc)
    configure_file(${CMAKE_CURRENT_LIST_DIR}/venturon.rc.in ${rc} @ONLY)
    target_sources(${program} PRIVATE ${rc})
    set_source_files_properties(${rc} TARGET_DIRECTORY ${program}
        PROPERTIES OBJECT_DEPENDS ${venturon_ico})
    add_dependencies(${program} venturon_windows_icon)
endforeach()

# What the programs load, from the Qt prefix, stripped of their symbols. Qt finds
# plugins in folders beside the program.
set(runtime_dlls Qt6Core Qt6Gui Qt6Widgets Qt6Svg libstdc++-6 libgcc_s_seh-1 libwinpthread-1)
set(runtime_plugins
    platforms/qwindows            # the window
    platforms/qoffscreen          # venturon-calc's graphs, drawn without a display
    styles/qwindowsvistastyle)    # the native look of the controls
set(runtime_files)
foreach(file IN LISTS runtime_dlls runtime_plugins)
    if(file MATCHES "/")
        set(source ${VENTURON_QT_WINDOWS_PREFIX}/plugins/${file}.dll)
        get_filename_component(folder ${file} DIRECTORY)
    else()
        set(source ${VENTURON_QT_WINDOWS_PREFIX}/bin/${file}.dll)
        set(folder .)
    endif()
    set(stripped ${CMAKE_CURRENT_BINARY_DIR}/runtime/${file}.dll)
    add_custom_command(OUTPUT ${stripped}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/runtime/${folder}
        COMMAND ${CMAKE_STRIP} --strip-unneeded -o ${stripped} ${source}
        DEPENDS ${source}
        VERBATIM)
    list(APPEND runtime_files ${stripped})
    install(FILES ${stripped} DESTINATION ${CMAKE_INSTALL_BINDIR}/${folder})
endforeach()
add_custom_target(venturon_windows_runtime ALL DEPENDS ${runtime_files})

# cpack: the installer and the zip.
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt COPYONLY)
set(CPACK_GENERATOR "NSIS;ZIP")
set(CPACK_PACKAGE_FILE_NAME "venturon-${PROJECT_VERSION}-windows-x64")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Venturon")
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY "Venturon")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt)
set(CPACK_PACKAGE_EXECUTABLES "venturon" "Venturon") # the Start-menu entry
set(CPACK_NSIS_EXECUTABLES_DIRECTORY ".")
# A 64-bit installer: it runs where the programs run, and installs into the
# 64-bit Program Files and registry view. Its Start-menu folder is "Venturon";
# its file properties give the version. (CPack mangles double quotes here: NSIS
# takes single ones.)
string(JOIN "\n" CPACK_NSIS_DEFINES
    "Target amd64-unicode"
    "!define MUI_STARTMENUPAGE_DEFAULTFOLDER 'Venturon'"
    "VIProductVersion ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.0.0"
    "VIAddVersionKey /LANG=1033 ProductName 'Venturon'"
    "VIAddVersionKey /LANG=1033 ProductVersion '${PROJECT_VERSION}'"
    "VIAddVersionKey /LANG=1033 FileVersion '${PROJECT_VERSION}'"
    "VIAddVersionKey /LANG=1033 FileDescription 'Venturon ${PROJECT_VERSION} installer'"
    "VIAddVersionKey /LANG=1033 CompanyName '${VENTURON_AUTHORS}'"
    "VIAddVersionKey /LANG=1033 LegalCopyright '${VENTURON_AUTHORS}'")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME "Venturon ${PROJECT_VERSION}")
set(CPACK_NSIS_DISPLAY_NAME "Venturon")
set(CPACK_NSIS_MUI_ICON ${venturon_ico})
set(CPACK_NSIS_MUI_UNIICON ${venturon_ico})
set(CPACK_NSIS_INSTALLED_ICON_NAME "venturon.exe")
# settings/settings_file.h knows the uninstaller by this name: beside it, the
# program keeps its settings in %APPDATA%, never in Program Files.
set(CPACK_NSIS_UNINSTALL_NAME "Uninstall")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_URL_INFO_ABOUT "${VENTURON_WEB_ADDRESS}")
set(CPACK_NSIS_CONTACT "${VENTURON_FEEDBACK_ADDRESS}")
