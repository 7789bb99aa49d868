// The sprite batch.
#include "platform/render/sprite_batch.hpp"

namespace platform {

void SpriteBatch::Begin() {
    if (inBatch_) return;
    inBatch_ = true;
    for (size_t i = 0; i < saved_.states.size(); ++i) saved_.states[i] = device_.GetRenderState(static_cast<RenderState>(i));
    for (size_t i = 0; i < saved_.stage.size(); ++i) saved_.stage[i] = device_.GetTextureStageState(static_cast<TextureStageState>(i));
    saved_.addressU = device_.GetSamplerState(SamplerState::AddressU);
    saved_.addressV = device_.GetSamplerState(SamplerState::AddressV);
    for (size_t i = 0; i < saved_.transforms.size(); ++i) saved_.transforms[i] = device_.GetTransform(static_cast<TransformType>(i));
    saved_.texture = device_.GetTexture(0);
    saved_.program = device_.GetProgram();

    device_.SetProgram(0);
    device_.SetRenderState(RenderState::AlphaBlendEnable, 1u);
    device_.SetRenderState(RenderState::BlendOp, BlendOp::Add);
    device_.SetRenderState(RenderState::SrcBlend, Blend::SrcAlpha);
    device_.SetRenderState(RenderState::DestBlend, Blend::InvSrcAlpha);
    device_.SetRenderState(RenderState::AlphaTestEnable, 1u);
    device_.SetRenderState(RenderState::AlphaFunc, CompareFunc::Greater);
    device_.SetRenderState(RenderState::AlphaRef, 0u);
    device_.SetRenderState(RenderState::CullMode, Cull::None);
    device_.SetRenderState(RenderState::Lighting, 0u);
    device_.SetTextureStageState(TextureStageState::ColorOp, TextureOp::Modulate);
    device_.SetTextureStageState(TextureStageState::ColorArg1, TextureArg::Texture);
    device_.SetTextureStageState(TextureStageState::ColorArg2, TextureArg::Diffuse);
    device_.SetTextureStageState(TextureStageState::AlphaOp, TextureOp::Modulate);
    device_.SetTextureStageState(TextureStageState::AlphaArg1, TextureArg::Texture);
    device_.SetTextureStageState(TextureStageState::AlphaArg2, TextureArg::Diffuse);
    device_.SetSamplerState(SamplerState::AddressU, TextureAddress::Clamp);
    device_.SetSamplerState(SamplerState::AddressV, TextureAddress::Clamp);
    // Pixels of the current render target to clip space, z kept as depth.
    int w = device_.BackBufferWidth(), h = device_.BackBufferHeight();
    if (const TextureInfo* rt = device_.GetTextureInfo(device_.GetRenderTarget(0))) {
        w = rt->width;
        h = rt->height;
    }
    device_.SetTransform(TransformType::View, Matrix::Identity());
    device_.SetTransform(TransformType::Projection, MatrixOrthoOffCenterLH(0, float(w), float(h), 0, 0, 1));
}

void SpriteBatch::End() {
    if (!inBatch_) return;
    Flush();
    inBatch_ = false;
    for (size_t i = 0; i < saved_.states.size(); ++i) device_.SetRenderState(static_cast<RenderState>(i), saved_.states[i]);
    for (size_t i = 0; i < saved_.stage.size(); ++i) device_.SetTextureStageState(static_cast<TextureStageState>(i), saved_.stage[i]);
    device_.SetSamplerState(SamplerState::AddressU, saved_.addressU);
    device_.SetSamplerState(SamplerState::AddressV, saved_.addressV);
    for (size_t i = 0; i < saved_.transforms.size(); ++i) device_.SetTransform(static_cast<TransformType>(i), saved_.transforms[i]);
    device_.SetTexture(0, device_.GetTextureInfo(saved_.texture) ? saved_.texture : 0);
    device_.SetProgram(saved_.program);
}

void SpriteBatch::SetTransform(const Matrix& m) {
    if (m == transform_) return;
    Flush();
    transform_ = m;
}

void SpriteBatch::Draw(TextureId texture, const RectI& src, Color color, Vec3 pos) {
    const TextureInfo* info = device_.GetTextureInfo(texture);
    if (!inBatch_ || !info || src.Width() <= 0 || src.Height() <= 0) return;
    // A colour of alpha 0 makes every texel fail the alpha test: nothing would be drawn, so
    // spare the rasteriser the whole quad (the title's veil before the fade starts).
    if ((color >> 24) == 0) return;
    if (texture != queuedTexture_) Flush();
    queuedTexture_ = texture;
    const float u0 = float(src.left) / info->width, u1 = float(src.right) / info->width;
    const float v0 = float(src.top) / info->height, v1 = float(src.bottom) / info->height;
    const float x0 = pos.x, y0 = pos.y, x1 = pos.x + src.Width(), y1 = pos.y + src.Height();
    const HudVertex quad[6] = {
        {x0, y0, pos.z, color, u0, v0}, {x1, y0, pos.z, color, u1, v0}, {x1, y1, pos.z, color, u1, v1},
        {x0, y0, pos.z, color, u0, v0}, {x1, y1, pos.z, color, u1, v1}, {x0, y1, pos.z, color, u0, v1},
    };
    queue_.insert(queue_.end(), quad, quad + 6);
}

void SpriteBatch::Flush() {
    if (queue_.empty()) return;
    device_.SetTransform(TransformType::World, transform_);
    device_.SetTexture(0, queuedTexture_);
    device_.DrawPrimitiveUP(PrimitiveType::TriangleList, queue_.data(), static_cast<int>(queue_.size()));
    queue_.clear();
}

}  // namespace platform
