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

# The launcher's path as one argument of Exec. A path with a blank or another reserved
# character is quoted, and inside the quotes " ` $ \ are escaped with a backslash. The
# value is then a string of the entry, where a backslash is written twice, and a literal
# percent sign is %% in Exec.
set(EXEC "${bindir}/surftally")
if(EXEC MATCHES "[] \t\n\"'\\><~|&;$*?#()`[]")
    string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" EXEC "${EXEC}")
    set(EXEC "\"${EXEC}\"")
    string(REPLACE "\\" "\\\\" EXEC "${EXEC}")
endif()
string(REPLACE "%" "%%" EXEC "${EXEC}")
if(EXEC MATCHES "\n")
    message(FATAL_ERROR "A desktop entry cannot start a program whose path holds a line break: ${bindir}")
endif()

configure_file("${entry_template}" "${work_dir}/${entry_name}" @ONLY)
file(INSTALL "${work_dir}/${entry_name}" DESTINATION "${entry_destination}")
