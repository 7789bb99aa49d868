// The effect runtime.
#include "graphics/effect.hpp"

#include <algorithm>
#include <cstring>

#include "platform/effect/effect_parser.hpp"
#include "platform/effect/shader_log.hpp"

using namespace platform;

bool Effect::CreateFromFile(RenderDevice& device, const std::string& path, std::string* errors) {
    Release();
    EffectDescription desc;
    std::string why;
    if (!LoadEffectFile(path, desc, why)) {
        if (errors) *errors = why;
        return false;
    }
    return Compile(device, desc, errors);
}

bool Effect::CreateFromText(RenderDevice& device, const std::string& text, const std::string& fileName,
                            std::string* errors) {
    Release();
    EffectDescription desc;
    std::string why;
    if (!ParseEffect(text, fileName, desc, why)) {
        if (errors) *errors = why;
        return false;
    }
    return Compile(device, desc, errors);
}

bool Effect::Compile(RenderDevice& device, const EffectDescription& desc, std::string* errors) {
    const std::string& path = desc.fileName;
    std::string compileErrors;
    std::vector<Technique> techniques;
    for (const EffectTechnique& t : desc.techniques) {
        if (t.passes.empty()) continue;
        const EffectPass& pass = t.passes[0];
        ProgramLog log;
        ProgramId program = device.CreateProgram(pass.vertexSource, pass.fragmentSource, &log);
        if (!program) {
            compileErrors += MapShaderLog(log.vertex, path, pass.vertexLine);
            compileErrors += MapShaderLog(log.fragment, path, pass.fragmentLine);
            if (!log.link.empty())
                compileErrors += path + "(" + std::to_string(pass.line) + "): link: " + log.link + "\n";
            continue;
        }
        Technique tech;
        tech.name = t.name;
        tech.program = program;
        tech.states = pass.states;
        tech.passCount = static_cast<unsigned>(t.passes.size());
        // Texture stages in the order the sampler uniforms appear in the sources.
        int stage = 0;
        for (const std::string* src : {&pass.vertexSource, &pass.fragmentSource}) {
            size_t pos = 0;
            while ((pos = src->find("sampler2D", pos)) != std::string::npos) {
                pos += 9;
                size_t start = src->find_first_not_of(" \t", pos);
                if (start == std::string::npos) break;
                size_t end = src->find_first_of(" \t;[", start);
                if (end == std::string::npos) break;
                std::string name = src->substr(start, end - start);
                if (!tech.samplerStages.count(name) && stage < kMaxTextureStages) tech.samplerStages[name] = stage++;
            }
        }
        techniques.push_back(std::move(tech));
    }
    if (!compileErrors.empty() || techniques.empty()) {
        for (Technique& t : techniques) device.ReleaseProgram(t.program);
        if (errors) *errors = compileErrors.empty() ? path + ": no technique to draw with\n" : compileErrors;
        return false;
    }
    device_ = &device;
    techniques_ = std::move(techniques);
    current_ = 0;
    currentName_ = techniques_[0].name;
    return true;
}

void Effect::Release() {
    if (begun_) End();
    if (device_)
        for (Technique& t : techniques_) device_->ReleaseProgram(t.program);
    techniques_.clear();
    params_.clear();
    dirty_.clear();
    device_ = nullptr;
    current_ = -1;
    currentName_.clear();
}

bool Effect::SetTechnique(const std::string& name) {
    for (size_t i = 0; i < techniques_.size(); ++i)
        if (techniques_[i].name == name) {
            current_ = static_cast<int>(i);
            currentName_ = name;
            return true;
        }
    return false;
}

void Effect::SetMatrix(const std::string& name, const Matrix& m) { SetValue(name, m.Data(), sizeof(float) * 16); }
void Effect::SetVector(const std::string& name, const Vec4& v) { SetValue(name, &v, sizeof v); }
void Effect::SetFloat(const std::string& name, float f) { SetValue(name, &f, sizeof f); }

void Effect::SetValue(const std::string& name, const void* data, size_t bytes) {
    if (!device_ || !data) return;
    Parameter& p = Param(name);
    p.isTexture = false;
    p.values.resize(std::min<size_t>(bytes / sizeof(float), 16));
    std::memcpy(p.values.data(), data, p.values.size() * sizeof(float));
    ++p.version;
    if (inPass_) dirty_.push_back(name);
}

void Effect::SetTexture(const std::string& name, TextureId texture) {
    if (!device_) return;
    Parameter& p = Param(name);
    p.isTexture = true;
    p.texture = texture;
    if (inPass_) dirty_.push_back(name);
}

const std::vector<float>* Effect::GetValue(const std::string& name) const {
    auto it = params_.find(name);
    return it == params_.end() || it->second.isTexture ? nullptr : &it->second.values;
}

unsigned Effect::Begin() {
    if (!device_ || current_ < 0 || begun_) return 0;
    begun_ = true;
    const Technique& t = techniques_[current_];
    savedStates_.clear();
    for (const EffectStateValue& s : t.states) savedStates_.emplace_back(s.state, device_->GetRenderState(s.state));
    savedTextures_.clear();
    for (const auto& [name, stage] : t.samplerStages) savedTextures_.emplace_back(stage, device_->GetTexture(stage));
    savedProgram_ = device_->GetProgram();
    return t.passCount;
}

void Effect::BeginPass(unsigned) {
    if (!device_ || !begun_ || inPass_) return;
    inPass_ = true;
    const Technique& t = techniques_[current_];
    for (const EffectStateValue& s : t.states) device_->SetRenderState(s.state, s.value);
    device_->SetProgram(t.program);
    for (auto& [name, p] : params_) Upload(name, p);
    dirty_.clear();
}

void Effect::CommitChanges() {
    if (!device_ || !inPass_) return;
    for (const std::string& name : dirty_) Upload(name, params_[name]);
    dirty_.clear();
}

void Effect::EndPass() { inPass_ = false; }

void Effect::End() {
    if (!device_ || !begun_) return;
    inPass_ = false;
    begun_ = false;
    for (auto& [state, value] : savedStates_) device_->SetRenderState(state, value);
    for (auto& [stage, texture] : savedTextures_) device_->SetTexture(stage, device_->GetTextureInfo(texture) ? texture : 0);
    device_->SetProgram(savedProgram_);
}

void Effect::Upload(const std::string& name, Parameter& p) {
    const Technique& t = techniques_[current_];
    if (p.slots.size() < techniques_.size()) p.slots.resize(techniques_.size());
    Slot& slot = p.slots[current_];
    if (!slot.resolved) {
        slot = {true, device_->UniformLocation(t.program, name), device_->GetUniformType(t.program, name), 0};
    }
    if (slot.location < 0) return;  // this technique does not use the parameter
    if (p.isTexture) {
        // The texture stages are the device's, shared by every draw: bound on every pass.
        auto it = t.samplerStages.find(name);
        if (it == t.samplerStages.end()) return;
        device_->SetTexture(it->second, device_->GetTextureInfo(p.texture) ? p.texture : 0);
        device_->SetUniformSampler(slot.location, it->second);
        return;
    }
    if (slot.sent == p.version) return;
    // A float4 given to a float3 parameter loses its w, and a float3 given to a float4 gets
    // w = 0: a value fits whichever size an effect file declares.
    float v[16] = {};
    std::copy(p.values.begin(), p.values.end(), v);
    switch (slot.type) {
        case UniformType::Float:
        case UniformType::Vec2:
        case UniformType::Vec3:
        case UniformType::Vec4:
        case UniformType::Mat4: device_->SetUniform(slot.location, slot.type, v); break;
        default: break;
    }
    slot.sent = p.version;
}
