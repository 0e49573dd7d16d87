# surftally_add_installer(NAME PROGRAM_TARGET OUTPUT): a target NAME that builds the NSIS
# installer OUTPUT (packaging/windows/surftally.nsi) around the executable PROGRAM_TARGET and
# the default data files. Without makensis (Debian's nsis) no installer is built.
find_program(SURFTALLY_MAKENSIS makensis)
function(surftally_add_installer name program_target output)
    if(NOT SURFTALLY_MAKENSIS)
        message(STATUS "makensis not found: ${name} is not built (scripts/install-deps)")
        return()
    endif()
    set(script ${PROJECT_SOURCE_DIR}/packaging/windows/surftally.nsi)
    file(GLOB data_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/*.dat
        ${PROJECT_SOURCE_DIR}/data/*.ico)
    add_custom_command(OUTPUT ${output}
        COMMAND ${SURFTALLY_MAKENSIS} -V2 -DPROGRAM=$<TARGET_FILE:${program_target}>
            -DDATA=${PROJECT_SOURCE_DIR}/data -DICON=${PROJECT_SOURCE_DIR}/data/LAN.ico
            -DVERSION=${PROJECT_VERSION} -DOUTFILE=${output} ${script}
        DEPENDS ${program_target} ${script} ${data_files}
        COMMENT "Building the installer ${output}"
        VERBATIM)
    add_custom_target(${name} ALL DEPENDS ${output})
endfunction()
