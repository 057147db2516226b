# Runs `hourwright-cli npcs` as a user would: ids on standard output, faults
# on standard error, and the exit status.
# Usage: cmake -DCLI=... -DPLUGINS=folder -DWORK=folder [-DEMULATOR=wine] -P npcs_command_test.cmake

function(run expected_status)
  execute_process(COMMAND ${EMULATOR} ${CLI} npcs ${ARGN}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
  if(NOT status EQUAL expected_status)
    message(FATAL_ERROR "npcs ${ARGN}: exit status ${status}, not ${expected_status}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
endfunction()

function(expect_in text what)
  string(FIND "${text}" "${what}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "expected '${what}' in:\n${text}")
  endif()
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
run(0 ${plugins})
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "the ids differ from the .ids files:\n${out}")
endif()
if(NOT err STREQUAL "")
  message(FATAL_ERROR "unexpected message:\n${err}")
endif()
run(0 --encoding=WINDOWS-1250 --encoding windows-1252 -- ${plugins})
if(NOT out STREQUAL expected)
  message(FATAL_ERROR "the ids differ with --encoding")
endif()

# A file that cannot be opened does not stop the others, and fails the run.
list(GET plugins 0 first)
file(READ "${first}.ids" first_ids)
run(1 "${WORK}/missing.esp" "${first}")
expect_in("${err}" "The file \"${WORK}/missing.esp\" cannot be opened:")
if(NOT out STREQUAL first_ids)
  message(FATAL_ERROR "the ids of the readable file are missing:\n${out}")
endif()

# An NPC record whose data size (0x7A7A7A7A, "zzzz") runs past the end.
file(WRITE "${WORK}/cut.esp" "NPC_zzzz12345678NAME")
run(1 "${WORK}/cut.esp")
expect_in("${err}" "ends early at offset 0x14")
if(NOT out STREQUAL "")
  message(FATAL_ERROR "a cut NPC record gave an id:\n${out}")
endif()

# Usage errors.
run(2)
run(2 --encoding)
run(2 --encoding utf-8 "${first}")
expect_in("${err}" "unknown encoding 'utf-8'")
run(2 --verbose "${first}")
run(0 --help)
expect_in("${out}" "Usage: hourwright-cli npcs")
