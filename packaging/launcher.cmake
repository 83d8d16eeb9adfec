# SPDX-FileCopyrightText: 2026 The Zelvaro developers
# SPDX-License-Identifier: GPL-3.0-or-later
#
# Run when installing: writes the launcher zelvaro_launcher from
# zelvaro_template, with the full path of the program installed as
# zelvaro_program (relative to the prefix, or absolute) in its Exec key.

cmake_path(ABSOLUTE_PATH zelvaro_program BASE_DIRECTORY "${CMAKE_INSTALL_PREFIX}" OUTPUT_VARIABLE exec)
if(exec MATCHES "\n")
    message(FATAL_ERROR "A launcher cannot run a program whose path holds a line break: ${exec}")
endif()
# Exec holds a command line. A path with a blank or another reserved character
# is put in double quotes, inside which ", `, $ and \ take a backslash; % is
# doubled, as it starts a field code. Then the key's value doubles every
# backslash once more.
if(exec MATCHES "[ \t\"'\\><~|&;$*?#()`]")
    string(REGEX REPLACE "([\"`$\\])" "\\\\\\1" exec "${exec}")
    set(exec "\"${exec}\"")
endif()
string(REPLACE "%" "%%" exec "${exec}")
string(REPLACE "\\" "\\\\" ZELVARO_EXEC "${exec}")
configure_file("${zelvaro_template}" "${zelvaro_launcher}" @ONLY)
