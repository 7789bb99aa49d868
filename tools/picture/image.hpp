// Pictures painted on the CPU: float RGBA with straight alpha, coverage masks, PNG output.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};

inline Rgba Mix(Rgba a, Rgba b, float t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// One float per pixel, 0..1: how much of a shape covers it.
struct Mask {
    int width = 0, height = 0;
    std::vector<float> v;
    Mask() = default;
    Mask(int w, int h) : width(w), height(h), v(static_cast<size_t>(w) * h, 0.0f) {}
    float& At(int x, int y) { return v[static_cast<size_t>(y) * width + x]; }
    float At(int x, int y) const { return v[static_cast<size_t>(y) * width + x]; }
    float Sample(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0.0f : At(x, y);
    }
    // Box blur repeated three times (close to a Gaussian of about radius / 1.7).
    Mask Blurred(int radius) const;
    // Every pixel at most `radius` pixels from the shape, softened (for outlines).
    Mask Grown(int radius) const;
};

class Image {
public:
    Image(int w, int h, Rgba fill = {});
    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgba& At(int x, int y) { return px_[static_cast<size_t>(y) * width_ + x]; }
    const Rgba& At(int x, int y) const { return px_[static_cast<size_t>(y) * width_ + x]; }

    // Paints colour over a pixel with the given coverage (straight-alpha "over").
    void Blend(int x, int y, Rgba c, float coverage = 1.0f);
    // Adds light: colour times amount onto rgb, alpha raised to at least amount.
    void AddLight(int x, int y, Rgba c, float amount);
    // Runs f(x, y) -> (colour, coverage) over a rectangle, blending the result.
    void Paint(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float, float*)>& f);
    // A mask placed at (ox, oy), coloured per pixel by fill(x, y).
    void BlendMask(const Mask& m, int ox, int oy, const std::function<Rgba(int, int)>& fill);
    void GlowMask(const Mask& m, int ox, int oy, Rgba c, float strength);
    // Copies another image in at (ox, oy).
    void Put(const Image& other, int ox, int oy);

    std::string EncodePng() const;

private:
    int width_, height_;
    std::vector<Rgba> px_;
};

// Coverage of a signed distance (negative inside) for one-pixel anti-aliasing.
inline float Coverage(float distance) {
    const float c = 0.5f - distance;
    return c < 0 ? 0 : (c > 1 ? 1 : c);
}
