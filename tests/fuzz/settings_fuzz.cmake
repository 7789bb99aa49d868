# The player's settings file reader, over arbitrary bytes.
korvelin_fuzz_target(settings_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/settings_fuzz.cpp LIBS korvelin_settings SECONDS 15)
