# Usage: cmake -DBUILD=build-folder -DPREFIX=folder -DVALIDATE=desktop-file-validate -P install_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}${err}")
endif()

# The programs, the menu entry and the icons, and nothing else.
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
set(expected bin/hourwright bin/hourwright-cli share/applications/hourwright.desktop
  share/icons/hicolor/48x48/apps/hourwright.png share/icons/hicolor/scalable/apps/hourwright.svg)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed:\n${installed}\nexpected:\n${expected}")
endif()

# Both programs are executable, and the command-line one runs.
execute_process(COMMAND test -x "${PREFIX}/bin/hourwright" RESULT_VARIABLE status)
execute_process(COMMAND "${PREFIX}/bin/hourwright-cli" --help OUTPUT_QUIET RESULT_VARIABLE cli)
if(NOT status EQUAL 0 OR NOT cli EQUAL 0)
  message(FATAL_ERROR "the installed programs do not run (${status}, ${cli})")
endif()

# The entry is valid, starts the installed program and names the installed icon.
set(entry "${PREFIX}/share/applications/hourwright.desktop")
execute_process(COMMAND ${VALIDATE} "${entry}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(STRINGS "${entry}" lines REGEX "^(Exec|Icon)=")
if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL ""
   OR NOT lines STREQUAL "Exec=hourwright;Icon=hourwright")
  message(FATAL_ERROR "desktop-file-validate:\n${out}${err}\nentry: ${lines}")
endif()

# The icon is a 48 x 48 PNG: the width and height in its header.
file(READ "${PREFIX}/share/icons/hicolor/48x48/apps/hourwright.png" header LIMIT 24 HEX)
string(SUBSTRING "${header}" 32 16 size)
if(NOT size STREQUAL "0000003000000030")
  message(FATAL_ERROR "the icon is not 48 x 48 (IHDR size ${size})")
endif()
