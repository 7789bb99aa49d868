# The input script reader of headless runs, over arbitrary bytes.
korvelin_fuzz_target(input_script_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/input_script_fuzz.cpp LIBS korvelin_input_script SECONDS 15)
