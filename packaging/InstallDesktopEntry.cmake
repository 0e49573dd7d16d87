# Run at install time: writes a desktop entry whose Exec names the launcher under the prefix
# actually installed to (cmake --install --prefix may differ from the configured one).
# In: entry_template, entry_name, entry_destination (relative to the prefix or absolute),
# bindir (likewise), work_dir.
# Under the /usr prefix the configuration goes to /etc, as GNUInstallDirs has it.
if(CMAKE_INSTALL_PREFIX STREQUAL "/usr" AND entry_destination MATCHES "^etc/")
    set(entry_destination "/${entry_destination}")
endif()
foreach(var bindir entry_destination)
    if(NOT IS_ABSOLUTE "${${var}}")
        set(${var} "${CMAKE_INSTALL_PREFIX}/${${var}}")
    endif()
endforeach()
set(BINDIR "${bindir}")
configure_file("${entry_template}" "${work_dir}/${entry_name}" @ONLY)
file(INSTALL "${work_dir}/${entry_name}" DESTINATION "${entry_destination}")
