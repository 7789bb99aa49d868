# The WAVE reader and the sample conversion behind it, over arbitrary bytes.
korvelin_fuzz_target(wave_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/wave_file_fuzz.cpp LIBS korvelin_sound SECONDS 30)
