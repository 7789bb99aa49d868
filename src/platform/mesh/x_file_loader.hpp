// Loads a DirectX .x model file (text, binary or compressed) into one merged CPU mesh.
#pragma once

#include <string>
#include <string_view>

#include "platform/mesh/mesh_data.hpp"

namespace platform {

// Reads the file with our own bounded reader and gives back what the game was made against:
// the file's own coordinates, winding and texture coordinates (left-handed, nothing flipped),
// every mesh of the frame hierarchy moved by its frames' transforms and merged into one, one
// subset per material in the file's material order (materials with no faces keep an empty
// subset), ambient set to diffuse, texture names joined to the model's folder. Missing normals
// are computed per face. On failure returns false, leaves `out` empty and says in `error`
// "FILE: offset N: what was wrong" (or "line N" for text). Never throws.
bool LoadXFile(const std::string& path, MeshData& out, std::string& error);

// The same for a file already in memory; `path` names it in messages and gives the folder of
// its textures.
bool ReadXFile(std::string_view bytes, const std::string& path, MeshData& out, std::string& error);

// "data/model/" for "data/model/chara.x"; "" for a bare file name. Backslashes count as
// separators, as they do in the model files' own texture names.
std::string DirectoryOf(const std::string& path);

}  // namespace platform
