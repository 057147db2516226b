# Runs `hourwright-cli ids` as a user would: ids on standard output, faults
# on standard error, and the exit status.
# Usage: cmake -DCLI=... -DPLUGINS=folder -DINDEX=folder -DWORK=folder [-DEMULATOR=wine]
#              -P ids_command_test.cmake

# Runs ids with ARGN and checks the exit status, standard output and that
# standard error holds `expected_err` (is empty when that is).
function(run status expected_out expected_err)
  execute_process(COMMAND ${EMULATOR} ${CLI} ids ${ARGN}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
  string(FIND "${err}" "${expected_err}" at)
  if(NOT result EQUAL status OR NOT out STREQUAL expected_out OR at EQUAL -1
     OR (expected_err STREQUAL "" AND NOT err STREQUAL ""))
    message(FATAL_ERROR "ids ${ARGN}: exit status ${result} (${status} expected)\n"
                        "${out}\n---- expected:\n${expected_out}\n---- error:\n${err}")
  endif()
endfunction()

# The lines of the expected index of `plugin` for `kind`, without the kind.
function(expected_ids plugin kind result)
  file(READ "${INDEX}/${plugin}.index.tsv" text)
  string(REGEX REPLACE "\n([a-z]+)\t" "\n\\1 " text "\n${text}")
  string(REGEX MATCHALL "\n${kind} [^\n]*" lines "${text}")
  string(REPLACE ";" "" lines "${lines}")
  string(REPLACE "\n${kind} " "\n" lines "${lines}")
  string(REGEX REPLACE "^\n" "" lines "${lines}")
  if(NOT lines STREQUAL "")
    string(APPEND lines "\n")
  endif()
  set(${result} "${lines}" PARENT_SCOPE)
endfunction()

set(plugin firemoth.esm)
if(EXISTS "${INDEX}/${plugin}.index.tsv")
  expected_ids(${plugin} cell cells)
  run(0 "${cells}" "" --kind cell "${PLUGINS}/${plugin}")
  file(READ "${INDEX}/${plugin}.placed.tsv" placed)
  run(0 "${placed}" "" --placed "${PLUGINS}/${plugin}")
  expected_ids(${plugin} region regions)
  # A file that cannot be opened is named; the others are still read.
  run(1 "${regions}" "hourwright-cli ids: The file \"${WORK}/missing.esp\" cannot be opened."
      "${WORK}/missing.esp" --kind=region "${PLUGINS}/${plugin}")
endif()

run(2 "" "unknown kind 'npcs'" --kind npcs "${PLUGINS}/${plugin}")
run(2 "" "--placed counts the references of NPCs and creatures only"
    --kind item --placed "${PLUGINS}/${plugin}")
