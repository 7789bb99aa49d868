# The asset tool's reader of headless runs' traces, over arbitrary bytes, and the course picture
# drawn with what was read, each input within 5 seconds (a hang fails).
korvelin_fuzz_target(run_trace_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/run_trace_fuzz.cpp
  LIBS korvelin_run_trace korvelin_course_picture SECONDS 12 TIMEOUT 5)
