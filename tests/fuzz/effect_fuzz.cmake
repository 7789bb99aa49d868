# The effect file parser and the compiler-log mapping, over arbitrary bytes.
korvelin_fuzz_target(effect_format_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/effect_format_fuzz.cpp
                     LIBS korvelin_effect_format SECONDS 20)
