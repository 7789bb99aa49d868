// An RGBA picture in memory that tiles cut from rendered frames are pasted into, then written
// out as one PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class Canvas {
public:
    // A canvas of the given size filled with the RGB colour (opaque).
    Canvas(int width, int height, uint32_t rgb);

    // Copies the sw x sh rectangle at (sx, sy) of a frame (RGBA8, top row first, frameWidth
    // wide), shrunk by the whole factor `shrink` (each output pixel the mean of a square of
    // shrink x shrink), to (dx, dy). Parts outside either picture are skipped.
    void Paste(const std::vector<uint8_t>& frame, int frameWidth, int frameHeight, int sx, int sy, int sw, int sh,
               int shrink, int dx, int dy);
    // Writes the canvas as an opaque PNG. False with a message on failure.
    bool WritePng(const std::string& path, std::string* error) const;

    int width() const { return width_; }
    int height() const { return height_; }
    const std::vector<uint8_t>& pixels() const { return rgba_; }

private:
    int width_, height_;
    std::vector<uint8_t> rgba_;
};
