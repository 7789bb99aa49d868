// 2D drawing in screen pixels (origin top-left, y down) through a 4x4 sprite transform. Begin
// saves the states it changes and switches to alpha blending, alpha test, no culling, clamped
// addressing; End draws what is queued and restores them. The depth states are left alone, so
// a sprite's z (from its transform) is tested against the 3D pass: z = 1 lies behind the world,
// z = 0 on top.
#pragma once

#include <vector>

#include "platform/render/render_device.hpp"

namespace platform {

struct RectI {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Left and top edges inside, right and bottom outside.
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const RectI&) const = default;
};

class SpriteBatch {
public:
    explicit SpriteBatch(RenderDevice& device) : device_(device) {}

    void Begin();
    void End();
    bool InBatch() const { return inBatch_; }
    void SetTransform(const Matrix& m);
    const Matrix& GetTransform() const { return transform_; }
    // Queues `source` (texel rectangle) of `texture` with its top-left at `position` in sprite
    // space, modulated by `color` (its alpha fades the picture).
    void Draw(TextureId texture, const RectI& source, Color color, Vec3 position = {});

private:
    void Flush();

    struct Saved {
        std::array<uint32_t, static_cast<size_t>(RenderState::Count)> states{};
        std::array<uint32_t, static_cast<size_t>(TextureStageState::Count)> stage{};
        uint32_t addressU = 0, addressV = 0;
        std::array<Matrix, static_cast<size_t>(TransformType::Count)> transforms{};
        TextureId texture = 0;
        ProgramId program = 0;
    };

    RenderDevice& device_;
    Matrix transform_ = Matrix::Identity();
    bool inBatch_ = false;
    Saved saved_;
    TextureId queuedTexture_ = 0;
    std::vector<HudVertex> queue_;
};

}  // namespace platform
