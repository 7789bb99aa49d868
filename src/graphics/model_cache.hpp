// The models of the game's .x files, each read once per process (see AssetCache).
#pragma once

#include <string>
#include <vector>

#include "graphics/asset_cache.hpp"
#include "graphics/model.hpp"

// How a model file becomes a Model: read with its ray hierarchy and pictures on any thread,
// put on the graphics device on the thread that asks.
struct ModelFiles {
    using Asset = Model;
    using Data = ModelData;
    static ModelData Read(const std::string& file) { return ReadModelFile(file); }
    static const std::vector<std::string>& Problems(const ModelData& data) { return data.problems; }
    static void Make(Model& model, const std::string& file, ModelData data);
};

class ModelCache : public AssetCache<ModelFiles> {};
