# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Fails when the game library reaches for Qt or for the windows' layer.
# Inputs: SOURCES (the game/ folder), LIBRARY (libgame.a), LINKS (its link
# libraries), NM (the nm tool).

set(problems "")

file(GLOB sources "${SOURCES}/*.h" "${SOURCES}/*.cpp")
if(NOT sources)
    list(APPEND problems "no sources found in ${SOURCES}")
endif()
foreach(source IN LISTS sources)
    file(STRINGS "${source}" includes REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS includes)
        if(line MATCHES "<Q[A-Za-z]*[>/]|<qt|\"ui/|\"app/")
            list(APPEND problems "${source}: ${line}")
        endif()
    endforeach()
endforeach()

if(LINKS MATCHES "Qt|ui")
    list(APPEND problems "the game library links: ${LINKS}")
endif()

execute_process(COMMAND "${NM}" -C -u "${LIBRARY}" OUTPUT_VARIABLE undefined RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    list(APPEND problems "nm failed on ${LIBRARY}")
endif()
string(REGEX MATCHALL "[^\n]*(Q[A-Z][A-Za-z]*::|qt_)[^\n]*" qtSymbols "${undefined}")
if(qtSymbols)
    list(APPEND problems "Qt symbols used by ${LIBRARY}: ${qtSymbols}")
endif()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "The game layer depends on Qt or on the windows:\n  ${text}")
endif()
list(LENGTH sources count)
message(STATUS "game layer: ${count} files, no Qt include, no Qt link, no Qt symbol")
