// The OpenGL 3.3 backend.
#include "platform/gl/gl_render_device.hpp"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/render/letterbox.hpp"
#include "platform/window/window.hpp"

namespace platform {

namespace {

GLenum GlBlend(uint32_t b) {
    switch (static_cast<Blend>(b)) {
        case Blend::Zero: return GL_ZERO;
        case Blend::One: return GL_ONE;
        case Blend::SrcColor: return GL_SRC_COLOR;
        case Blend::InvSrcColor: return GL_ONE_MINUS_SRC_COLOR;
        case Blend::SrcAlpha: return GL_SRC_ALPHA;
        case Blend::InvSrcAlpha: return GL_ONE_MINUS_SRC_ALPHA;
        case Blend::DestAlpha: return GL_DST_ALPHA;
        case Blend::InvDestAlpha: return GL_ONE_MINUS_DST_ALPHA;
        case Blend::DestColor: return GL_DST_COLOR;
        case Blend::InvDestColor: return GL_ONE_MINUS_DST_COLOR;
    }
    return GL_ONE;
}

GLenum GlBlendOp(uint32_t op) {
    switch (static_cast<BlendOp>(op)) {
        case BlendOp::Subtract: return GL_FUNC_SUBTRACT;
        case BlendOp::RevSubtract: return GL_FUNC_REVERSE_SUBTRACT;
        case BlendOp::Min: return GL_MIN;
        case BlendOp::Max: return GL_MAX;
        default: return GL_FUNC_ADD;
    }
}

GLenum GlCompare(uint32_t f) {
    switch (static_cast<CompareFunc>(f)) {
        case CompareFunc::Never: return GL_NEVER;
        case CompareFunc::Less: return GL_LESS;
        case CompareFunc::Equal: return GL_EQUAL;
        case CompareFunc::LessEqual: return GL_LEQUAL;
        case CompareFunc::Greater: return GL_GREATER;
        case CompareFunc::NotEqual: return GL_NOTEQUAL;
        case CompareFunc::GreaterEqual: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

GLenum GlPrimitive(PrimitiveType t) {
    switch (t) {
        case PrimitiveType::TriangleStrip: return GL_TRIANGLE_STRIP;
        case PrimitiveType::TriangleFan: return GL_TRIANGLE_FAN;
        default: return GL_TRIANGLES;
    }
}

GLint GlAddress(uint32_t a) {
    switch (static_cast<TextureAddress>(a)) {
        case TextureAddress::Mirror: return GL_MIRRORED_REPEAT;
        case TextureAddress::Clamp: return GL_CLAMP_TO_EDGE;
        default: return GL_REPEAT;
    }
}

}  // namespace

GlRenderDevice::GlRenderDevice(Window& window, void* context, int w, int h)
    : RenderDevice(w, h), window_(window), context_(context) {}

GlRenderDevice::~GlRenderDevice() {
    for (auto& [id, name] : textures_) glDeleteTextures(1, &name);
    for (auto& [id, name] : programs_) glDeleteProgram(name);
    for (auto& [id, m] : meshes_) {
        glDeleteVertexArrays(1, &m.vao);
        glDeleteBuffers(1, &m.vbo);
        glDeleteBuffers(1, &m.ibo);
    }
    fixed_.Destroy();
    glDeleteSamplers(kMaxTextureStages, samplers_.data());
    glDeleteVertexArrays(1, &streamVao_);
    glDeleteBuffers(1, &streamVbo_);
    glDeleteFramebuffers(1, &drawFbo_);
    glDeleteFramebuffers(1, &readFbo_);
    glDeleteTextures(1, &backColor_);
    glDeleteRenderbuffers(1, &depthStencil_);
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
}

bool GlRenderDevice::Init(std::string* error) {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    rendererName_ = renderer ? renderer : "unknown";
    glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);

    glGenTextures(1, &backColor_);
    glBindTexture(GL_TEXTURE_2D, backColor_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, BackBufferWidth(), BackBufferHeight(), 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glGenRenderbuffers(1, &depthStencil_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthStencil_);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, BackBufferWidth(), BackBufferHeight());
    glGenFramebuffers(1, &drawFbo_);
    glGenFramebuffers(1, &readFbo_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, drawFbo_);
    glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
    BindTargets();
    if (glCheckFramebufferStatus(GL_DRAW_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        *error = "the off-screen back buffer is incomplete";
        return false;
    }
    glGenSamplers(kMaxTextureStages, samplers_.data());
    glGenVertexArrays(1, &streamVao_);
    glGenBuffers(1, &streamVbo_);
    std::string log;
    if (!fixed_.Create(&log)) {
        *error = "built-in shader: " + log;
        return false;
    }
    return true;
}

GLuint GlRenderDevice::TextureName(TextureId id) const {
    auto it = textures_.find(id);
    return it == textures_.end() ? 0 : it->second;
}

bool GlRenderDevice::DoCreateTexture(TextureId id, const TextureInfo& info) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    int w = info.width, h = info.height;
    for (int level = 0; level < info.levels; ++level) {
        glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        w = std::max(1, w / 2);
        h = std::max(1, h / 2);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, info.levels - 1);
    if (info.renderTarget) {
        // A new target starts black and transparent, not with whatever memory held.
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, readFbo_);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, name, 0);
        glDrawBuffer(GL_COLOR_ATTACHMENT0);
        glDisable(GL_SCISSOR_TEST);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    }
    textures_[id] = name;
    if (info.ownDepth) {
        GLuint depth = 0;
        glGenRenderbuffers(1, &depth);
        glBindRenderbuffer(GL_RENDERBUFFER, depth);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, info.width, info.height);
        depthOf_[id] = depth;
    }
    return true;
}

void GlRenderDevice::DoUpdateTexture(TextureId id, int level, int width, int height, const uint8_t* rgba) {
    glBindTexture(GL_TEXTURE_2D, TextureName(id));
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void GlRenderDevice::DoReleaseTexture(TextureId id) {
    // A deleted texture leaves the framebuffer, and its name may come back for another.
    attached_.reset();
    GLuint name = TextureName(id);
    glDeleteTextures(1, &name);
    textures_.erase(id);
    if (const auto depth = depthOf_.find(id); depth != depthOf_.end()) {
        // Not left attached to the draw framebuffer after its texture is gone.
        if (renderTargets_[0] == id) {
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, drawFbo_);
            glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depthStencil_);
        }
        glDeleteRenderbuffers(1, &depth->second);
        depthOf_.erase(depth);
    }
}

bool GlRenderDevice::DoCreateProgram(ProgramId id, const std::string& vs, const std::string& fs, ProgramLog* log) {
    GLuint program = CompileProgram(vs, fs, log);
    if (!program) return false;
    programs_[id] = program;
    return true;
}

void GlRenderDevice::DoReleaseProgram(ProgramId id) {
    glDeleteProgram(programs_[id]);
    programs_.erase(id);
}

UniformType GlRenderDevice::DoGetUniformType(ProgramId id, const std::string& name) {
    GLuint program = programs_[id];
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_UNIFORMS, &count);
    for (GLint i = 0; i < count; ++i) {
        char buf[256];
        GLsizei len = 0;
        GLint size = 0;
        GLenum type = 0;
        glGetActiveUniform(program, GLuint(i), sizeof buf, &len, &size, &type, buf);
        if (name != std::string(buf, size_t(len))) continue;
        switch (type) {
            case GL_FLOAT: return UniformType::Float;
            case GL_FLOAT_VEC2: return UniformType::Vec2;
            case GL_FLOAT_VEC3: return UniformType::Vec3;
            case GL_FLOAT_VEC4: return UniformType::Vec4;
            case GL_FLOAT_MAT4: return UniformType::Mat4;
            case GL_SAMPLER_2D: return UniformType::Sampler;
            default: return UniformType::Unknown;
        }
    }
    return UniformType::Unknown;
}

int GlRenderDevice::DoUniformLocation(ProgramId id, const std::string& name) {
    return glGetUniformLocation(programs_[id], name.c_str());
}

void GlRenderDevice::DoSetUniform(ProgramId program, int location, UniformType type, const float* v, int stage) {
    glUseProgram(programs_[program]);
    switch (type) {
        case UniformType::Float: glUniform1fv(location, 1, v); break;
        case UniformType::Vec2: glUniform2fv(location, 1, v); break;
        case UniformType::Vec3: glUniform3fv(location, 1, v); break;
        case UniformType::Vec4: glUniform4fv(location, 1, v); break;
        case UniformType::Mat4: glUniformMatrix4fv(location, 1, GL_FALSE, v); break;
        case UniformType::Sampler: glUniform1i(location, stage); break;
        default: break;
    }
}

bool GlRenderDevice::DoCreateMeshBuffer(MeshBufferId id, const MeshVertex* v, size_t vn, const uint32_t* idx, size_t in) {
    MeshBuffer m;
    glGenVertexArrays(1, &m.vao);
    glGenBuffers(1, &m.vbo);
    glGenBuffers(1, &m.ibo);
    glBindVertexArray(m.vao);
    glBindBuffer(GL_ARRAY_BUFFER, m.vbo);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vn * sizeof(MeshVertex)), v, GL_STATIC_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, m.ibo);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(in * sizeof(uint32_t)), idx, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), reinterpret_cast<void*>(offsetof(MeshVertex, position)));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), reinterpret_cast<void*>(offsetof(MeshVertex, normal)));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(MeshVertex), reinterpret_cast<void*>(offsetof(MeshVertex, u)));
    glBindVertexArray(0);
    meshes_[id] = m;
    return true;
}

void GlRenderDevice::DoReleaseMeshBuffer(MeshBufferId id) {
    MeshBuffer& m = meshes_[id];
    glDeleteVertexArrays(1, &m.vao);
    glDeleteBuffers(1, &m.vbo);
    glDeleteBuffers(1, &m.ibo);
    meshes_.erase(id);
}

void GlRenderDevice::BindTargets() {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, drawFbo_);
    Attachments wanted;
    for (int i = 0; i < kMaxRenderTargets; ++i) {
        TextureId t = renderTargets_[i];
        wanted.colors[i] = i == 0 ? (t == kBackBuffer ? backColor_ : TextureName(t)) : TextureName(t);
    }
    // A target drawn smaller than the back buffer brings its own depth buffer.
    const auto own = depthOf_.find(renderTargets_[0]);
    wanted.depth = own != depthOf_.end() ? own->second : depthStencil_;
    if (attached_ != wanted) {
        GLenum buffers[kMaxRenderTargets];
        int count = 0;
        for (int i = 0; i < kMaxRenderTargets; ++i) {
            const GLuint name = wanted.colors[i];
            glFramebufferTexture2D(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0 + i, GL_TEXTURE_2D, name, 0);
            buffers[i] = name ? GL_COLOR_ATTACHMENT0 + i : GL_NONE;
            if (name) count = i + 1;
        }
        glDrawBuffers(std::max(count, 1), buffers);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, wanted.depth);
        attached_ = wanted;
    }
    int w = 0, h = 0;
    TargetSize(renderTargets_[0], &w, &h);
    glViewport(0, 0, w, h);
}

void GlRenderDevice::DoClear(uint32_t flags, Color color, float z, uint32_t stencil) {
    BindTargets();
    glDisable(GL_SCISSOR_TEST);
    GLbitfield mask = 0;
    if (flags & kClearTarget) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f, (color & 0xFF) / 255.0f,
                     ((color >> 24) & 0xFF) / 255.0f);
        mask |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & kClearZBuffer) {
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        mask |= GL_DEPTH_BUFFER_BIT;
    }
    if (flags & kClearStencil) {
        glStencilMask(0xFF);
        glClearStencil(static_cast<GLint>(stencil));
        mask |= GL_STENCIL_BUFFER_BIT;
    }
    glClear(mask);
}

void GlRenderDevice::ApplyStates(bool fixedFunction) {
    auto rs = [this](RenderState s) { return renderStates_[Index(s)]; };
    if (rs(RenderState::ZEnable)) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(GlCompare(rs(RenderState::ZFunc)));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(rs(RenderState::ZWriteEnable) ? GL_TRUE : GL_FALSE);
    if (rs(RenderState::AlphaBlendEnable)) {
        glEnable(GL_BLEND);
        GLenum src = GlBlend(rs(RenderState::SrcBlend)), dst = GlBlend(rs(RenderState::DestBlend));
        GLenum op = GlBlendOp(rs(RenderState::BlendOp));
        if (rs(RenderState::SeparateAlphaBlendEnable)) {
            glBlendFuncSeparate(src, dst, GlBlend(rs(RenderState::SrcBlendAlpha)), GlBlend(rs(RenderState::DestBlendAlpha)));
            glBlendEquationSeparate(op, GlBlendOp(rs(RenderState::BlendOpAlpha)));
        } else {
            glBlendFunc(src, dst);
            glBlendEquation(op);
        }
    } else {
        glDisable(GL_BLEND);
    }
    // On-screen winding: the upper-left origin flips y, and with it the sign GL gives a
    // triangle's facing, so GL's "clockwise" is what looks clockwise on the final picture.
    switch (static_cast<Cull>(rs(RenderState::CullMode))) {
        case Cull::None: glDisable(GL_CULL_FACE); break;
        case Cull::CW:  // remove what appears clockwise
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CCW);
            glCullFace(GL_BACK);
            break;
        default:  // remove what appears counter-clockwise
            glEnable(GL_CULL_FACE);
            glFrontFace(GL_CW);
            glCullFace(GL_BACK);
            break;
    }
    uint32_t mask = rs(RenderState::ColorWriteEnable);
    glColorMaski(0, mask & 1, (mask >> 1) & 1, (mask >> 2) & 1, (mask >> 3) & 1);
    // The fixed-function stand-in writes only the picture; glow comes from the effects.
    for (int i = 1; i < kMaxRenderTargets; ++i) {
        GLboolean on = fixedFunction ? GL_FALSE : GL_TRUE;
        glColorMaski(i, on && (mask & 1), on && (mask & 2), on && (mask & 4), on && (mask & 8));
    }
    glDisable(GL_SCISSOR_TEST);
    glDisable(GL_STENCIL_TEST);
}

void GlRenderDevice::ApplySamplers() {
    auto ss = [this](SamplerState s) { return samplerStates_[Index(s)]; };
    const bool linearMin = ss(SamplerState::MinFilter) == static_cast<uint32_t>(TextureFilter::Linear);
    const uint32_t mip = ss(SamplerState::MipFilter);
    GLint minFilter = linearMin ? GL_LINEAR : GL_NEAREST;
    if (mip == static_cast<uint32_t>(TextureFilter::Linear))
        minFilter = linearMin ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
    else if (mip == static_cast<uint32_t>(TextureFilter::Point))
        minFilter = linearMin ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    GLint magFilter = ss(SamplerState::MagFilter) == static_cast<uint32_t>(TextureFilter::Linear) ? GL_LINEAR : GL_NEAREST;
    uint32_t biasBits = ss(SamplerState::MipLodBias);
    float bias;
    std::memcpy(&bias, &biasBits, sizeof bias);
    // One sampler state for every stage: the game sets sampler 0 only and effects rely on it.
    const GLint plainMin = linearMin ? GL_LINEAR : GL_NEAREST;
    for (int stage = 0; stage < kMaxTextureStages; ++stage) {
        GLuint s = samplers_[stage];
        // A texture of one level (render targets, the 1x1 colours) samples without mip
        // selection: the same picture, and much cheaper for a software rasteriser.
        const TextureInfo* info = GetTextureInfo(stageTextures_[stage]);
        const SamplerParams params{info && info->levels == 1 ? plainMin : minFilter, magFilter,
                                   GLint(GlAddress(ss(SamplerState::AddressU))),
                                   GLint(GlAddress(ss(SamplerState::AddressV))), bias};
        if (samplerParams_[stage] != params) {
            glSamplerParameteri(s, GL_TEXTURE_MIN_FILTER, params.minFilter);
            glSamplerParameteri(s, GL_TEXTURE_MAG_FILTER, params.magFilter);
            glSamplerParameteri(s, GL_TEXTURE_WRAP_S, params.wrapS);
            glSamplerParameteri(s, GL_TEXTURE_WRAP_T, params.wrapT);
            glSamplerParameterf(s, GL_TEXTURE_LOD_BIAS, params.bias);
            samplerParams_[stage] = params;
        }
        glActiveTexture(GL_TEXTURE0 + stage);
        glBindTexture(GL_TEXTURE_2D, TextureName(stageTextures_[stage]));
        glBindSampler(stage, s);
    }
    glActiveTexture(GL_TEXTURE0);
}

void GlRenderDevice::ApplyFixedFunction(bool screenSpace) {
    glUseProgram(fixed_.program);
    glUniform1i(fixed_.uMode, screenSpace ? 1 : 0);
    Matrix wvp = transforms_[Index(TransformType::World)] * transforms_[Index(TransformType::View)] *
                 transforms_[Index(TransformType::Projection)];
    glUniformMatrix4fv(fixed_.uWvp, 1, GL_FALSE, wvp.Data());
    int w = 0, h = 0;
    TargetSize(renderTargets_[0], &w, &h);
    glUniform2f(fixed_.uTargetSize, float(w), float(h));
    glUniform1i(fixed_.uHasTexture, stageTextures_[0] != 0);
    glUniform1i(fixed_.uTexture, 0);
    auto ts = [this](TextureStageState s) { return static_cast<GLint>(stageStates_[Index(s)]); };
    glUniform1i(fixed_.uColorOp, ts(TextureStageState::ColorOp));
    glUniform1i(fixed_.uColorArg1, ts(TextureStageState::ColorArg1));
    glUniform1i(fixed_.uColorArg2, ts(TextureStageState::ColorArg2));
    glUniform1i(fixed_.uAlphaOp, ts(TextureStageState::AlphaOp));
    glUniform1i(fixed_.uAlphaArg1, ts(TextureStageState::AlphaArg1));
    glUniform1i(fixed_.uAlphaArg2, ts(TextureStageState::AlphaArg2));
    bool alphaTest = renderStates_[Index(RenderState::AlphaTestEnable)] != 0;
    glUniform1i(fixed_.uAlphaFunc, alphaTest ? static_cast<GLint>(renderStates_[Index(RenderState::AlphaFunc)]) : 8);
    glUniform1f(fixed_.uAlphaRef, float(renderStates_[Index(RenderState::AlphaRef)] & 0xFF));
}

void GlRenderDevice::StreamDraw(PrimitiveType type, const void* data, int n, bool screenSpace) {
    BindTargets();
    auto effect = programs_.find(program_);
    const bool fixedFunction = effect == programs_.end();
    ApplyStates(fixedFunction);
    ApplySamplers();
    std::vector<ScreenVertex> clip;
    if (fixedFunction) {
        ApplyFixedFunction(screenSpace);
    } else {
        glUseProgram(effect->second);
        if (screenSpace) {
            // An effect gets pre-transformed vertices in clip space: its vertex shader passes
            // the position through.
            int w = 0, h = 0;
            TargetSize(renderTargets_[0], &w, &h);
            const auto* v = static_cast<const ScreenVertex*>(data);
            clip.assign(v, v + n);
            for (ScreenVertex& c : clip) {
                c.x = c.x / float(w) * 2.0f - 1.0f;
                c.y = 1.0f - c.y / float(h) * 2.0f;
                c.rhw = 1.0f;
            }
            data = clip.data();
        }
    }
    glBindVertexArray(streamVao_);
    glBindBuffer(GL_ARRAY_BUFFER, streamVbo_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(n) * 24, data, GL_STREAM_DRAW);
    glEnableVertexAttribArray(0);
    glEnableVertexAttribArray(2);
    if (screenSpace) {
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 24, reinterpret_cast<void*>(0));
        glDisableVertexAttribArray(1);
        glVertexAttrib4f(1, 1, 1, 1, 1);
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, 24, reinterpret_cast<void*>(16));
    } else {
        glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 24, reinterpret_cast<void*>(0));
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, 24, reinterpret_cast<void*>(12));
        glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, 24, reinterpret_cast<void*>(16));
    }
    glDrawArrays(GlPrimitive(type), 0, n);
    glBindVertexArray(0);
}

void GlRenderDevice::DoDrawHud(PrimitiveType type, const HudVertex* v, int n) { StreamDraw(type, v, n, false); }

void GlRenderDevice::DoDrawScreen(PrimitiveType type, const ScreenVertex* v, int n) { StreamDraw(type, v, n, true); }

void GlRenderDevice::DoDrawMesh(MeshBufferId id, uint32_t first, uint32_t count) {
    BindTargets();
    ApplyStates(program_ == 0);
    ApplySamplers();
    auto prog = programs_.find(program_);
    if (prog == programs_.end()) return;  // meshes draw only through an effect
    glUseProgram(prog->second);
    glBindVertexArray(meshes_[id].vao);
    glDrawElements(GL_TRIANGLES, GLsizei(count), GL_UNSIGNED_INT, reinterpret_cast<void*>(uintptr_t(first) * 4));
    glBindVertexArray(0);
}

void GlRenderDevice::DoPresent(int drawableWidth, int drawableHeight) {
    // Keep the picture's shape: scale to fit and centre, black bars on the rest.
    const int bw = BackBufferWidth(), bh = BackBufferHeight();
    // Sizes are the drawable's pixels, which on a scaled display exceed the window's points.
    const Letterbox box = Letterbox::Fit(drawableWidth, drawableHeight, bw, bh);
    const int x = box.x, y = drawableHeight - box.y - box.height, w = box.width, h = box.height;

    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFbo_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, backColor_, 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // The back buffer's first row is the top of the picture; the window's is the bottom.
    glBlitFramebuffer(0, 0, bw, bh, x, y + h, x + w, y, GL_COLOR_BUFFER_BIT,
                      (w == bw && h == bh) ? GL_NEAREST : GL_LINEAR);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    if (overlay_) {
        // The window's own framebuffer is bottom-up: the overlay draws with GL's usual origin.
        glClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
        glViewport(0, 0, drawableWidth, drawableHeight);
        for (int i = 0; i < kMaxTextureStages; ++i) glBindSampler(i, 0);
        overlay_();
        glClipControl(GL_UPPER_LEFT, GL_ZERO_TO_ONE);
    }
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(window_.NativeHandle()));
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, drawFbo_);
}

void GlRenderDevice::DoCopyToBackBuffer(TextureId source) {
    const auto depth = depthOf_.find(source);
    if (depth == depthOf_.end()) return;
    int sw = 0, sh = 0;
    TargetSize(source, &sw, &sh);
    const int bw = BackBufferWidth(), bh = BackBufferHeight();
    BindTargets();  // the back buffer alone, with its own depth
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFbo_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, TextureName(source), 0);
    glFramebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, depth->second);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    // Both are stored top row first: no flip. Depth cannot be filtered, only picked.
    glBlitFramebuffer(0, 0, sw, sh, 0, 0, bw, bh, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    // Depth only: no draw tests the stencil (the test stays off), and a stencil blit is the
    // software rasteriser's slowest copy.
    glBlitFramebuffer(0, 0, sw, sh, 0, 0, bw, bh, GL_DEPTH_BUFFER_BIT, GL_NEAREST);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    glFramebufferRenderbuffer(GL_READ_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    // The masks and the scissor are set again from the tracked states before the next draw.
}

std::vector<uint8_t> GlRenderDevice::DoReadPixels(TextureId target, int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, readFbo_);
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D,
                           target == kBackBuffer ? backColor_ : TextureName(target), 0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glFramebufferTexture2D(GL_READ_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return pixels;
}

}  // namespace platform
