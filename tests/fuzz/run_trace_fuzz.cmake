# The asset tool's reader of headless runs' traces, over arbitrary bytes.
korvelin_fuzz_target(run_trace_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/run_trace_fuzz.cpp LIBS korvelin_run_trace SECONDS 25)
