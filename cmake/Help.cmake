# The compiled help file, built from Help/ with chmcmd and installed beside
# the program as Help\Orvanel.chm.
find_program(CHMCMD chmcmd)
if(NOT CHMCMD)
    message(WARNING "chmcmd (Free Pascal's fp-utils) not found: Orvanel is built without its help file")
    return()
endif()
file(GLOB ORVANEL_HELP_SOURCES CONFIGURE_DEPENDS
     ${CMAKE_SOURCE_DIR}/Help/*.htm ${CMAKE_SOURCE_DIR}/Help/*.css
     ${CMAKE_SOURCE_DIR}/Help/*.hhp ${CMAKE_SOURCE_DIR}/Help/*.hhc ${CMAKE_SOURCE_DIR}/Help/*.hhk)
set(ORVANEL_HELP_STAGE ${CMAKE_BINARY_DIR}/help-build)
set(ORVANEL_HELP_FILE ${CMAKE_BINARY_DIR}/Orvanel/Help/Orvanel.chm)
# chmcmd writes into the current folder and leaves an empty file behind when
# it fails, so it works in a staging folder and only a good file is copied.
add_custom_command(OUTPUT ${ORVANEL_HELP_FILE}
    COMMAND ${CMAKE_COMMAND} -E remove_directory ${ORVANEL_HELP_STAGE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${ORVANEL_HELP_STAGE} ${CMAKE_BINARY_DIR}/Orvanel/Help
    COMMAND ${CMAKE_COMMAND} -E chdir ${ORVANEL_HELP_STAGE} ${CHMCMD} ${CMAKE_SOURCE_DIR}/Help/Orvanel.hhp
    COMMAND ${CMAKE_COMMAND} -E copy ${ORVANEL_HELP_STAGE}/Orvanel.chm ${ORVANEL_HELP_FILE}
    DEPENDS ${ORVANEL_HELP_SOURCES}
    VERBATIM)
add_custom_target(orvanel_help ALL DEPENDS ${ORVANEL_HELP_FILE})
