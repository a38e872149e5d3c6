# What the scripts that run rlgtool share: running it in WORK_DIR (through
# EMULATOR, which may be empty) and checking its exit status and messages.

# Runs the tool in WORK_DIR; sets out, err (line ends normalised) and rc.
function(run)
  execute_process(COMMAND ${EMULATOR} ${TOOL} ${ARGN}
    WORKING_DIRECTORY ${WORK_DIR}
    OUTPUT_VARIABLE o ERROR_VARIABLE e RESULT_VARIABLE r)
  string(REPLACE "\r\n" "\n" o "${o}")
  string(REPLACE "\r\n" "\n" e "${e}")
  set(out "${o}" PARENT_SCOPE)
  set(err "${e}" PARENT_SCOPE)
  set(rc "${r}" PARENT_SCOPE)
endfunction()

function(fail what)
  message(SEND_ERROR "FAILED: ${what}\n--- exit ${rc}\n--- stdout\n${out}--- stderr\n${err}")
endfunction()

# expect(RC <n> [ERR <exact stderr>] [ERR_HAS <text>...] [OUT_HAS <text>...] ARGS <tool arguments>)
# A ";" in ERR is written as <semicolon>, since arguments are lists.
function(expect)
  cmake_parse_arguments(E "" "RC;ERR" "ERR_HAS;OUT_HAS;ARGS" ${ARGN})
  if(DEFINED E_ERR)
    string(REPLACE "<semicolon>" ";" E_ERR "${E_ERR}")
  endif()
  run(${E_ARGS})
  set(out "${out}" PARENT_SCOPE)
  set(err "${err}" PARENT_SCOPE)
  if(NOT rc EQUAL E_RC)
    fail("rlgtool ${E_ARGS}: exit status ${rc}, expected ${E_RC}")
    return()
  endif()
  if(DEFINED E_ERR AND NOT err STREQUAL E_ERR)
    fail("rlgtool ${E_ARGS}: stderr differs, expected\n${E_ERR}")
  endif()
  foreach(text IN LISTS E_ERR_HAS)
    string(FIND "${err}" "${text}" pos)
    if(pos EQUAL -1)
      fail("rlgtool ${E_ARGS}: stderr lacks \"${text}\"")
    endif()
  endforeach()
  foreach(text IN LISTS E_OUT_HAS)
    string(FIND "${out}" "${text}" pos)
    if(pos EQUAL -1)
      fail("rlgtool ${E_ARGS}: stdout lacks \"${text}\"")
    endif()
  endforeach()
endfunction()
