// An effect on the render device: the techniques of an effect file compiled into programs,
// parameters set by name and kept until the next pass or commit sends them, and the render
// states of pass 0. Begin saves the device states the technique changes and End restores
// them. An Effect that failed to load is empty, and every call on it does nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "math/math.hpp"
#include "platform/effect/effect_description.hpp"
#include "platform/render/render_device.hpp"

class Effect {
public:
    Effect() = default;
    ~Effect() { Release(); }
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Reads and compiles the file. False with the reasons in *errors, each line "FILE(LINE): ..."
    // or, for a file that cannot be read, naming the file.
    bool CreateFromFile(platform::RenderDevice& device, const std::string& path, std::string* errors);
    bool CreateFromText(platform::RenderDevice& device, const std::string& text, const std::string& fileName,
                        std::string* errors);
    void Release();
    bool valid() const { return device_ != nullptr; }

    // False when the technique does not exist (the current one is kept).
    bool SetTechnique(const std::string& name);
    const std::string& technique() const { return currentName_; }

    void SetMatrix(const std::string& name, const Matrix& m);
    void SetVector(const std::string& name, const Vec4& v);
    // Raw floats: 12 bytes for a float3, 4 for a float.
    void SetValue(const std::string& name, const void* data, size_t bytes);
    void SetFloat(const std::string& name, float f);
    void SetTexture(const std::string& name, platform::TextureId texture);
    // The value last set for a parameter (tests); null when it was never set.
    const std::vector<float>* GetValue(const std::string& name) const;

    // Returns the number of passes of the current technique; saves the states it will change.
    unsigned Begin();
    // Only pass 0 exists for the game; other numbers draw with pass 0 too.
    void BeginPass(unsigned pass);
    // Sends parameters changed since BeginPass to the program.
    void CommitChanges();
    void EndPass();
    void End();

private:
    // Where a parameter lands in one technique's program, and which of its values the program
    // holds. A linked program keeps its uniforms, so a value is sent once, not on every pass.
    struct Slot {
        bool resolved = false;  // location and type asked of the device
        int location = -1;      // -1: the program does not use the parameter
        platform::UniformType type = platform::UniformType::Unknown;
        uint64_t sent = 0;      // the version the program holds; 0 none
    };
    struct Parameter {
        std::vector<float> values;
        platform::TextureId texture = 0;
        bool isTexture = false;
        uint64_t version = 0;     // rises with every set
        std::vector<Slot> slots;  // one per technique
    };
    struct Technique {
        std::string name;
        platform::ProgramId program = 0;
        std::vector<platform::EffectStateValue> states;
        std::unordered_map<std::string, int> samplerStages;  // sampler uniform -> texture stage
        unsigned passCount = 1;
    };
    bool Compile(platform::RenderDevice& device, const platform::EffectDescription& desc, std::string* errors);
    void Upload(const std::string& name, Parameter& p);
    Parameter& Param(const std::string& name) { return params_[name]; }

    platform::RenderDevice* device_ = nullptr;
    std::vector<Technique> techniques_;
    int current_ = -1;
    std::string currentName_;
    std::unordered_map<std::string, Parameter> params_;
    std::vector<std::string> dirty_;
    bool inPass_ = false;
    bool begun_ = false;
    // Saved at Begin.
    std::vector<std::pair<platform::RenderState, uint32_t>> savedStates_;
    std::vector<std::pair<int, platform::TextureId>> savedTextures_;
    platform::ProgramId savedProgram_ = 0;
};
