// Every model file is loaded once per run: the cache maps a file name to its Model and keeps it
// until shutdown, also when the load failed.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "graphics/model.hpp"

class ModelCache {
public:
    // Never null; an empty Model when the file could not be read.
    Model* Get(const std::string& fileName);
    void ReleaseAll();
    size_t size() const { return models_.size(); }

private:
    std::map<std::string, std::unique_ptr<Model>> models_;
};

// Created and deleted by the scene manager.
extern ModelCache* gModelCache;
