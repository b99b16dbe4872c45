# The Windows program: Win32 glue over the portable core.
enable_language(RC)

if(MSVC)
    set(ORVANEL_WARNINGS /W4)
else()
    set(ORVANEL_WARNINGS -Wall -Wextra)
endif()

# Everything but the entry point, so that the tests can link the glue.
add_library(orvanel_glue STATIC
    win/text.cpp
    win/process.cpp
    settings/registry_store.cpp
    settings/drives.cpp
    settings/icon_rows.cpp
    settings/drive_list.cpp
    settings/folder_list_control.cpp
    settings/settings_checks.cpp
    settings/settings_placement.cpp
    settings/frmSet.cpp
    app/Register.cpp
    app/frmMain.cpp
    app/subst_watch.cpp
    about/links.cpp
    about/module_resource.cpp
    about/version_record.cpp
    about/logo_picture.cpp
    about/about_fonts.cpp
    about/about_painting.cpp
    about/frmAbout.cpp
)
target_include_directories(orvanel_glue PUBLIC win app settings about resources)
target_compile_definitions(orvanel_glue PUBLIC UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
                                               _WIN32_WINNT=0x0A00 WINVER=0x0A00)
target_compile_options(orvanel_glue PRIVATE ${ORVANEL_WARNINGS})
target_link_libraries(orvanel_glue PUBLIC orvanel_core comctl32 shell32 advapi32 user32 gdi32
                                          ole32 oleaut32 windowscodecs version)

add_executable(Orvanel WIN32 app/winmain.cpp resources/Orvanel.rc)
target_link_libraries(Orvanel PRIVATE orvanel_glue)
# What only the dialogs use is loaded when one first opens.
include(${CMAKE_CURRENT_LIST_DIR}/DelayLoad.cmake)
orvanel_delay_load(Orvanel comctl32 ole32 version)
if(MSVC)
    # The .rc file carries the manifest; the linker must not add its own.
    target_link_options(Orvanel PRIVATE /MANIFEST:NO)
else()
    target_link_options(Orvanel PRIVATE -municode)
    # A small program: unused code dropped, symbols stripped from releases.
    target_compile_options(orvanel_core PRIVATE -ffunction-sections -fdata-sections)
    target_compile_options(orvanel_glue PRIVATE -ffunction-sections -fdata-sections)
    target_link_options(Orvanel PRIVATE -Wl,--gc-sections $<$<CONFIG:Release,MinSizeRel>:-s>)
endif()
set_target_properties(Orvanel PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/Orvanel)

include(${CMAKE_CURRENT_LIST_DIR}/Help.cmake)
