# The .x model reader over arbitrary bytes, seeded with the game's models, Debian's
# assimp-testmodels and a few small files of every form (tests/fuzz/corpus/x_file_fuzz). Each
# input must finish within 2 s and 512 MB; seeds are cut to 64 KB so the big maps stay cheap.
set(x_seeds ${KORVELIN_GAME_DIR}/data/model)
if(EXISTS /usr/share/assimp/models/X)
  list(APPEND x_seeds /usr/share/assimp/models/X)
endif()
korvelin_fuzz_target(x_file_fuzz SOURCES ${CMAKE_CURRENT_LIST_DIR}/x_file_fuzz.cpp LIBS korvelin_mesh SECONDS 30
                     TIMEOUT 2 RSS_MB 512 MAX_LEN 65536 SEEDS ${x_seeds})
if(TARGET game_data)
  add_dependencies(x_file_fuzz game_data)
endif()
