// The null backend.
#include "platform/null/null_render_device.hpp"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <type_traits>

namespace platform {

namespace {

// FNV-1a, 64 bits: small, and the same on every machine.
class Digest {
public:
    void Bytes(const void* data, size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        for (size_t i = 0; i < size; ++i) value_ = (value_ ^ p[i]) * 0x100000001B3ull;
    }
    template <typename... T>
    void Values(const T&... v) {
        static_assert((std::is_trivially_copyable_v<T> && ...));
        (Bytes(&v, sizeof v), ...);
    }
    template <typename T>
    void List(const std::vector<T>& v) {
        Values(v.size());
        if (!v.empty()) Bytes(v.data(), v.size() * sizeof(T));
    }
    uint64_t value() const { return value_; }

private:
    uint64_t value_ = 0xCBF29CE484222325ull;
};

}  // namespace

uint64_t DigestOfDraws(const std::vector<NullDraw>& draws) {
    Digest d;
    for (const NullDraw& draw : draws) {
        d.Values(draw.kind, draw.primitive, draw.targets, draw.texture0, draw.program, draw.mesh, draw.firstIndex,
                 draw.indexCount);
        d.List(draw.hud);
        d.List(draw.screen);
        d.Values(draw.transforms, draw.states, draw.uniforms);
    }
    return d.value();
}

NullRenderDevice::NullRenderDevice(int w, int h) : RenderDevice(w, h), backBuffer_(size_t(w) * h * 4, 0) {}

bool NullRenderDevice::DoCreateTexture(TextureId id, const TextureInfo& info) {
    pixels_[id].assign(size_t(info.width) * info.height * 4, 0);
    return true;
}

void NullRenderDevice::DoUpdateTexture(TextureId id, int level, int width, int height, const uint8_t* rgba) {
    if (level != 0) return;
    pixels_[id].assign(rgba, rgba + size_t(width) * height * 4);
    pendingFills_.erase(id);
}

void NullRenderDevice::DoReleaseTexture(TextureId id) {
    pixels_.erase(id);
    pendingFills_.erase(id);
}

std::vector<uint8_t>& NullRenderDevice::Pixels(TextureId target) {
    std::vector<uint8_t>& px = target == kBackBuffer ? backBuffer_ : pixels_[target];
    const auto fill = pendingFills_.find(target);
    if (fill == pendingFills_.end()) return px;
    // One pixel, then copies of what is filled so far, doubling each time.
    const size_t total = px.size() / 4 * 4;
    if (total > 0) std::memcpy(px.data(), fill->second.data(), 4);
    for (size_t done = 4; done < total; done *= 2) std::memcpy(px.data() + done, px.data(), std::min(done, total - done));
    pendingFills_.erase(fill);
    return px;
}

bool NullRenderDevice::DoCreateProgram(ProgramId id, const std::string& vs, const std::string& fs, ProgramLog* log) {
    if (!failNextProgram_.empty()) {
        log->fragment = std::move(failNextProgram_);
        failNextProgram_.clear();
        return false;
    }
    // The uniforms a compiler would report: every "uniform TYPE NAME[, NAME...];" of both stages.
    Program p;
    for (const std::string* src : {&vs, &fs}) {
        std::istringstream words(*src);
        std::string word, type, name;
        while (words >> word) {
            if (word != "uniform" || !(words >> type)) continue;
            const UniformType kind = type == "float" ? UniformType::Float : type == "vec2" ? UniformType::Vec2
                                   : type == "vec3" ? UniformType::Vec3 : type == "vec4" ? UniformType::Vec4
                                   : type == "mat4" ? UniformType::Mat4
                                   : type.starts_with("sampler") ? UniformType::Sampler : UniformType::Unknown;
            while (words >> name) {
                const bool more = name.back() == ',';
                const bool last = name.back() == ';';
                while (!name.empty() && (name.back() == ';' || name.back() == ',')) name.pop_back();
                if (!name.empty() && std::find(p.uniforms.begin(), p.uniforms.end(), name) == p.uniforms.end()) {
                    p.uniforms.push_back(name);
                    p.types.push_back(kind);
                }
                if (last || !more) break;
            }
        }
    }
    programs_[id] = std::move(p);
    return true;
}

void NullRenderDevice::DoReleaseProgram(ProgramId id) { programs_.erase(id); }

int NullRenderDevice::DoUniformLocation(ProgramId id, const std::string& name) {
    auto& u = programs_[id].uniforms;
    auto it = std::find(u.begin(), u.end(), name);
    return it == u.end() ? -1 : static_cast<int>(it - u.begin());
}

UniformType NullRenderDevice::DoGetUniformType(ProgramId id, const std::string& name) {
    int location = DoUniformLocation(id, name);
    return location < 0 ? UniformType::Unknown : programs_[id].types[location];
}

void NullRenderDevice::DoSetUniform(ProgramId program, int location, UniformType type, const float* values, int stage) {
    static const int kCount[] = {1, 2, 3, 4, 16, 1};
    auto& slot = programs_[program].values[location];
    if (type == UniformType::Sampler)
        slot = {static_cast<float>(stage)};
    else
        slot.assign(values, values + kCount[static_cast<int>(type)]);
}

const std::vector<float>* NullRenderDevice::UniformValue(ProgramId program, const std::string& name) const {
    auto p = programs_.find(program);
    if (p == programs_.end()) return nullptr;
    auto it = std::find(p->second.uniforms.begin(), p->second.uniforms.end(), name);
    if (it == p->second.uniforms.end()) return nullptr;
    auto v = p->second.values.find(static_cast<int>(it - p->second.uniforms.begin()));
    return v == p->second.values.end() ? nullptr : &v->second;
}

bool NullRenderDevice::DoCreateMeshBuffer(MeshBufferId, const MeshVertex*, size_t, const uint32_t*, size_t) {
    return true;
}

void NullRenderDevice::BeginFrameIfPresented() {
    if (!presented_) return;
    presented_ = false;
    draws_.clear();
}

void NullRenderDevice::DoClear(uint32_t flags, Color color, float, uint32_t) {
    BeginFrameIfPresented();
    if (!(flags & kClearTarget)) return;
    const std::array<uint8_t, 4> rgba = {uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color),
                                         uint8_t(color >> 24)};
    // Filled when the pixels are read: most frames are cleared and never read back.
    for (int i = 0; i < kMaxRenderTargets; ++i) {
        TextureId t = renderTargets_[i];
        if (i > 0 && t == 0) continue;
        pendingFills_[t] = rgba;
    }
}

NullDraw NullRenderDevice::Snapshot(NullDraw::Kind kind) const {
    NullDraw d;
    d.kind = kind;
    d.targets = renderTargets_;
    d.texture0 = stageTextures_[0];
    d.program = program_;
    d.transforms = transforms_;
    d.states = renderStates_;
    if (digestUniforms_ && program_) {
        const auto p = programs_.find(program_);
        if (p != programs_.end()) {
            // By location: the map's own order is not the same from run to run.
            std::vector<int> locations;
            for (const auto& [location, values] : p->second.values) locations.push_back(location);
            std::sort(locations.begin(), locations.end());
            Digest digest;
            for (const int location : locations) {
                digest.Values(location);
                digest.List(p->second.values.at(location));
            }
            d.uniforms = digest.value();
        }
    }
    return d;
}

void NullRenderDevice::DoDrawHud(PrimitiveType type, const HudVertex* v, int n) {
    BeginFrameIfPresented();
    NullDraw d = Snapshot(NullDraw::Kind::Hud);
    d.primitive = type;
    d.hud.assign(v, v + n);
    draws_.push_back(std::move(d));
}

void NullRenderDevice::DoDrawScreen(PrimitiveType type, const ScreenVertex* v, int n) {
    BeginFrameIfPresented();
    NullDraw d = Snapshot(NullDraw::Kind::Screen);
    d.primitive = type;
    d.screen.assign(v, v + n);
    draws_.push_back(std::move(d));
}

void NullRenderDevice::DoDrawMesh(MeshBufferId id, uint32_t first, uint32_t count) {
    BeginFrameIfPresented();
    NullDraw d = Snapshot(NullDraw::Kind::Mesh);
    d.mesh = id;
    d.firstIndex = first;
    d.indexCount = count;
    draws_.push_back(std::move(d));
}

std::vector<uint8_t> NullRenderDevice::DoReadPixels(TextureId target, int, int) { return Pixels(target); }

}  // namespace platform
