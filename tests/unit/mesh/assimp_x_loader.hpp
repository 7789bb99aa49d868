// The game's former .x loader (Assimp), kept only to cross-check our own reader.
#pragma once

#include <string>

#include "platform/mesh/mesh_data.hpp"
#include "platform/mesh/x_file_loader.hpp"

namespace platform {

// What LoadXFile gave before the game read .x files itself: the same contract, through Assimp.
// Assimp turns v into 1 - v on import and this undoes it, so a v may differ from the file's in
// its last bits; everything else is the file's own.
bool LoadXFileWithAssimp(const std::string& path, MeshData& out, std::string& error);

}  // namespace platform
