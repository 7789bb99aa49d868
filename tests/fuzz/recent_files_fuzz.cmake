# The reader of the editor's list of recent courses, over arbitrary bytes.
korvelin_fuzz_target(recent_files_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/recent_files_fuzz.cpp LIBS korvelin_files SECONDS 8)
