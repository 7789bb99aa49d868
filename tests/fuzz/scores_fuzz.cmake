# The reader of the best-scores file, over arbitrary bytes.
korvelin_fuzz_target(scores_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/scores_fuzz.cpp LIBS korvelin_scores SECONDS 10)
