# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Run by ctest for each QtTest executable (see zelvaro_add_qtest): registers one test
# per test function, ui.<Class>.<function>. The executable lists its functions itself
# (-datatags prints "<Class> <function> [<data tag>]" a line); the listing is made
# again only when the executable is newer than the last one.
# Inputs: QTEST_EXECUTABLE, QTEST_LISTING (the generated ctest file), QTEST_TARGET,
# QTEST_CMAKE (the cmake program, for its env command).

# ctest includes this file with the policies of an old CMake: no if(IN_LIST) here, and
# no policy set (which would make it warn about every inclusion).
if(NOT EXISTS "${QTEST_EXECUTABLE}")
    add_test(ui.${QTEST_TARGET}.NOT_BUILT ${QTEST_TARGET}_NOT_BUILT)
    return()
endif()

if(NOT EXISTS "${QTEST_LISTING}" OR "${QTEST_EXECUTABLE}" IS_NEWER_THAN "${QTEST_LISTING}"
    OR "${CMAKE_CURRENT_LIST_FILE}" IS_NEWER_THAN "${QTEST_LISTING}")
    # Listing is not a test run: leaks at exit are not looked for here.
    execute_process(
        COMMAND "${QTEST_CMAKE}" -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
            "${QTEST_EXECUTABLE}" -datatags
        OUTPUT_VARIABLE output
        ERROR_VARIABLE errors
        RESULT_VARIABLE status
        TIMEOUT 60)
    set(content "")
    set(names "")
    string(REPLACE "\n" ";" lines "${output}")
    foreach(line IN LISTS lines)
        if(line MATCHES "^([A-Za-z_][A-Za-z0-9_]*) ([A-Za-z_][A-Za-z0-9_]*)( |$)")
            set(name ui.${CMAKE_MATCH_1}.${CMAKE_MATCH_2})
            list(FIND names ${name} seen)
            if(seen EQUAL -1)
                list(APPEND names ${name})
                string(APPEND content "add_test(${name} [==[${QTEST_EXECUTABLE}]==] ${CMAKE_MATCH_2})\n")
            endif()
        endif()
    endforeach()
    if(NOT status EQUAL 0 OR NOT names)
        # One failing test that says why, rather than tests that silently vanish; the
        # listing is tried again at the next run.
        string(REPLACE "\n" " " errors "${errors}")
        set(name ui.${QTEST_TARGET}.LISTING_FAILED)
        file(WRITE "${QTEST_LISTING}.failed"
            "add_test(${name} [==[${QTEST_CMAKE}]==] -E echo [==[${QTEST_EXECUTABLE} -datatags "
            "ended with ${status}: ${errors}]==])\n"
            "set_tests_properties(${name} PROPERTIES WILL_FAIL TRUE LABELS ui)\n")
        include("${QTEST_LISTING}.failed")
        return()
    endif()
    string(APPEND content "set_tests_properties(${names} PROPERTIES\n"
        "    ENVIRONMENT QT_QPA_PLATFORM=offscreen LABELS ui TIMEOUT 180)\n")
    file(WRITE "${QTEST_LISTING}" "${content}")
endif()
include("${QTEST_LISTING}")
