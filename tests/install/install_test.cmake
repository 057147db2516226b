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
set(expected
  bin/hourwright
  bin/hourwright-cli
  share/applications/hourwright.desktop
  share/icons/hicolor/48x48/apps/hourwright.png
  share/icons/hicolor/scalable/apps/hourwright.svg)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed:\n${installed}\nexpected:\n${expected}")
endif()

foreach(program hourwright hourwright-cli)
  execute_process(COMMAND test -x "${PREFIX}/bin/${program}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "bin/${program} is not executable")
  endif()
endforeach()
execute_process(COMMAND "${PREFIX}/bin/hourwright-cli" --help
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the installed hourwright-cli does not run")
endif()

# The entry is valid, starts the installed program and names the installed icon.
set(entry "${PREFIX}/share/applications/hourwright.desktop")
execute_process(COMMAND ${VALIDATE} "${entry}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate:\n${out}${err}")
endif()
file(STRINGS "${entry}" exec REGEX "^Exec=")
file(STRINGS "${entry}" icon REGEX "^Icon=")
if(NOT exec STREQUAL "Exec=hourwright" OR NOT icon STREQUAL "Icon=hourwright")
  message(FATAL_ERROR "the entry does not start hourwright with its icon: ${exec} ${icon}")
endif()

# The icon is a 48 x 48 PNG: the width and height in its header.
file(READ "${PREFIX}/share/icons/hicolor/48x48/apps/hourwright.png" header LIMIT 24 HEX)
string(SUBSTRING "${header}" 32 16 size)
if(NOT size STREQUAL "0000003000000030")
  message(FATAL_ERROR "the icon is not 48 x 48 (IHDR size ${size})")
endif()
