# Helpers for the test layers: unit (headless), render (Xvfb) and e2e (the real program).
if(KORVELIN_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
  # Every headless test binary (and what they need), for builds that run only those.
  add_custom_target(unit_tests)
endif()

# korvelin_unit_test(NAME SOURCES ... LIBS ...): a GoogleTest binary whose cases become
# separate tests labelled "unit"; they run headless on the null device.
function(korvelin_unit_test name)
  cmake_parse_arguments(ARG "" "LABEL" "SOURCES;LIBS" ${ARGN})
  if(NOT ARG_LABEL)
    set(ARG_LABEL unit)
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE KORVELIN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
                                             KORVELIN_GAME_DIR="${KORVELIN_GAME_DIR}")
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST PROPERTIES LABELS ${ARG_LABEL}
                       WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(ARG_LABEL STREQUAL "unit")
    add_dependencies(unit_tests ${name})
  endif()
endfunction()

# korvelin_fuzz_target(NAME SOURCES ... LIBS ... [SECONDS n] [TIMEOUT s] [RSS_MB n] [MAX_LEN n]
# [SEEDS dir...]): a libFuzzer target (clang) run as a test labelled "fuzz" over its seed corpus
# tests/fuzz/corpus/NAME and the SEEDS folders for SECONDS (default 30), each input within TIMEOUT
# seconds (default 10) and RSS_MB megabytes (default 2048).
function(korvelin_fuzz_target name)
  cmake_parse_arguments(ARG "" "SECONDS;TIMEOUT;RSS_MB;MAX_LEN" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(NOT ARG_SECONDS)
    set(ARG_SECONDS 30)
  endif()
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 10)
  endif()
  if(NOT ARG_RSS_MB)
    set(ARG_RSS_MB 2048)
  endif()
  set(limits "-timeout=${ARG_TIMEOUT} -rss_limit_mb=${ARG_RSS_MB}")
  if(ARG_MAX_LEN)
    string(APPEND limits " -max_len=${ARG_MAX_LEN}")
  endif()
  set(seeds "'${PROJECT_SOURCE_DIR}/tests/fuzz/corpus/${name}'")
  foreach(dir ${ARG_SEEDS})
    string(APPEND seeds " '${dir}'")
  endforeach()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzz_targets ${name})
  set(corpus ${CMAKE_CURRENT_BINARY_DIR}/corpus-${name})
  add_test(NAME ${name}
           COMMAND sh -c "mkdir -p '${corpus}' && exec $<TARGET_FILE:${name}> -max_total_time=${ARG_SECONDS} ${limits} -print_final_stats=1 '${corpus}' ${seeds}")
  set_tests_properties(${name} PROPERTIES LABELS fuzz TIMEOUT ${ARG_SECONDS}0)
endfunction()
