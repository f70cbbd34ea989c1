# Run when installing: writes the menu entry with the absolute path of the installed program
# in its Exec line and installs it into share/applications. The path is quoted and escaped
# as a desktop entry requires when it holds a space or another reserved character, so any
# prefix the person chose starts the program.
#
# Set before: quentara_desktop_template (the .desktop.in file), quentara_desktop_staging
# (where the finished entry is written before it is installed).

if(NOT IS_ABSOLUTE "${CMAKE_INSTALL_PREFIX}")
  message(FATAL_ERROR "The menu entry needs an absolute prefix, not '${CMAKE_INSTALL_PREFIX}'.")
endif()
cmake_path(SET quentara_program NORMALIZE "${CMAKE_INSTALL_PREFIX}/share/quentara/quentara")
if(quentara_program MATCHES "[\n\r]")
  message(FATAL_ERROR "A menu entry cannot name a program whose path holds a line break.")
endif()

set(quentara_exec "${quentara_program}")
if(quentara_exec MATCHES "[ \t\"'\\\\><~|&;$*?#()`]")
  # Inside quotes, the double quote, backtick, dollar sign and backslash take a backslash.
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" quentara_exec "${quentara_exec}")
  set(quentara_exec "\"${quentara_exec}\"")
endif()
# A percent sign would start a field code.
string(REPLACE "%" "%%" quentara_exec "${quentara_exec}")
# The value is a string of the desktop entry, whose own escape doubles every backslash.
string(REPLACE "\\" "\\\\" quentara_exec "${quentara_exec}")
set(QUENTARA_EXEC "${quentara_exec}")

configure_file("${quentara_desktop_template}" "${quentara_desktop_staging}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE
     FILES "${quentara_desktop_staging}")
