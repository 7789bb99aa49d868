// The plain lit effect.
#include "graphics/simple_shader.hpp"

#include <cstdio>

#include "graphics/graphics_device.hpp"
#include "graphics/model.hpp"
#include "platform/i18n/language.hpp"
#include "platform/window/dialogs.hpp"

bool CreateEffectOrReport(Effect& effect, const char* path) {
    auto& gd = GraphicsDevice::Instance();
    if (!gd.device) return false;
    std::string errors;
    if (effect.CreateFromFile(*gd.device, path, &errors)) return true;
    std::fprintf(stderr, platform::Tr("korvelin: shader compile error:\n%s\n"), errors.c_str());
    platform::ShowMessage(nullptr, errors, platform::Tr("Shader compile error"), platform::DialogIcon::Error);
    return false;
}

void SimpleShader::Create() {
    Release();
    if (!CreateEffectOrReport(effect, "Shader/Simple.fx")) return;
    whiteTexture.CreateTarget(1, 1, 1, TextureUsage::None);
    whiteTexture.Fill(0xFFFFFFFF);
}

void SimpleShader::Draw(const Model* model) {
    if (!effect.valid() || !model || !model->mesh) return;
    const std::optional<ViewVolume> view = cullOutOfView ? EffectViewVolume(effect) : std::nullopt;
    effect.SetTechnique("Tech");
    effect.Begin();
    effect.BeginPass(0);
    for (uint32_t i = 0; i < model->materialCount; ++i) {
        const Material& m = model->materials[i];
        effect.SetVector("MateDiffuse", {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a});
        effect.SetVector("MateSpecular", {m.specular.r, m.specular.g, m.specular.b, m.specular.a});
        effect.SetFloat("MateSpePower", m.power);
        const Texture& t = model->materialTextures[i];
        effect.SetTexture("MateDiffuseTex", t.texture ? t.texture : whiteTexture.texture);
        effect.CommitChanges();
        model->mesh->DrawSubset(i, view ? &*view : nullptr);
    }
    effect.EndPass();
    effect.End();
}

void SimpleShader::Release() {
    effect.Release();
    whiteTexture.Release();
}
