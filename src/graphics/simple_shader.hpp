// The plain lit effect ("Shader/Simple.fx"): course, characters, gun, gates and title models.
#pragma once

#include "graphics/effect.hpp"
#include "graphics/texture.hpp"

class Model;

class SimpleShader {
public:
    // Loads and compiles the file; on failure shows the compiler's text in a box and stays
    // empty, and every later use does nothing.
    void Create();
    // Every subset of the model with technique "Tech", lit by light 0, placed by the effect's
    // "mW" as last set.
    void Draw(const Model* model);
    // The same placed by `world`, which stays the effect's "mW" afterwards.
    void Draw(const Model* model, const Matrix& world) {
        effect.SetMatrix("mW", world);
        Draw(model);
    }
    void Release();

    Effect effect;
    Texture whiteTexture;  // stands in for materials without a texture of their own
    // Faces out of view are left out (Mesh::DrawSubset given the view); headless runs draw to a device
    // that paints nothing and switch it off, since there it would only cost time.
    bool cullOutOfView = true;
};

// Loads an effect file on the graphics device. On failure shows the errors in the
// "シェーダコンパイルエラー" box (and on standard error) and leaves the effect empty.
bool CreateEffectOrReport(Effect& effect, const char* path);
