# Included by CTest when it runs the Windows tests: sets each test's time limit from
# `time_limits` (test, seconds, ...), multiplied by VANTU_TIME_SCALE when that is a
# whole number (scripts/guest-run sets it for the emulated guest). The limits are
# those of this host; a slower machine gets room in proportion.
set(scale "$ENV{VANTU_TIME_SCALE}")
if(NOT scale MATCHES "^[1-9][0-9]*$")
  set(scale 1)
endif()
while(time_limits)
  list(POP_FRONT time_limits test seconds)
  math(EXPR seconds "${seconds} * ${scale}")
  set_tests_properties(${test} PROPERTIES TIMEOUT ${seconds})
endwhile()
