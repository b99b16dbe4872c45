# Delay-loaded imports: a DLL the program links is loaded at the first call
# into it instead of at start-up, so that what only the dialogs use costs
# nothing until they open.
#
#   orvanel_delay_load(TARGET comctl32 ole32 ...)
#
# MSVC: /DELAYLOAD and delayimp.lib. MinGW: binutils' dlltool makes a
# delay-import library for each DLL, with every name the toolchain's own
# import library has, under the same file name in a folder of the build;
# the target searches that folder first, so every `-lcomctl32` on its link
# line, from whichever library it comes, takes the delayed one.
# Both toolchains get win/delay_load.cpp, which reports a library that
# cannot be loaded instead of letting the loader's exception end the program.

set(ORVANEL_DELAY_LOAD_REPORT ${CMAKE_CURRENT_LIST_DIR}/../win/delay_load.cpp)

function(orvanel_delay_load target)
    target_sources(${target} PRIVATE ${ORVANEL_DELAY_LOAD_REPORT})
    if(MSVC)
        foreach(dll IN LISTS ARGN)
            target_link_options(${target} PRIVATE /DELAYLOAD:${dll}.dll)
        endforeach()
        target_link_libraries(${target} PRIVATE delayimp)
        return()
    endif()

    set(folder ${CMAKE_BINARY_DIR}/delayload)
    file(MAKE_DIRECTORY ${folder})
    foreach(dll IN LISTS ARGN)
        set(delaylib ${folder}/lib${dll}.a)
        if(EXISTS ${delaylib})
            continue()
        endif()
        find_library(ORVANEL_IMPORT_${dll} NAMES ${dll} REQUIRED)
        execute_process(COMMAND ${CMAKE_NM} --defined-only ${ORVANEL_IMPORT_${dll}}
                        OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
        string(REGEX MATCHALL "I __imp_[A-Za-z0-9_@?$]+" imports "${symbols}")
        list(TRANSFORM imports REPLACE "^I __imp_" "")
        list(REMOVE_DUPLICATES imports)
        list(JOIN imports "\n" names)
        file(WRITE ${folder}/${dll}.def "LIBRARY ${dll}.dll\nEXPORTS\n${names}\n")
        execute_process(COMMAND ${CMAKE_DLLTOOL} --input-def ${folder}/${dll}.def
                                --dllname ${dll}.dll --output-delaylib ${delaylib}
                        COMMAND_ERROR_IS_FATAL ANY)
    endforeach()
    target_link_directories(${target} BEFORE PRIVATE ${folder})
endfunction()
