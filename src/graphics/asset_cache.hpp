// Every file of one kind (models, pictures) is read once per process: the cache maps a file name
// to its object and keeps it until ReleaseAll, also when the file could not be read, so a missing
// file is neither tried again nor reported twice. Files can be read ahead on a background thread;
// the device work stays on the thread that asks for the object.
//
// `Files` says how a kind of file becomes an object:
//   using Asset = ...;  the object the game draws with (Model, Texture)
//   using Data = ...;   what a file gives without the device (made on any thread)
//   static Data Read(const std::string& file);
//   static const std::vector<std::string>& Problems(const Data&);  the reader's own messages
//   static void Make(Asset&, const std::string& file, Data);  puts the data on the device
#pragma once

#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/background_reader.hpp"

template <class Files>
class AssetCache {
public:
    using Asset = typename Files::Asset;
    using Data = typename Files::Data;

    AssetCache() = default;
    AssetCache(const AssetCache&) = delete;
    AssetCache& operator=(const AssetCache&) = delete;
    ~AssetCache() { ReleaseAll(); }

    // Never null; an empty object when the file could not be read, which is then named once on
    // standard error with the reader's message. A file read ahead is only put on the device here;
    // one still being read is waited for.
    Asset* Get(std::string_view fileName) {
        // Looked up by a view, so the names the game passes every frame are not copied to ask.
        if (auto it = assets_.find(fileName); it != assets_.end()) return it->second.get();
        const std::string file(fileName);
        std::optional<Data> data = reader_.Take(file);
        if (!data) data.emplace(Files::Read(file));
        for (const std::string& problem : Files::Problems(*data)) std::fprintf(stderr, "korvelin: %s\n", problem.c_str());
        auto asset = std::make_unique<Asset>();
        Files::Make(*asset, file, std::move(*data));
        return assets_.emplace(file, std::move(asset)).first->second.get();
    }
    // Starts reading the files that are not cached yet on the background thread.
    void Prefetch(const std::vector<std::string>& fileNames) {
        for (const std::string& name : fileNames)
            if (!assets_.count(name)) reader_.Request(name);
    }
    // Until the files asked for ahead have all been read.
    void WaitForPrefetch() { reader_.Wait(); }
    // The file is being read ahead, or has been and waits for Get.
    bool ReadingAhead(const std::string& fileName) const { return reader_.Holds(fileName); }
    // Ends the background reading (the file being read is finished first) and releases every
    // object; pointers handed out before are invalid afterwards.
    void ReleaseAll() {
        reader_.Stop();
        assets_.clear();
    }
    size_t size() const { return assets_.size(); }
    // Every file asked for so far, in name order.
    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        for (const auto& entry : assets_) names.push_back(entry.first);
        return names;
    }

private:
    std::map<std::string, std::unique_ptr<Asset>, std::less<>> assets_;
    BackgroundReader<Data> reader_{&Files::Read};  // after assets_: its thread ends first
};
