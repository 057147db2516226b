# Usage: cmake -DBUILD=build-folder -DPREFIX=folder -DVERSION=x.y.z
#              -DVALIDATE=desktop-file-validate -P install_test.cmake
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD}" --prefix "${PREFIX}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed:\n${out}${err}")
endif()

# The programs, the menu entry, the icons, the file type and the AppStream
# data, and nothing else.
set(id io.github.hourwright.HourWright)
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
list(SORT installed)
set(expected bin/hourwright bin/hourwright-cli share/applications/${id}.desktop
  share/icons/hicolor/48x48/apps/hourwright.png share/icons/hicolor/scalable/apps/hourwright.svg
  share/metainfo/${id}.metainfo.xml share/mime/packages/hourwright.xml)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed:\n${installed}\nexpected:\n${expected}")
endif()

# Both programs print their version and nothing else; the window program does
# so before it looks for a display (the platform named here does not exist).
# A version that cannot be written is an error.
foreach(program hourwright hourwright-cli)
  execute_process(COMMAND env QT_QPA_PLATFORM=none "${PREFIX}/bin/${program}" --version
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 0 OR NOT out STREQUAL "${program} ${VERSION}\n" OR NOT err STREQUAL "")
    message(FATAL_ERROR "${program} --version: status ${status}, output '${out}', error '${err}'")
  endif()
  execute_process(COMMAND sh -c "exec \"$0\" --version > /dev/full" "${PREFIX}/bin/${program}"
    ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL 1 OR NOT err MATCHES "^${program}: cannot write ")
    message(FATAL_ERROR "${program} --version > /dev/full: status ${status}, error '${err}'")
  endif()
endforeach()

# The entry is valid, starts the installed program with the file it is given,
# names the installed icon and the file type that the MIME data declares.
set(entry "${PREFIX}/share/applications/${id}.desktop")
execute_process(COMMAND ${VALIDATE} "${entry}"
  OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(STRINGS "${entry}" lines REGEX "^(Exec|Icon|MimeType)=")
file(STRINGS "${PREFIX}/share/mime/packages/hourwright.xml" types REGEX "<mime-type type=")
if(NOT status EQUAL 0 OR NOT "${out}${err}" STREQUAL ""
   OR NOT lines STREQUAL "Exec=hourwright %f;Icon=hourwright;MimeType=application/x-hourwright-tasks\;"
   OR NOT types MATCHES "\"application/x-hourwright-tasks\"")
  message(FATAL_ERROR "desktop-file-validate:\n${out}${err}\nentry: ${lines}\nMIME types: ${types}")
endif()

# The AppStream data is named by its id and launches the installed entry.
file(READ "${PREFIX}/share/metainfo/${id}.metainfo.xml" metainfo)
if(NOT metainfo MATCHES "<id>${id}</id>"
   OR NOT metainfo MATCHES "<launchable type=\"desktop-id\">${id}.desktop</launchable>")
  message(FATAL_ERROR "the AppStream data does not name ${id}:\n${metainfo}")
endif()

# The icon is a 48 x 48 PNG: the width and height in its header.
file(READ "${PREFIX}/share/icons/hicolor/48x48/apps/hourwright.png" header LIMIT 24 HEX)
string(SUBSTRING "${header}" 32 16 size)
if(NOT size STREQUAL "0000003000000030")
  message(FATAL_ERROR "the icon is not 48 x 48 (IHDR size ${size})")
endif()
