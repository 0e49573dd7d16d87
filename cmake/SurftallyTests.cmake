# surftally_e2e_test(NAME [SCRIPT path] [ARGS args...] TIMEOUT seconds [LABELS labels...]
#                    [SERIAL] [NO_SKIP] [FIXTURES_SETUP name] [FIXTURES_REQUIRED name])
# Registers a test run by a script, by default tests/e2e/NAME.sh. The script exits 77 when
# what it needs (a tool, root, a display) is missing, which CTest counts as skipped unless
# NO_SKIP is given; SERIAL keeps it from running beside other tests (it owns a display, a
# network namespace or the machine's packages).
function(surftally_e2e_test name)
    cmake_parse_arguments(PARSE_ARGV 1 arg "SERIAL;NO_SKIP"
        "SCRIPT;TIMEOUT;FIXTURES_SETUP;FIXTURES_REQUIRED" "ARGS;LABELS")
    if(arg_UNPARSED_ARGUMENTS OR NOT arg_TIMEOUT)
        message(FATAL_ERROR "surftally_e2e_test(${name}): give TIMEOUT, and no other words than "
            "SCRIPT, ARGS, LABELS, SERIAL, NO_SKIP and FIXTURES_* (${arg_UNPARSED_ARGUMENTS})")
    endif()
    if(NOT arg_SCRIPT)
        set(arg_SCRIPT ${PROJECT_SOURCE_DIR}/tests/e2e/${name}.sh)
    endif()
    add_test(NAME ${name} COMMAND ${arg_SCRIPT} ${arg_ARGS})
    set(properties TIMEOUT ${arg_TIMEOUT})
    if(NOT arg_NO_SKIP)
        list(APPEND properties SKIP_RETURN_CODE 77)
    endif()
    if(arg_SERIAL)
        list(APPEND properties RUN_SERIAL TRUE)
    endif()
    if(arg_LABELS)
        list(APPEND properties LABELS "${arg_LABELS}")
    endif()
    foreach(fixture FIXTURES_SETUP FIXTURES_REQUIRED)
        if(arg_${fixture})
            list(APPEND properties ${fixture} ${arg_${fixture}})
        endif()
    endforeach()
    set_tests_properties(${name} PROPERTIES ${properties})
endfunction()
