// Every model file is loaded once per run: the cache maps a file name to its Model and keeps it
// until shutdown, also when the load failed. Files can be read ahead on a background thread;
// the device work stays on the thread that asks for the model.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/background_reader.hpp"
#include "graphics/model.hpp"

class ModelCache {
public:
    // Never null; an empty Model when the file could not be read. A file read ahead is only
    // put on the device here; one still being read is waited for.
    Model* Get(std::string_view fileName);
    // Starts reading the files that are not cached yet on the background thread: the file, its
    // ray hierarchy and its pictures.
    void Prefetch(const std::vector<std::string>& fileNames);
    // Until the files asked for ahead have all been read.
    void WaitForPrefetch() { reader_.Wait(); }
    // The file is being read ahead, or has been and waits for Get.
    bool ReadingAhead(const std::string& fileName) const { return reader_.Holds(fileName); }
    // Ends the background reading (the file being read is finished first) and releases every model.
    void ReleaseAll();
    size_t size() const { return models_.size(); }
    // Every file asked for so far, in name order.
    std::vector<std::string> FileNames() const;

private:
    // Looked up by a view, so the names the game passes every frame are not copied to ask.
    std::map<std::string, std::unique_ptr<Model>, std::less<>> models_;
    BackgroundReader<ModelData> reader_{ReadModelFile};  // after models_: its thread ends first
};

// Created and deleted by the scene manager.
extern ModelCache* gModelCache;
