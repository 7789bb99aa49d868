# Every library comes from Debian's packages (see run.sh); nothing is downloaded.
find_package(PkgConfig REQUIRED)
pkg_check_modules(SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(EPOXY REQUIRED IMPORTED_TARGET epoxy)
pkg_check_modules(FREETYPE REQUIRED IMPORTED_TARGET freetype2)
pkg_check_modules(FONTCONFIG REQUIRED IMPORTED_TARGET fontconfig)
pkg_check_modules(OPENAL REQUIRED IMPORTED_TARGET openal)
# OpenAL Soft plays through ALSA; the sound manager keeps ALSA's messages quiet while it opens.
pkg_check_modules(ALSA REQUIRED IMPORTED_TARGET alsa)
pkg_check_modules(STB REQUIRED IMPORTED_TARGET stb)
# Compressed .x models are MSZIP: deflate blocks that zlib inflates.
find_package(ZLIB REQUIRED)
# The model importer the game once used reads .x files only in the cross-check of our own reader
# (a test and a benchmark); the game and its tools never link it.
pkg_check_modules(ASSIMP QUIET IMPORTED_TARGET assimp)

# Debian's Dear ImGui ships a static library with the SDL2 and OpenGL3 backends built in.
pkg_check_modules(IMGUI REQUIRED IMPORTED_TARGET imgui)
add_library(korvelin_imgui INTERFACE)
target_include_directories(korvelin_imgui INTERFACE /usr/include/imgui /usr/include/imgui/backends)
target_link_libraries(korvelin_imgui INTERFACE PkgConfig::IMGUI PkgConfig::SDL2 PkgConfig::FREETYPE PkgConfig::STB ${CMAKE_DL_LIBS})

find_package(Threads REQUIRED)

# The player's settings file is TOML.
pkg_check_modules(TOMLPLUSPLUS REQUIRED IMPORTED_TARGET tomlplusplus)

# JSON reading (the asset tool reads headless runs' traces).
find_package(nlohmann_json 3 REQUIRED)
