# Runs kelvarok-sim on one pinned script and compares the trace's SHA-256 with
# the one recorded for it. Called by CTest with SIM, NAME, SCRIPT, EXPECTED,
# TRACE and OPTIONS (a ;-list of kelvarok-sim options). With -DUPDATE=ON it
# writes the new hash into EXPECTED instead of comparing.
execute_process(
  COMMAND ${SIM} ${OPTIONS} --script ${SCRIPT} --trace ${TRACE}
  RESULT_VARIABLE status
  OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "kelvarok-sim failed on ${SCRIPT}: ${status}")
endif()
file(SHA256 ${TRACE} actual)

file(STRINGS ${EXPECTED} lines REGEX "  ${NAME}$")
set(pinned "")
if(lines)
  string(SUBSTRING "${lines}" 0 64 pinned)
endif()

if(UPDATE)
  file(READ ${EXPECTED} all)
  if(pinned)
    string(REPLACE "${pinned}  ${NAME}" "${actual}  ${NAME}" all "${all}")
  else()
    string(APPEND all "${actual}  ${NAME}\n")
  endif()
  file(WRITE ${EXPECTED} "${all}")
  message(STATUS "${NAME}: pinned ${actual}")
elseif(NOT actual STREQUAL pinned)
  string(REPLACE ";" " " shown "${OPTIONS}")
  message(FATAL_ERROR
    "The trace of ${NAME} changed: expected ${pinned}, got ${actual}.\n"
    "The trace is ${TRACE} (kelvarok-sim ${shown} --script ${SCRIPT}).\n"
    "If a rule change is meant to change this game, check the new trace, then pin it with\n"
    "  cmake -DUPDATE=ON -DSIM=${SIM} -DNAME=${NAME} -DSCRIPT=${SCRIPT}"
    " -DEXPECTED=${EXPECTED} -DTRACE=${TRACE} \"-DOPTIONS=${OPTIONS}\" -P ${CMAKE_CURRENT_LIST_FILE}")
endif()
