# The course file reader, over arbitrary bytes, and what a course read goes through after it:
# the game's rules, the checker and the picture, each input within 5 seconds (a hang fails).
korvelin_fuzz_target(course_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/course_file_fuzz.cpp
  LIBS korvelin_course_data korvelin_course_picture SECONDS 20 TIMEOUT 5)
