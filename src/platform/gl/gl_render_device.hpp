// The OpenGL 3.3 backend. Surfaces are stored top row first with clip control set to an
// upper-left origin and depth 0..1; the back buffer is an off-screen target that Present blits
// into the window, flipped and scaled.
#pragma once

#include <epoxy/gl.h>

#include <array>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/gl/gl_fixed_function.hpp"
#include "platform/render/render_device.hpp"

namespace platform {

class Window;

class GlRenderDevice final : public RenderDevice {
public:
    // Takes over a current GL context on `window`; `context` is an SDL_GLContext.
    GlRenderDevice(Window& window, void* context, int backBufferWidth, int backBufferHeight);
    ~GlRenderDevice() override;
    const char* BackendName() const override { return "gl"; }
    bool Init(std::string* error);
    const std::string& rendererName() const { return rendererName_; }
    std::string RendererName() const override { return rendererName_; }
    void SetPresentOverlay(std::function<void()> draw) override { overlay_ = std::move(draw); }
    void Finish() override { glFinish(); }

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
    void DoReleaseMeshBuffer(MeshBufferId id) override;
    void DoClear(uint32_t flags, Color color, float z, uint32_t stencil) override;
    void DoDrawHud(PrimitiveType type, const HudVertex* v, int n) override;
    void DoDrawScreen(PrimitiveType type, const ScreenVertex* v, int n) override;
    void DoDrawMesh(MeshBufferId id, uint32_t first, uint32_t count) override;
    void DoPresent(int drawableWidth, int drawableHeight) override;
    void DoCopyToBackBuffer(TextureId source) override;
    std::vector<uint8_t> DoReadPixels(TextureId target, int width, int height) override;

private:
    struct MeshBuffer {
        GLuint vao = 0, vbo = 0, ibo = 0;
    };
    void BindTargets();
    void ApplyStates(bool fixedFunction);
    void ApplySamplers();
    void ApplyFixedFunction(bool screenSpace);
    void StreamDraw(PrimitiveType type, const void* data, int n, bool screenSpace);
    GLuint TextureName(TextureId id) const;

    Window& window_;
    void* context_;
    std::string rendererName_;
    GLuint backColor_ = 0, depthStencil_ = 0, drawFbo_ = 0, readFbo_ = 0;
    GLuint streamVao_ = 0, streamVbo_ = 0;
    std::array<GLuint, kMaxTextureStages> samplers_{};
    // What the draw framebuffer and the samplers were last given. Every draw sets them; the
    // driver is told only of a change (a software renderer pays for each one it is told of).
    struct Attachments {
        std::array<GLuint, kMaxRenderTargets> colors{};
        GLuint depth = 0;
        bool operator==(const Attachments&) const = default;
    };
    std::optional<Attachments> attached_;  // none: not known (a texture was deleted meanwhile)
    struct SamplerParams {
        GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
        float bias = 0.0f;
        bool operator==(const SamplerParams&) const = default;
    };
    std::array<std::optional<SamplerParams>, kMaxTextureStages> samplerParams_{};
    GlFixedFunction fixed_;
    std::unordered_map<TextureId, GLuint> textures_;
    std::unordered_map<TextureId, GLuint> depthOf_;  // the depth buffers of targets with their own
    std::unordered_map<ProgramId, GLuint> programs_;
    std::unordered_map<MeshBufferId, MeshBuffer> meshes_;
    std::function<void()> overlay_;
};

// Creates the device on the window: a hardware context first, then Mesa's software renderer.
// Needs OpenGL 3.3 core with clip control; null and a reason otherwise.
std::unique_ptr<RenderDevice> CreateGlRenderDevice(Window& window, int backBufferWidth, int backBufferHeight,
                                                   std::string* error);

}  // namespace platform
