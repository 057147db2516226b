# Runs `hourwright-cli loadorder` as a user would: the content files on
# standard output, problems on standard error, and the exit status.
# Usage: cmake -DCLI=... -DWORK=folder [-DEMULATOR=wine] -P loadorder_command_test.cmake

# Runs loadorder with ARGN and checks the exit status, that standard output
# holds one line per name of `expected_names` (a list; each line a full path
# ending in that name, or "*" for any output) and that standard error holds
# `expected_err` (is empty when that is). Under Wine the paths are expected as
# a Windows user reads them everywhere else in the program: Z:\work\...
function(run status expected_names expected_err)
  execute_process(COMMAND ${EMULATOR} ${CLI} loadorder ${ARGN}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE result)
  set(full_path "^/.*/")
  if(EMULATOR)
    string(REPLACE "\r" "" err "${err}")
    string(REPLACE "/" "\\" expected_err "${expected_err}")
    string(REPLACE "/" "\\" posix_root "${root}")
    string(REPLACE "${posix_root}" "Z:${posix_root}" expected_err "${expected_err}")
    set(full_path "^Z:\\\\.*\\\\")
  endif()
  set(ok TRUE)
  if(NOT expected_names STREQUAL "*")
    string(REGEX REPLACE "\n$" "" lines "${out}")
    string(REPLACE "\n" ";" lines "${lines}")
    list(LENGTH lines count)
    list(LENGTH expected_names expected_count)
    if(NOT count EQUAL expected_count)
      set(ok FALSE)
    endif()
    foreach(name line IN ZIP_LISTS expected_names lines)
      if(NOT "${line}" MATCHES "${full_path}${name}$")
        set(ok FALSE)
      endif()
    endforeach()
  endif()
  string(FIND "${err}" "${expected_err}" at)
  if(NOT result EQUAL status OR NOT ok OR at EQUAL -1
     OR (expected_err STREQUAL "" AND NOT err STREQUAL ""))
    message(FATAL_ERROR "loadorder ${ARGN}: exit status ${result} (${status} expected)\n${out}\n${err}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

set(root "${WORK}/loadorder Données")
file(REMOVE_RECURSE "${root}")
file(MAKE_DIRECTORY "${root}/Game/Data Files" "${root}/xdg/openmw")
foreach(name Morrowind.esm Tribunal.esm Mod.esp Morrowind.bsa)
  file(TOUCH "${root}/Game/Data Files/${name}")
endforeach()

# OpenMW: a named openmw.cfg, relative data folder, one file missing.
file(WRITE "${root}/openmw.cfg" "data=\"Game/Data Files\"\ncontent=Morrowind.esm\ncontent=mod.ESP\n")
run(0 "Morrowind.esm;Mod.esp" "" --openmw "${root}/openmw.cfg")
file(APPEND "${root}/openmw.cfg" "content=Gone.esp\n")
run(1 "Morrowind.esm;Mod.esp" "hourwright-cli loadorder: ${root}/openmw.cfg:4: the content file \"Gone.esp\" is in none of the data folders\n"
    "--openmw=${root}/openmw.cfg")

# The original engine: masters first, then by time.
file(TOUCH_NOCREATE "${root}/Game/Data Files/Morrowind.esm")
file(WRITE "${root}/Game/Morrowind.ini" "[Game Files]\nGameFile0=Mod.esp\nGameFile1=Morrowind.esm\n")
run(0 "Morrowind.esm;Mod.esp" "" --morrowind-ini "${root}/Game/Morrowind.ini" --encoding windows-1251)

# Without a file named: the user's openmw.cfg (Linux's folder of it).
if(NOT EMULATOR)
  file(WRITE "${root}/xdg/openmw/openmw.cfg" "data=\"${root}/Game/Data Files\"\ncontent=Tribunal.esm\n")
  set(ENV{XDG_CONFIG_HOME} "${root}/xdg")
  run(0 "Tribunal.esm" "")
endif()

# Nothing loaded: a message and status 1, after the reason when there is one.
set(nothing "names no content file that could be found; nothing is loaded\n")
file(WRITE "${root}/none/openmw.cfg" "data=\"${root}/Game/Data Files\"\n")
run(1 "" "loadorder: the load order of \"${root}/none/openmw.cfg\" ${nothing}"
    --openmw "${root}/none/openmw.cfg")
file(WRITE "${root}/section/openmw.cfg" "data=\"${root}/Game/Data Files\"\n[Game]\ncontent=Mod.esp\n")
run(1 "" "section/openmw.cfg:3: content= stands under [Game], where OpenMW does not read it; the line is passed over\nhourwright-cli loadorder: the load order"
    --openmw "${root}/section/openmw.cfg")
file(WRITE "${root}/Game/Morrowind.ini" "[General]\nGameFile0=Mod.esp\n")
run(1 "" "loadorder: the load order of \"${root}/Game/Morrowind.ini\" ${nothing}"
    --morrowind-ini "${root}/Game/Morrowind.ini")
# A chain through "..": its files named plainly; a data= naming a file.
file(WRITE "${root}/a/openmw.cfg" "config=../b\n")
file(WRITE "${root}/b/openmw.cfg" "data=\"${root}/Game/Data Files/Mod.esp\"\ncontent=Mod.esp\n")
run(1 "" "loadorder: ${root}/b/openmw.cfg:1: the data folder \"${root}/Game/Data Files/Mod.esp\" is a file, not a folder; OpenMW passes it over\n"
    --openmw "${root}/a/openmw.cfg")

# Usage errors, and the usage asked for.
run(2 "*" "give only one of --openmw and --morrowind-ini" --openmw a --morrowind-ini b)
run(2 "*" "--openmw needs a value" --openmw)
run(2 "*" "unknown option '--verbose'" --verbose)
run(2 "*" "unexpected argument 'openmw.cfg'" openmw.cfg)
run(2 "*" "unknown encoding 'utf-8'" --encoding utf-8)
run(0 "*" "" --help)
if(NOT out MATCHES "^Usage: hourwright-cli loadorder")
  message(FATAL_ERROR "loadorder --help:\n${out}")
endif()
file(REMOVE_RECURSE "${root}")
