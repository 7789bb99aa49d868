// The null backend: a real device that keeps every resource with its size and every state,
// fills render targets on Clear (when they are read), draws no pixels, and records every draw
// for tests. It keeps the draws of one frame only: the first clear or draw after a Present
// starts a new list, so a run of any length needs no more memory than its busiest frame.
#pragma once

#include <unordered_map>
#include <vector>

#include "platform/render/render_device.hpp"

namespace platform {

struct NullDraw {
    enum class Kind { Hud, Screen, Mesh } kind = Kind::Hud;
    PrimitiveType primitive = PrimitiveType::TriangleList;
    std::array<TextureId, kMaxRenderTargets> targets{};
    TextureId texture0 = 0;
    ProgramId program = 0;
    MeshBufferId mesh = 0;
    uint32_t firstIndex = 0, indexCount = 0;
    std::vector<HudVertex> hud;
    std::vector<ScreenVertex> screen;
    std::array<Matrix, static_cast<size_t>(TransformType::Count)> transforms{};
    std::array<uint32_t, static_cast<size_t>(RenderState::Count)> states{};
    // The program's uniform values at the draw, as one number; 0 unless asked for (see
    // DigestUniforms).
    uint64_t uniforms = 0;
};

// One number for everything a list of draws would put on the screen: kinds, targets, textures,
// programs, meshes, vertices, transforms, states and uniforms, in order. Two runs that draw the
// same give the same number; a restructuring of the drawing is checked with it frame by frame.
uint64_t DigestOfDraws(const std::vector<NullDraw>& draws);

class NullRenderDevice final : public RenderDevice {
public:
    NullRenderDevice(int backBufferWidth, int backBufferHeight);
    const char* BackendName() const override { return "null"; }

    // The draws since the frame began (after the last Present, up to and including the next).
    const std::vector<NullDraw>& draws() const { return draws_; }
    void ClearDraws() { draws_.clear(); }
    int presentCount() const { return presents_; }
    // Uniform values last set per (program, location), for tests of effect uploads.
    const std::vector<float>* UniformValue(ProgramId program, const std::string& name) const;
    // Every draw from now on records a digest of its program's uniform values (a little work per
    // draw, so only when a draw log wants it).
    void DigestUniforms(bool on) { digestUniforms_ = on; }
    // Make the next CreateProgram fail with this text (tests of compile errors).
    void FailNextProgram(std::string log) { failNextProgram_ = std::move(log); }

protected:
    bool DoCreateTexture(TextureId id, const TextureInfo& info) override;
    void DoUpdateTexture(TextureId id, int level, int width, int height, const uint8_t* rgba) override;
    void DoReleaseTexture(TextureId id) override;
    bool DoCreateProgram(ProgramId id, const std::string& vs, const std::string& fs, ProgramLog* log) override;
    UniformType DoGetUniformType(ProgramId id, const std::string& name) override;
    void DoReleaseProgram(ProgramId id) override;
    int DoUniformLocation(ProgramId id, const std::string& name) override;
    void DoSetUniform(ProgramId program, int location, UniformType type, const float* values, int stage) override;
    bool DoCreateMeshBuffer(MeshBufferId id, const MeshVertex* v, size_t vn, const uint32_t* i, size_t in) override;
    void DoReleaseMeshBuffer(MeshBufferId) override {}
    void DoClear(uint32_t flags, Color color, float z, uint32_t stencil) override;
    void DoDrawHud(PrimitiveType type, const HudVertex* v, int n) override;
    void DoDrawScreen(PrimitiveType type, const ScreenVertex* v, int n) override;
    void DoDrawMesh(MeshBufferId id, uint32_t first, uint32_t count) override;
    // The picture is not kept: headless runs always draw at full size.
    void DoCopyToBackBuffer(TextureId) override {}
    void DoPresent(int, int) override {
        ++presents_;
        presented_ = true;
    }
    std::vector<uint8_t> DoReadPixels(TextureId target, int width, int height) override;

private:
    NullDraw Snapshot(NullDraw::Kind kind) const;
    // A target's level 0 with its pending clear applied.
    std::vector<uint8_t>& Pixels(TextureId target);
    // Forgets the last frame's draws once something of the next frame happens.
    void BeginFrameIfPresented();

    std::unordered_map<TextureId, std::vector<uint8_t>> pixels_;  // level 0, RGBA
    std::vector<uint8_t> backBuffer_;
    std::unordered_map<TextureId, std::array<uint8_t, 4>> pendingFills_;  // the last clear, not yet applied
    struct Program {
        std::vector<std::string> uniforms;  // location = index
        std::vector<UniformType> types;
        std::unordered_map<int, std::vector<float>> values;
    };
    std::unordered_map<ProgramId, Program> programs_;
    std::vector<NullDraw> draws_;
    std::string failNextProgram_;
    int presents_ = 0;
    bool presented_ = false;
    bool digestUniforms_ = false;
};

}  // namespace platform
