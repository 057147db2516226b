# Runs `hourwright-cli plugin` as a user would: a new plugin for the tiny game
# world, the same lists again, a merge into each real plugin, refusals and
# wrong usage. With -DESMTOOL=ON it then has OpenMW's esmtool read every plugin
# written, and says that it skipped that when esmtool is not installed.
# Usage: cmake -DCLI=... -DWORK=folder -DPLUGINS=folder -DWORLD=folder
#              [-DEMULATOR=wine] [-DESMTOOL=ON] -P plugin_command_test.cmake

# Runs plugin with ARGN; checks the exit status, that standard output begins
# with `expected_out` and that standard error holds `expected_err` (is empty
# when that is).
function(run status expected_out expected_err)
  execute_process(COMMAND ${EMULATOR} ${CLI} plugin ${ARGN} WORKING_DIRECTORY "${root}"
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
  string(REPLACE "\r" "" err "${err}")
  string(REPLACE "\r" "" out "${out}")
  string(FIND "${out}" "${expected_out}" out_at)
  string(FIND "${err}" "${expected_err}" err_at)
  if(NOT result EQUAL status OR NOT out_at EQUAL 0 OR err_at EQUAL -1
     OR (expected_err STREQUAL "" AND NOT err STREQUAL ""))
    message(FATAL_ERROR "plugin ${ARGN}: exit status ${result} (${status} expected)\n"
                        "out: ${out}\nerr: ${err}")
  endif()
endfunction()

set(root "${WORK}/plugin Données")
file(REMOVE_RECURSE "${root}")
file(MAKE_DIRECTORY "${root}/merged")
file(READ "${WORLD}/every_action.txt" entries)
file(WRITE "${root}/guard.hwtasks" "; HourWright task list\n; NPC: hw_guard\n; Global: no\n${entries}")
file(WRITE "${root}/smith.hwtasks" "; NPC: hw_smith\n; Global: yes\n${entries}")
set(lists guard.hwtasks smith.hwtasks)
set(written "")

# A new plugin for the world, then the same lists again.
run(0 "Wrote World.omwaddon: adds scripts hw_guard_sched_sc_01 and hw_smith_sched_sc_01, and a start script; adds the central script hrw_central_"
    "" --out World.omwaddon --data "${WORLD}/tiny_world.esm" --author HourWright ${lists})
run(0 "World.omwaddon is unchanged" "" --out=World.omwaddon --data "${WORLD}/tiny_world.esm" ${lists})
list(APPEND written "World.omwaddon")
run(0 "Wrote Bare.esp" "note: Without game data the plugin names no new masters" --out Bare.esp ${lists})
list(APPEND written "Bare.esp")

# A dry run says what a write would change, or that nothing would, and writes nothing.
run(0 "Would write Dry.omwaddon: adds scripts hw_guard_sched_sc_01 and hw_smith_sched_sc_01, and a start script; adds the central script hrw_central_"
    "" --dry-run --out Dry.omwaddon --data "${WORLD}/tiny_world.esm" ${lists})
run(0 "World.omwaddon is unchanged" "" --dry-run --out World.omwaddon --data "${WORLD}/tiny_world.esm" ${lists})
if(EXISTS "${root}/Dry.omwaddon")
  message(FATAL_ERROR "a dry run wrote Dry.omwaddon")
endif()

# Each real plugin merged into keeps its old bytes beside it.
file(GLOB plugins LIST_DIRECTORIES false "${PLUGINS}/*.esp" "${PLUGINS}/*.ESP" "${PLUGINS}/*.esm"
     "${PLUGINS}/*.omwaddon")
foreach(plugin IN LISTS plugins)
  get_filename_component(name "${plugin}" NAME)
  file(READ "${plugin}" original HEX)
  file(COPY "${plugin}" DESTINATION "${root}/merged")
  run(0 "Would write merged/${name}: adds scripts" "note: Without game data" --dry-run
      --out "merged/${name}" ${lists})
  file(READ "${root}/merged/${name}" copied HEX)
  if(EXISTS "${root}/merged/${name}.bak" OR NOT copied STREQUAL original)
    message(FATAL_ERROR "a dry run changed merged/${name}")
  endif()
  run(0 "Wrote merged/${name}: adds scripts" "note: Without game data" --out "merged/${name}" ${lists})
  file(READ "${root}/merged/${name}.bak" kept HEX)
  if(NOT kept STREQUAL original)
    message(FATAL_ERROR "merged/${name}.bak is not the old file")
  endif()
  list(APPEND written "merged/${name}")
endforeach()

# Refused: the file is not touched.
file(WRITE "${root}/text.esp" "Hello, world")
run(1 "" "The file \"text.esp\" is not a Morrowind plugin or master file." --out text.esp ${lists})
file(READ "${root}/text.esp" text)
if(NOT text STREQUAL "Hello, world" OR EXISTS "${root}/text.esp.bak")
  message(FATAL_ERROR "a refused plugin was changed")
endif()
file(WRITE "${root}/nobody.hwtasks" "; NPC: nobody\n06:00 > Appear\n")
run(1 "" "No file of the game data defines the NPC \"nobody\". Check the id, or write it anyway with --force."
    --out Nobody.esp --data "${WORLD}/tiny_world.esm" nobody.hwtasks)
run(1 "" "No file of the game data defines the NPC \"nobody\". Check the id, or write it anyway with --force."
    --dry-run --out Nobody.esp --data "${WORLD}/tiny_world.esm" nobody.hwtasks)
run(0 "Wrote Nobody.esp" "note: No file of the game data defines the NPC \"nobody\"" --force
    --out Nobody.esp --data "${WORLD}/tiny_world.esm" nobody.hwtasks)
run(1 "" "missing.hwtasks: cannot open: " --out x.esp missing.hwtasks)

# Wrong usage.
run(2 "" "option '--out' is missing" ${lists})
run(2 "" "no LIST given" --out x.esp)
run(2 "" "unknown encoding 'utf-8'" --out x.esp --encoding utf-8 ${lists})
run(2 "" "--data names a file" --out x.esp --data - ${lists})
run(0 "Usage: hourwright-cli plugin --out FILE" "" --help)

if(ESMTOOL)
  find_program(esmtool esmtool PATHS /usr/games)
  if(NOT esmtool)
    message("esmtool was not found (Debian package openmw-cs): skipped reading the plugins with it")
    file(REMOVE_RECURSE "${root}")
    return()
  endif()
  # OpenMW's own reader takes every plugin written and lists its scripts.
  foreach(plugin IN LISTS written)
    execute_process(COMMAND ${esmtool} dump "${root}/${plugin}"
      OUTPUT_VARIABLE dump ERROR_VARIABLE err RESULT_VARIABLE result)
    foreach(record "SCPT 'hw_guard_sched_sc_01'" "SSCR 'hw_guard_sched_sc_01'"
                   "SCPT 'hw_smith_sched_sc_01'" "SCPT 'hrw_central_" "SSCR 'hrw_central_")
      string(FIND "${dump}" "Record: ${record}" at)
      if(at EQUAL -1)
        set(result "no record ${record}")
      endif()
    endforeach()
    if(NOT result EQUAL 0)
      message(FATAL_ERROR "esmtool dump ${plugin}: ${result}\n${err}")
    endif()
  endforeach()
  list(LENGTH written count)
  message("esmtool read all ${count} plugins")
endif()
file(REMOVE_RECURSE "${root}")
