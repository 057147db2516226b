# Runs `hourwright-cli npcs` as a user would: ids on standard output, faults
# on standard error, and the exit status.
# Usage: cmake -DCLI=... -DPLUGINS=folder -DWORK=folder [-DEMULATOR=wine] -P npcs_command_test.cmake

# Runs npcs with ARGN and checks the exit status, standard output (unless
# `expected_out` is "*") and that standard error holds `expected_err` (is
# empty when that is).
function(run status expected_out expected_err)
  execute_process(COMMAND ${EMULATOR} ${CLI} npcs ${ARGN}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
  string(FIND "${err}" "${expected_err}" at)
  if(NOT result EQUAL status OR NOT (expected_out STREQUAL "*" OR out STREQUAL expected_out)
     OR at EQUAL -1 OR (expected_err STREQUAL "" AND NOT err STREQUAL ""))
    message(FATAL_ERROR "npcs ${ARGN}: exit status ${result} (${status} expected)\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

# Every real plugin at once: the ids of each in the order of the arguments.
file(GLOB ids_files "${PLUGINS}/*.ids")
list(SORT ids_files)
set(plugins)
set(expected "")
foreach(ids ${ids_files})
  string(REGEX REPLACE "\\.ids$" "" plugin "${ids}")
  list(APPEND plugins "${plugin}")
  file(READ "${ids}" text)
  string(APPEND expected "${text}")
endforeach()
run(0 "${expected}" "" ${plugins})
run(0 "${expected}" "" --encoding=WINDOWS-1250 --encoding windows-1252 -- ${plugins})

# A file that cannot be opened does not stop the others, and fails the run.
list(GET plugins 0 first)
file(READ "${first}.ids" first_ids)
run(1 "${first_ids}" "The file \"${WORK}/missing.esp\" cannot be opened."
    "${WORK}/missing.esp" "${first}")

# A header record whose data size (0x7A7A7A7A, "zzzz") runs past the end, and
# a text file.
file(WRITE "${WORK}/cut.esp" "TES3zzzz12345678NAME")
run(1 "" "ends in the middle of a record" "${WORK}/cut.esp")
file(WRITE "${WORK}/text.esp" "Hello, world")
run(1 "" "is not a Morrowind plugin or master file" "${WORK}/text.esp")

# Usage errors, and the usage asked for.
run(2 "" "Usage: hourwright-cli npcs")
run(2 "" "--encoding needs a code page" --encoding)
run(2 "" "unknown encoding 'utf-8'" --encoding utf-8 "${first}")
run(2 "" "unknown option '--verbose'" --verbose "${first}")
run(0 "*" "" --help)
if(NOT out MATCHES "^Usage: hourwright-cli npcs")
  message(FATAL_ERROR "npcs --help:\n${out}")
endif()
