# The course file reader, over arbitrary bytes.
korvelin_fuzz_target(course_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/course_file_fuzz.cpp LIBS korvelin_course_data SECONDS 40)
