// Painting helpers and PNG encoding through stb_image_write.
#include "image.hpp"

#include <stb_image_write.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

void BoxBlurLine(const float* in, float* out, int n, int stride, int radius) {
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    float sum = 0;
    for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < n) ? in[i * stride] : 0.0f;
    for (int i = 0; i < n; ++i) {
        out[i * stride] = sum * scale;
        const int add = i + radius + 1, sub = i - radius;
        if (add < n) sum += in[add * stride];
        if (sub >= 0) sum -= in[sub * stride];
    }
}

uint8_t ToByte(float v) {
    const float c = std::clamp(v, 0.0f, 1.0f);
    return static_cast<uint8_t>(std::lround(c * 255.0f));
}

}  // namespace

Mask Mask::Blurred(int radius) const {
    Mask a = *this, b(width, height);
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height; ++y) BoxBlurLine(&a.v[static_cast<size_t>(y) * width], &b.v[static_cast<size_t>(y) * width], width, 1, radius);
        for (int x = 0; x < width; ++x) BoxBlurLine(&b.v[x], &a.v[x], height, width, radius);
    }
    return a;
}

Mask Mask::Grown(int radius) const {
    Mask out(width, height);
    const float r2 = static_cast<float>(radius * radius);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float best = 0;
            for (int dy = -radius; dy <= radius && best < 1.0f; ++dy)
                for (int dx = -radius; dx <= radius; ++dx) {
                    const float d2 = static_cast<float>(dx * dx + dy * dy);
                    if (d2 > r2) continue;
                    const float edge = std::clamp(static_cast<float>(radius) + 0.5f - std::sqrt(d2), 0.0f, 1.0f);
                    best = std::max(best, Sample(x + dx, y + dy) * edge);
                }
            out.At(x, y) = best;
        }
    return out;
}

Image::Image(int w, int h, Rgba fill) : width_(w), height_(h), px_(static_cast<size_t>(w) * h, fill) {}

void Image::Blend(int x, int y, Rgba c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float a = std::clamp(c.a * coverage, 0.0f, 1.0f);
    if (a <= 0) return;
    Rgba& d = At(x, y);
    const float outA = a + d.a * (1 - a);
    if (outA <= 0) return;
    d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
}

void Image::AddLight(int x, int y, Rgba c, float amount) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || amount <= 0) return;
    Rgba& d = At(x, y);
    // Light on a transparent pixel shows as the light's own colour at that strength.
    const float keep = d.a;
    const float a = std::min(1.0f, keep + amount * (1 - keep));
    if (a <= 0) return;
    d.r = (d.r * keep + c.r * amount) / a;
    d.g = (d.g * keep + c.g * amount) / a;
    d.b = (d.b * keep + c.b * amount) / a;
    d.a = a;
}

void Image::Paint(int x0, int y0, int x1, int y1, const std::function<Rgba(float, float, float*)>& f) {
    x0 = std::max(0, x0);
    y0 = std::max(0, y0);
    x1 = std::min(width_, x1);
    y1 = std::min(height_, y1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            float cover = 0;
            const Rgba c = f(static_cast<float>(x) + 0.5f, static_cast<float>(y) + 0.5f, &cover);
            Blend(x, y, c, cover);
        }
}

void Image::BlendMask(const Mask& m, int ox, int oy, const std::function<Rgba(int, int)>& fill) {
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            const float c = m.At(x, y);
            if (c > 0) Blend(ox + x, oy + y, fill(ox + x, oy + y), c);
        }
}

void Image::GlowMask(const Mask& m, int ox, int oy, Rgba c, float strength) {
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) AddLight(ox + x, oy + y, c, std::min(1.0f, m.At(x, y) * strength));
}

void Image::Put(const Image& other, int ox, int oy) {
    for (int y = 0; y < other.height_; ++y)
        for (int x = 0; x < other.width_; ++x) {
            const int tx = ox + x, ty = oy + y;
            if (tx >= 0 && ty >= 0 && tx < width_ && ty < height_) At(tx, ty) = other.At(x, y);
        }
}

std::string Image::EncodePng() const {
    std::vector<uint8_t> bytes(static_cast<size_t>(width_) * height_ * 4);
    for (size_t i = 0; i < px_.size(); ++i) {
        bytes[i * 4 + 0] = ToByte(px_[i].r);
        bytes[i * 4 + 1] = ToByte(px_[i].g);
        bytes[i * 4 + 2] = ToByte(px_[i].b);
        bytes[i * 4 + 3] = ToByte(px_[i].a);
    }
    std::string out;
    stbi_write_png_to_func(
        [](void* context, void* data, int size) {
            static_cast<std::string*>(context)->append(static_cast<const char*>(data), static_cast<size_t>(size));
        },
        &out, width_, height_, 4, bytes.data(), width_ * 4);
    return out;
}
