# The Windows program: Win32 glue over the portable core.
enable_language(RC)

add_library(orvanel_win32 INTERFACE)
target_compile_definitions(orvanel_win32 INTERFACE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                                   _WIN32_WINNT=0x0A00 WINVER=0x0A00)
add_library(orvanel_resources INTERFACE)
# The manifest names the version too: made from the one version source.
configure_file(${CMAKE_SOURCE_DIR}/resources/Orvanel.manifest.in ${CMAKE_BINARY_DIR}/generated/Orvanel.manifest @ONLY)
target_include_directories(orvanel_resources INTERFACE ${CMAKE_SOURCE_DIR}/resources ${CMAKE_BINARY_DIR}/generated)

if(NOT MSVC)
    # A small program: unused code is dropped at link time.
    target_compile_options(orvanel_core PRIVATE -ffunction-sections -fdata-sections)
endif()

# One library a folder. Each sees its own headers and those of the layers
# it uses, nothing above it, so an include that points upward fails to build:
#   app -> about -> settings -> win -> core
function(orvanel_layer name folder)
    cmake_parse_arguments(LAYER "" "" "SOURCES;USES;SYSTEM" ${ARGN})
    add_library(${name} STATIC ${LAYER_SOURCES})
    target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/${folder})
    target_link_libraries(${name} PUBLIC ${LAYER_USES} PRIVATE orvanel_warnings ${LAYER_SYSTEM})
    # Every file of a layer includes windows.h: parsed once a layer, not once a file.
    target_precompile_headers(${name} PRIVATE <windows.h> <string> <vector> <memory>)
    if(NOT MSVC)
        target_compile_options(${name} PRIVATE -ffunction-sections -fdata-sections)
    endif()
endfunction()

orvanel_layer(orvanel_win win
    SOURCES win/text.cpp win/process.cpp win/message_box.cpp win/dialog_dpi.cpp win/dos_device.cpp
            win/text_room.cpp win/module.cpp
    USES orvanel_core orvanel_win32
    SYSTEM user32 gdi32 ole32)
orvanel_layer(orvanel_settings settings
    SOURCES settings/registry.cpp settings/drive_store.cpp settings/sign_in.cpp settings/drives.cpp settings/icon_rows.cpp
            settings/drive_list.cpp settings/folder_list_control.cpp settings/settings_placement.cpp
            settings/frmSet.cpp
    USES orvanel_win orvanel_resources
    SYSTEM advapi32 user32 gdi32 shell32 comctl32 ole32)
orvanel_layer(orvanel_about about
    SOURCES about/links.cpp about/help_unblock.cpp about/maker_sync.cpp about/version_record.cpp
            about/logo_picture.cpp about/about_fonts.cpp about/about_painting.cpp about/frmAbout.cpp
    USES orvanel_settings
    SYSTEM user32 gdi32 comctl32 ole32 oleaut32 windowscodecs version)
orvanel_layer(orvanel_app app
    SOURCES app/Register.cpp app/copy_claim.cpp app/drive_mount.cpp app/drive_mounts.cpp app/tray_menu.cpp
            app/frmMain.cpp app/subst_watch.cpp
    USES orvanel_about orvanel_settings
    SYSTEM user32 shell32 comctl32)

add_executable(Orvanel WIN32 app/winmain.cpp resources/Orvanel.rc)
target_link_libraries(Orvanel PRIVATE orvanel_app orvanel_resources orvanel_warnings)
# What only the dialogs use is loaded when one first opens.
include(${CMAKE_CURRENT_LIST_DIR}/DelayLoad.cmake)
orvanel_delay_load(Orvanel comctl32 ole32 version)
if(MSVC)
    # The .rc file carries the manifest; the linker must not add its own. The
    # libraries loaded at start come from the system folder only, as those
    # loaded later do (0x800: LOAD_LIBRARY_SEARCH_SYSTEM32).
    target_link_options(Orvanel PRIVATE /MANIFEST:NO /DEPENDENTLOADFLAG:0x800)
else()
    target_link_options(Orvanel PRIVATE -municode -Wl,--gc-sections
                                        $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()
set_target_properties(Orvanel PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/Orvanel)

include(${CMAKE_CURRENT_LIST_DIR}/Help.cmake)
