// The model effect ("Shader/Modelshader.fx"): enemies with their outline, bullets and
// explosions with emissive colour and fading.
#pragma once

#include "graphics/effect.hpp"
#include "graphics/texture.hpp"

class Model;

class ModelShader {
public:
    // As SimpleShader::Create, for the model effect.
    void Create();
    // Every subset with technique "Tech" and the material's emissive colour, placed by the
    // effect's "mW" as last set. The forms with `world` set "mW" first (and leave it so).
    void Draw(const Model* model);
    void Draw(const Model* model, const Matrix& world) {
        effect.SetMatrix("mW", world);
        Draw(model);
    }
    // As Draw, but untextured materials are drawn with a white texture of the given alpha
    // (0-255); textured materials are not faded.
    void DrawFaded(const Model* model, int alpha);
    void DrawFaded(const Model* model, const Matrix& world, int alpha) {
        effect.SetMatrix("mW", world);
        DrawFaded(model, alpha);
    }
    // Every subset with "OutlineTech": the outline of the given size and colour.
    void DrawOutline(const Model* model, float size, const Vec4& color);
    void DrawOutline(const Model* model, const Matrix& world, float size, const Vec4& color) {
        effect.SetMatrix("mW", world);
        DrawOutline(model, size, color);
    }
    void Release();

    Effect effect;
    Texture whiteTexture;
    bool cullOutOfView = true;  // as SimpleShader's

private:
    void DrawMaterials(const Model* model, const Texture* untextured);
    Texture fadeTexture_;  // refilled per call; one texture serves every faded material
};
