// The model effect.
#include "graphics/model_shader.hpp"

#include <algorithm>

#include "graphics/graphics_device.hpp"
#include "graphics/model.hpp"
#include "graphics/simple_shader.hpp"

void ModelShader::Create() {
    Release();
    if (!CreateEffectOrReport(effect, "Shader/Modelshader.fx")) return;
    whiteTexture.CreateTarget(1, 1, 1, TextureUsage::None);
    whiteTexture.Fill(0xFFFFFFFF);
}

void ModelShader::DrawMaterials(const Model* model, const Texture* untextured) {
    const std::optional<ViewVolume> view = cullOutOfView ? EffectViewVolume(effect) : std::nullopt;
    effect.SetTechnique("Tech");
    effect.Begin();
    effect.BeginPass(0);
    for (uint32_t i = 0; i < model->materialCount; ++i) {
        const Material& m = model->materials[i];
        const Texture& t = model->materialTextures[i];
        effect.SetTexture("MateDiffuseTex", t.texture ? t.texture : untextured->texture);
        effect.SetVector("MateEmissive", {m.emissive.r, m.emissive.g, m.emissive.b, m.emissive.a});
        effect.SetVector("MateDiffuse", {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a});
        effect.SetVector("MateSpecular", {m.specular.r, m.specular.g, m.specular.b, m.specular.a});
        effect.SetFloat("MateSpePower", m.power);
        effect.CommitChanges();
        model->mesh->DrawSubset(i, view ? &*view : nullptr);
    }
    effect.EndPass();
    effect.End();
}

void ModelShader::Draw(const Model* model) {
    if (!effect.valid() || !model || !model->mesh) return;
    DrawMaterials(model, &whiteTexture);
}

void ModelShader::DrawFaded(const Model* model, int alpha) {
    if (!effect.valid() || !model || !model->mesh) return;
    // One 1x1 texture refilled per call instead of one made and dropped per material: the same
    // picture, without a texture allocation per bullet per frame.
    if (!fadeTexture_.texture) fadeTexture_.CreateTarget(1, 1, 1, TextureUsage::None);
    const auto a = static_cast<uint32_t>(std::clamp(alpha, 0, 255));
    fadeTexture_.Fill((a << 24) | 0xFFFFFF);
    DrawMaterials(model, &fadeTexture_);
}

void ModelShader::DrawOutline(const Model* model, float size, const Vec4& color) {
    if (!effect.valid() || !model || !model->mesh) return;
    const std::optional<ViewVolume> view = cullOutOfView ? EffectViewVolume(effect) : std::nullopt;
    effect.SetTechnique("OutlineTech");
    effect.SetFloat("OutlineSize", size);
    effect.SetVector("OutlineColor", color);
    effect.Begin();
    effect.BeginPass(0);
    // The outline is the mesh pushed out along its normals by `size`.
    for (uint32_t i = 0; i < model->materialCount; ++i) model->mesh->DrawSubset(i, view ? &*view : nullptr, size);
    effect.EndPass();
    effect.End();
}

void ModelShader::Release() {
    effect.Release();
    whiteTexture.Release();
    fadeTexture_.Release();
}
