// Backend-independent half of the render device.
#include "platform/render/render_device.hpp"

#include <cstdio>
#include <cstring>

namespace platform {

namespace {
int MipLevels(int w, int h) {
    int levels = 1;
    while (w > 1 || h > 1) {
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
        ++levels;
    }
    return levels;
}
}  // namespace

RenderDevice::RenderDevice(int backBufferWidth, int backBufferHeight)
    : backBufferWidth_(backBufferWidth), backBufferHeight_(backBufferHeight) {
    // A fresh device's own defaults; the game puts its defaults on top of these.
    auto rs = [this](RenderState s, uint32_t v) { renderStates_[Index(s)] = v; };
    rs(RenderState::ZEnable, 1);
    rs(RenderState::ZWriteEnable, 1);
    rs(RenderState::ZFunc, static_cast<uint32_t>(CompareFunc::LessEqual));
    rs(RenderState::StencilEnable, 0);
    rs(RenderState::AlphaBlendEnable, 0);
    rs(RenderState::BlendOp, static_cast<uint32_t>(BlendOp::Add));
    rs(RenderState::SrcBlend, static_cast<uint32_t>(Blend::One));
    rs(RenderState::DestBlend, static_cast<uint32_t>(Blend::Zero));
    rs(RenderState::SeparateAlphaBlendEnable, 0);
    rs(RenderState::BlendOpAlpha, static_cast<uint32_t>(BlendOp::Add));
    rs(RenderState::SrcBlendAlpha, static_cast<uint32_t>(Blend::One));
    rs(RenderState::DestBlendAlpha, static_cast<uint32_t>(Blend::Zero));
    rs(RenderState::CullMode, static_cast<uint32_t>(Cull::CCW));
    rs(RenderState::Lighting, 1);
    rs(RenderState::NormalizeNormals, 0);
    rs(RenderState::ShadeMode, static_cast<uint32_t>(ShadeMode::Gouraud));
    rs(RenderState::SpecularEnable, 0);
    rs(RenderState::FogEnable, 0);
    rs(RenderState::AlphaTestEnable, 0);
    rs(RenderState::AlphaRef, 0);
    rs(RenderState::AlphaFunc, static_cast<uint32_t>(CompareFunc::Always));
    rs(RenderState::ColorWriteEnable, 0xF);
    auto ts = [this](TextureStageState s, uint32_t v) { stageStates_[Index(s)] = v; };
    ts(TextureStageState::ColorOp, static_cast<uint32_t>(TextureOp::Modulate));
    ts(TextureStageState::ColorArg1, static_cast<uint32_t>(TextureArg::Texture));
    ts(TextureStageState::ColorArg2, static_cast<uint32_t>(TextureArg::Current));
    ts(TextureStageState::AlphaOp, static_cast<uint32_t>(TextureOp::SelectArg1));
    ts(TextureStageState::AlphaArg1, static_cast<uint32_t>(TextureArg::Texture));
    ts(TextureStageState::AlphaArg2, static_cast<uint32_t>(TextureArg::Current));
    auto ss = [this](SamplerState s, uint32_t v) { samplerStates_[Index(s)] = v; };
    ss(SamplerState::MinFilter, static_cast<uint32_t>(TextureFilter::Point));
    ss(SamplerState::MagFilter, static_cast<uint32_t>(TextureFilter::Point));
    ss(SamplerState::MipFilter, static_cast<uint32_t>(TextureFilter::None));
    ss(SamplerState::AddressU, static_cast<uint32_t>(TextureAddress::Wrap));
    ss(SamplerState::AddressV, static_cast<uint32_t>(TextureAddress::Wrap));
    ss(SamplerState::MipLodBias, 0);
    for (auto& t : transforms_) t = Matrix::Identity();
}

void RenderDevice::Error(std::string message) {
    std::fprintf(stderr, "render device (%s): %s\n", BackendName(), message.c_str());
    errors_.push_back(std::move(message));
}

void RenderDevice::SetRenderState(RenderState state, uint32_t value) {
    if (state >= RenderState::Count) return Error("unknown render state");
    renderStates_[Index(state)] = value;
}

void RenderDevice::SetLight(int index, const Light& light) {
    if (index < 0 || index >= kMaxLights) return Error("light index out of range");
    lights_[index] = light;
}

Light RenderDevice::GetLight(int index) const {
    if (index < 0 || index >= kMaxLights) return {};
    return lights_[index];
}

void RenderDevice::LightEnable(int index, bool enable) {
    if (index < 0 || index >= kMaxLights) return Error("light index out of range");
    lightEnabled_[index] = enable;
}

bool RenderDevice::IsLightEnabled(int index) const {
    return index >= 0 && index < kMaxLights && lightEnabled_[index];
}

bool RenderDevice::CheckTexture(TextureId id, const char* what) {
    if (id == 0 || textures_.count(id)) return true;
    Error(std::string(what) + ": texture " + std::to_string(id) + " is not alive");
    return false;
}

void RenderDevice::SetTexture(int stage, TextureId texture) {
    if (stage < 0 || stage >= kMaxTextureStages) return Error("texture stage out of range");
    if (!CheckTexture(texture, "SetTexture")) texture = 0;
    stageTextures_[stage] = texture;
}

TextureId RenderDevice::GetTexture(int stage) const {
    return stage >= 0 && stage < kMaxTextureStages ? stageTextures_[stage] : 0;
}

TextureId RenderDevice::CreateTexture(int width, int height, int levels, bool renderTarget, bool ownDepth) {
    if (width <= 0 || height <= 0 || width > 16384 || height > 16384) {
        Error("CreateTexture: bad size " + std::to_string(width) + "x" + std::to_string(height));
        return 0;
    }
    int full = MipLevels(width, height);
    TextureInfo info{width, height, levels <= 0 || levels > full ? full : levels, renderTarget, renderTarget && ownDepth};
    TextureId id = nextId_++;
    if (!DoCreateTexture(id, info)) return 0;
    textures_[id] = info;
    return id;
}

void RenderDevice::UpdateTexture(TextureId texture, int level, const uint8_t* rgba) {
    auto it = textures_.find(texture);
    if (it == textures_.end()) return Error("UpdateTexture: texture " + std::to_string(texture) + " is not alive");
    if (level < 0 || level >= it->second.levels || !rgba) return Error("UpdateTexture: bad level or data");
    int w = it->second.width, h = it->second.height;
    for (int i = 0; i < level; ++i) {
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    DoUpdateTexture(texture, level, w, h, rgba);
}

void RenderDevice::ReleaseTexture(TextureId texture) {
    if (texture == 0) return;
    if (!textures_.erase(texture)) return Error("ReleaseTexture: texture " + std::to_string(texture) + " released twice or never made");
    for (auto& t : stageTextures_)
        if (t == texture) t = 0;
    for (int i = 0; i < kMaxRenderTargets; ++i)
        if (renderTargets_[i] == texture) renderTargets_[i] = 0;
    DoReleaseTexture(texture);
}

const TextureInfo* RenderDevice::GetTextureInfo(TextureId texture) const {
    auto it = textures_.find(texture);
    return it == textures_.end() ? nullptr : &it->second;
}

ProgramId RenderDevice::CreateProgram(const std::string& vs, const std::string& fs, ProgramLog* log) {
    ProgramId id = nextId_++;
    ProgramLog text;
    if (!DoCreateProgram(id, vs, fs, &text)) {
        if (log) *log = text;
        return 0;
    }
    programs_[id] = true;
    return id;
}

void RenderDevice::ReleaseProgram(ProgramId program) {
    if (program == 0) return;
    if (!programs_.erase(program)) return Error("ReleaseProgram: program released twice or never made");
    if (program_ == program) program_ = 0;
    DoReleaseProgram(program);
}

int RenderDevice::UniformLocation(ProgramId program, const std::string& name) {
    if (!programs_.count(program)) return -1;
    return DoUniformLocation(program, name);
}

UniformType RenderDevice::GetUniformType(ProgramId program, const std::string& name) {
    if (!programs_.count(program)) return UniformType::Unknown;
    return DoGetUniformType(program, name);
}

void RenderDevice::SetProgram(ProgramId program) {
    if (program != 0 && !programs_.count(program)) {
        Error("SetProgram: program is not alive");
        program = 0;
    }
    program_ = program;
}

void RenderDevice::SetUniform(int location, UniformType type, const float* values) {
    if (location < 0 || program_ == 0 || !values) return;
    DoSetUniform(program_, location, type, values, 0);
}

void RenderDevice::SetUniformSampler(int location, int stage) {
    if (location < 0 || program_ == 0 || stage < 0 || stage >= kMaxTextureStages) return;
    DoSetUniform(program_, location, UniformType::Sampler, nullptr, stage);
}

MeshBufferId RenderDevice::CreateMeshBuffer(const MeshVertex* v, size_t vn, const uint32_t* idx, size_t in) {
    if (!v || !idx || vn == 0 || in == 0) return 0;
    for (size_t i = 0; i < in; ++i)
        if (idx[i] >= vn) {
            Error("CreateMeshBuffer: index out of range");
            return 0;
        }
    MeshBufferId id = nextId_++;
    if (!DoCreateMeshBuffer(id, v, vn, idx, in)) return 0;
    meshBuffers_[id] = in;
    return id;
}

void RenderDevice::ReleaseMeshBuffer(MeshBufferId buffer) {
    if (buffer == 0) return;
    if (!meshBuffers_.erase(buffer)) return Error("ReleaseMeshBuffer: buffer released twice or never made");
    DoReleaseMeshBuffer(buffer);
}

void RenderDevice::SetRenderTarget(int index, TextureId target) {
    if (index < 0 || index >= kMaxRenderTargets) return Error("render target index out of range");
    if (target != 0) {
        auto it = textures_.find(target);
        if (it == textures_.end()) return Error("SetRenderTarget: texture is not alive");
        if (!it->second.renderTarget) return Error("SetRenderTarget: texture is not a render target");
    }
    renderTargets_[index] = target;
    Trace("SetRenderTarget " + std::to_string(index) + " " + std::to_string(target));
}

void RenderDevice::TargetSize(TextureId target, int* width, int* height) const {
    const TextureInfo* info = GetTextureInfo(target);
    *width = info ? info->width : backBufferWidth_;
    *height = info ? info->height : backBufferHeight_;
}

void RenderDevice::Clear(uint32_t flags, Color color, float z, uint32_t stencil) {
    Trace("Clear " + std::to_string(flags));
    DoClear(flags, color, z, stencil);
}

bool RenderDevice::BeginScene() {
    if (inScene_) {
        Error("BeginScene inside a scene");
        return false;
    }
    inScene_ = true;
    Trace("BeginScene");
    return true;
}

void RenderDevice::EndScene() {
    if (!inScene_) return Error("EndScene without BeginScene");
    inScene_ = false;
    Trace("EndScene");
}

void RenderDevice::DrawPrimitiveUP(PrimitiveType type, const HudVertex* v, int n) {
    if (!inScene_) return Error("draw outside BeginScene/EndScene");
    if (!v || n < 3) return;
    Trace("DrawHud");
    DoDrawHud(type, v, n);
}

void RenderDevice::DrawPrimitiveUP(PrimitiveType type, const ScreenVertex* v, int n) {
    if (!inScene_) return Error("draw outside BeginScene/EndScene");
    if (!v || n < 3) return;
    Trace("DrawScreen");
    DoDrawScreen(type, v, n);
}

void RenderDevice::DrawMesh(MeshBufferId buffer, uint32_t first, uint32_t count) {
    if (!inScene_) return Error("draw outside BeginScene/EndScene");
    auto it = meshBuffers_.find(buffer);
    if (it == meshBuffers_.end()) return Error("DrawMesh: buffer is not alive");
    if (first > it->second || count > it->second - first) return Error("DrawMesh: index range out of bounds");
    if (count == 0) return;
    Trace("DrawMesh");
    DoDrawMesh(buffer, first, count);
}

void RenderDevice::Present(int drawableWidth, int drawableHeight) {
    if (inScene_) Error("Present inside a scene");
    Trace("Present");
    DoPresent(drawableWidth, drawableHeight);
}

void RenderDevice::CopyToBackBuffer(TextureId source) {
    const TextureInfo* info = GetTextureInfo(source);
    if (!info || !info->ownDepth) return Error("CopyToBackBuffer: not a render target with its own depth");
    if (renderTargets_[0] != kBackBuffer) return Error("CopyToBackBuffer: render target 0 is not the back buffer");
    for (int i = 1; i < kMaxRenderTargets; ++i)
        if (renderTargets_[i]) return Error("CopyToBackBuffer: another render target is set");
    Trace("CopyToBackBuffer " + std::to_string(source));
    DoCopyToBackBuffer(source);
}

std::vector<uint8_t> RenderDevice::ReadPixels(TextureId target) {
    if (target != kBackBuffer && !GetTextureInfo(target)) {
        Error("ReadPixels: texture is not alive");
        return {};
    }
    int w = 0, h = 0;
    TargetSize(target, &w, &h);
    return DoReadPixels(target, w, h);
}

}  // namespace platform
