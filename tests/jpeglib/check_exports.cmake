# Fails unless the shared library LIB defines exactly the dynamic symbols in EXPECTED
# (semicolon-separated).
execute_process(COMMAND nm -D --defined-only --format=posix ${LIB}
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "nm failed on ${LIB}")
endif()
string(REGEX MATCHALL "(^|\n)[^ \n]+" names "${listing}")
list(TRANSFORM names STRIP)
list(SORT names)
set(expected ${EXPECTED})
list(SORT expected)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "${LIB} exports [${names}], expected [${expected}]")
endif()
