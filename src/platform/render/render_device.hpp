// The render device: a Direct3D 9 style fixed-function device over a backend. Everything that
// does not depend on the backend lives here, written once: state tracking with the device's
// defaults, transforms, light 0, resource handles with their sizes, render-target bindings and
// misuse checks. A backend (gl/, null/) creates and destroys resources, applies state, draws
// and presents.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "math/math.hpp"
#include "platform/types/render_types.hpp"

namespace platform {

using TextureId = uint32_t;     // 0: no texture
using ProgramId = uint32_t;     // 0: the built-in fixed-function program
using MeshBufferId = uint32_t;  // 0: none

// Render target 0 bound to this id is the off-screen back buffer.
constexpr TextureId kBackBuffer = 0;
constexpr int kMaxRenderTargets = 4;
constexpr int kMaxTextureStages = 8;
constexpr int kMaxLights = 8;

enum ClearFlag : uint32_t { kClearTarget = 1, kClearZBuffer = 2, kClearStencil = 4 };

struct TextureInfo {
    int width = 0, height = 0, levels = 1;
    bool renderTarget = false;
    // A render target with its own depth and stencil buffer of its size, used while it is
    // render target 0 (others share the back buffer's).
    bool ownDepth = false;
};

enum class UniformType : uint8_t { Float, Vec2, Vec3, Vec4, Mat4, Sampler, Unknown };

// What the shader compiler said, per stage, when a program failed.
struct ProgramLog {
    std::string vertex, fragment, link;
    std::string All() const { return vertex + fragment + link; }
};

class RenderDevice {
public:
    RenderDevice(int backBufferWidth, int backBufferHeight);
    virtual ~RenderDevice() = default;
    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;

    virtual const char* BackendName() const = 0;
    int BackBufferWidth() const { return backBufferWidth_; }
    int BackBufferHeight() const { return backBufferHeight_; }

    // ---- state: stays until changed ----
    void SetRenderState(RenderState state, uint32_t value);
    template <typename E>
    void SetRenderState(RenderState state, E value) { SetRenderState(state, static_cast<uint32_t>(value)); }
    uint32_t GetRenderState(RenderState state) const { return renderStates_[Index(state)]; }
    void SetTextureStageState(TextureStageState state, uint32_t value) { stageStates_[Index(state)] = value; }
    template <typename E>
    void SetTextureStageState(TextureStageState state, E value) { SetTextureStageState(state, static_cast<uint32_t>(value)); }
    uint32_t GetTextureStageState(TextureStageState state) const { return stageStates_[Index(state)]; }
    void SetSamplerState(SamplerState state, uint32_t value) { samplerStates_[Index(state)] = value; }
    template <typename E>
    void SetSamplerState(SamplerState state, E value) { SetSamplerState(state, static_cast<uint32_t>(value)); }
    uint32_t GetSamplerState(SamplerState state) const { return samplerStates_[Index(state)]; }
    void SetTransform(TransformType type, const Matrix& m) { transforms_[Index(type)] = m; }
    const Matrix& GetTransform(TransformType type) const { return transforms_[Index(type)]; }
    void SetLight(int index, const Light& light);
    Light GetLight(int index) const;
    void LightEnable(int index, bool enable);
    bool IsLightEnabled(int index) const;
    // Binds a texture to a sampler stage (0 for fixed-function drawing; effects use more).
    void SetTexture(int stage, TextureId texture);
    TextureId GetTexture(int stage) const;

    // ---- resources ----
    // A texture of `levels` mip levels (0: the full chain), RGBA8. Returns 0 on failure.
    TextureId CreateTexture(int width, int height, int levels, bool renderTarget, bool ownDepth = false);
    // Replaces one mip level with RGBA8 pixels, top row first, of that level's size.
    void UpdateTexture(TextureId texture, int level, const uint8_t* rgba);
    void ReleaseTexture(TextureId texture);
    // Null for an id that does not name a live texture.
    const TextureInfo* GetTextureInfo(TextureId texture) const;
    size_t LiveTextureCount() const { return textures_.size(); }

    // Compiles a program; 0 and the compiler's text in *log on failure.
    ProgramId CreateProgram(const std::string& vertexSource, const std::string& fragmentSource, ProgramLog* log);
    void ReleaseProgram(ProgramId program);
    // -1 when the program has no active uniform of that name.
    int UniformLocation(ProgramId program, const std::string& name);
    // The declared type of a uniform; Unknown when there is none of that name.
    UniformType GetUniformType(ProgramId program, const std::string& name);
    // The program the next draws use; 0 returns to fixed function.
    void SetProgram(ProgramId program);
    ProgramId GetProgram() const { return program_; }
    // Uniform values for the current program. Matrices go as stored (row-major, row vectors).
    void SetUniform(int location, UniformType type, const float* values);
    void SetUniformSampler(int location, int stage);

    // Static geometry for meshes.
    MeshBufferId CreateMeshBuffer(const MeshVertex* vertices, size_t vertexCount, const uint32_t* indices,
                                  size_t indexCount);
    void ReleaseMeshBuffer(MeshBufferId buffer);

    // ---- frame ----
    // index 0 with kBackBuffer restores the back buffer; other indices with 0 unbind.
    void SetRenderTarget(int index, TextureId target);
    TextureId GetRenderTarget(int index) const { return renderTargets_[index]; }
    void Clear(uint32_t flags, Color color, float z, uint32_t stencil);
    bool BeginScene();
    void EndScene();
    bool InScene() const { return inScene_; }
    // Fixed function: world x view x projection, lighting off, stage 0 texture x diffuse.
    void DrawPrimitiveUP(PrimitiveType type, const HudVertex* vertices, int vertexCount);
    // Pre-transformed vertices in pixels of the current render target 0.
    void DrawPrimitiveUP(PrimitiveType type, const ScreenVertex* vertices, int vertexCount);
    // Triangles of a mesh buffer with the current program.
    void DrawMesh(MeshBufferId buffer, uint32_t firstIndex, uint32_t indexCount);
    // Shows the back buffer in the window, scaled into the window's drawable keeping its shape.
    // The size is the drawable's in pixels, which a scaled display makes larger than the
    // window's size in points.
    void Present(int drawableWidth, int drawableHeight);
    // A picture drawn smaller (a render target with its own depth) stretched over the whole back
    // buffer with filtering, its depth and stencil with it, so what is drawn next is hidden
    // behind it as behind a picture drawn at full size. Render target 0 must be the back buffer
    // and no other target set.
    void CopyToBackBuffer(TextureId source);
    // The name the driver gives its renderer ("llvmpipe (LLVM 15.0.6, 256 bits)"); the backend's
    // name where there is no driver.
    virtual std::string RendererName() const { return BackendName(); }
    // Something drawn straight into the window at Present, after the picture and before it is
    // shown, over the whole drawable (the developer overlay); null for nothing. The device sets
    // all of its own state again before its next draw.
    virtual void SetPresentOverlay(std::function<void()> draw) { (void)draw; }
    // Waits until everything drawn so far is done (benchmarks; the game never needs it).
    virtual void Finish() {}
    // RGBA8, top row first, of a render target (kBackBuffer: the back buffer). Tests read it.
    std::vector<uint8_t> ReadPixels(TextureId target);

    // Misuse found so far (a release of a dead handle, drawing outside a scene, ...).
    const std::vector<std::string>& errors() const { return errors_; }
    void ClearErrors() { errors_.clear(); }
    // While set, the frame-level calls (targets, clears, scenes, draws, present) are written
    // into this list as short lines, so tests can check the order of a frame.
    void SetTrace(std::vector<std::string>* trace) { trace_ = trace; }

protected:
    // Size of a render target's level 0; the back buffer for kBackBuffer.
    void TargetSize(TextureId target, int* width, int* height) const;
    void Error(std::string message);

    virtual bool DoCreateTexture(TextureId id, const TextureInfo& info) = 0;
    virtual void DoUpdateTexture(TextureId id, int level, int width, int height, const uint8_t* rgba) = 0;
    virtual void DoReleaseTexture(TextureId id) = 0;
    virtual bool DoCreateProgram(ProgramId id, const std::string& vs, const std::string& fs, ProgramLog* log) = 0;
    virtual UniformType DoGetUniformType(ProgramId id, const std::string& name) = 0;
    virtual void DoReleaseProgram(ProgramId id) = 0;
    virtual int DoUniformLocation(ProgramId id, const std::string& name) = 0;
    virtual void DoSetUniform(ProgramId program, int location, UniformType type, const float* values, int stage) = 0;
    virtual bool DoCreateMeshBuffer(MeshBufferId id, const MeshVertex* v, size_t vn, const uint32_t* i, size_t in) = 0;
    virtual void DoReleaseMeshBuffer(MeshBufferId id) = 0;
    virtual void DoClear(uint32_t flags, Color color, float z, uint32_t stencil) = 0;
    virtual void DoDrawHud(PrimitiveType type, const HudVertex* v, int n) = 0;
    virtual void DoDrawScreen(PrimitiveType type, const ScreenVertex* v, int n) = 0;
    virtual void DoDrawMesh(MeshBufferId id, uint32_t first, uint32_t count) = 0;
    virtual void DoPresent(int drawableWidth, int drawableHeight) = 0;
    virtual void DoCopyToBackBuffer(TextureId source) = 0;
    virtual std::vector<uint8_t> DoReadPixels(TextureId target, int width, int height) = 0;

    template <typename E>
    static constexpr size_t Index(E e) { return static_cast<size_t>(e); }

    std::array<uint32_t, static_cast<size_t>(RenderState::Count)> renderStates_{};
    std::array<uint32_t, static_cast<size_t>(TextureStageState::Count)> stageStates_{};
    std::array<uint32_t, static_cast<size_t>(SamplerState::Count)> samplerStates_{};
    std::array<Matrix, static_cast<size_t>(TransformType::Count)> transforms_{};
    std::array<Light, kMaxLights> lights_{};
    std::array<bool, kMaxLights> lightEnabled_{};
    std::array<TextureId, kMaxTextureStages> stageTextures_{};
    std::array<TextureId, kMaxRenderTargets> renderTargets_{};
    ProgramId program_ = 0;

private:
    bool CheckTexture(TextureId id, const char* what);

    int backBufferWidth_, backBufferHeight_;
    std::unordered_map<TextureId, TextureInfo> textures_;
    std::unordered_map<ProgramId, bool> programs_;
    std::unordered_map<MeshBufferId, size_t> meshBuffers_;  // index count
    uint32_t nextId_ = 1;  // one sequence for every kind, so handles of different kinds never meet
    bool inScene_ = false;
    std::vector<std::string> errors_;
    std::vector<std::string>* trace_ = nullptr;
    void Trace(const std::string& line) {
        if (trace_) trace_->push_back(line);
    }
};

}  // namespace platform
