// Every picture file is read once per run: the cache maps a file name to its Texture and keeps
// it until shutdown, also when the load failed (a missing file is not tried again). Pictures
// can be decoded ahead on a background thread; the device work stays on the thread that asks.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/background_reader.hpp"
#include "graphics/texture.hpp"

class TextureCache {
public:
    // Never null; an empty Texture when the file could not be read. A picture decoded ahead is
    // only put on the device here; one still being decoded is waited for.
    Texture* Get(std::string_view fileName);
    // Starts decoding the pictures that are not cached yet on the background thread.
    void Prefetch(const std::vector<std::string>& fileNames);
    // Until the pictures asked for ahead have all been decoded.
    void WaitForPrefetch() { reader_.Wait(); }
    // The picture is being decoded ahead, or has been and waits for Get.
    bool ReadingAhead(const std::string& fileName) const { return reader_.Holds(fileName); }
    // Ends the background decoding (the picture being decoded is finished first) and releases
    // every texture.
    void ReleaseAll();
    size_t size() const { return textures_.size(); }
    // Every file asked for so far, in name order.
    std::vector<std::string> FileNames() const;

private:
    // What the cache's textures are made from: the file's own size, mips, no rounding up.
    static platform::TextureImage ReadPicture(const std::string& fileName);

    // Looked up by a view, so the names the game passes every frame are not copied to ask.
    std::map<std::string, std::unique_ptr<Texture>, std::less<>> textures_;
    BackgroundReader<platform::TextureImage> reader_{ReadPicture};  // after textures_: its thread ends first
};

// Created and deleted by the scene manager.
extern TextureCache* gTextureCache;
