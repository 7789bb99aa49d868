// Models through the game's effects, on the OpenGL device: material colour, the white stand-in
// texture, fading, outlines and the glow halo of emissive colour.
#include <stb/stb_image_write.h>

#include <fstream>
#include <sstream>

#include "gl_fixture.hpp"
#include "graphics/model.hpp"

using namespace render_test;

namespace {

struct XMaterial {
    ColorValue diffuse{1, 1, 1, 1};
    Vec3 emissive;
    std::string texture;  // empty: none
};

// A box of half-size `h` around the origin as a .x text file, one material per face group:
// faces +y use material 0, the rest material `sides` (0 or 1).
std::string BoxX(float h, const std::vector<XMaterial>& materials, int sides) {
    struct Face {
        Vec3 n, v;
    } faces[6] = {{{0, 1, 0}, {0, 0, 1}},  {{0, -1, 0}, {0, 0, 1}}, {{1, 0, 0}, {0, 1, 0}},
                  {{-1, 0, 0}, {0, 1, 0}}, {{0, 0, 1}, {0, 1, 0}},  {{0, 0, -1}, {0, 1, 0}}};
    std::ostringstream pos, nrm, uv, idx, mat;
    for (const Face& f : faces) {
        // Seen from outside, right = n x up: corners bottom-left, top-left, top-right,
        // bottom-right wind clockwise, the front-face order.
        const Vec3 u = Vec3Cross(f.n, f.v);
        const Vec3 c = f.n * h;
        const Vec3 corners[4] = {c - u * h - f.v * h, c - u * h + f.v * h, c + u * h + f.v * h, c + u * h - f.v * h};
        const float uvs[4][2] = {{0, 1}, {0, 0}, {1, 0}, {1, 1}};
        for (int k = 0; k < 4; ++k) {
            pos << corners[k].x << ";" << corners[k].y << ";" << corners[k].z << ";,\n";
            nrm << f.n.x << ";" << f.n.y << ";" << f.n.z << ";,\n";
            uv << uvs[k][0] << ";" << uvs[k][1] << ";,\n";
        }
    }
    auto strip = [](std::string s) { return s.substr(0, s.size() - 2) + ";\n"; };
    for (int f = 0; f < 6; ++f) {
        const int b = f * 4;
        idx << "3;" << b << "," << b + 1 << "," << b + 2 << ";,\n3;" << b << "," << b + 2 << "," << b + 3 << ";,\n";
        for (int t = 0; t < 2; ++t) mat << (f == 0 ? 0 : sides) << (f == 5 && t == 1 ? ";;\n" : ",\n");
    }
    std::ostringstream x;
    x << "xof 0303txt 0032\nMesh box {\n24;\n" << strip(pos.str()) << "12;\n" << strip(idx.str())
      << "MeshNormals {\n24;\n" << strip(nrm.str()) << "12;\n" << strip(idx.str()) << "}\n"
      << "MeshTextureCoords {\n24;\n" << strip(uv.str()) << "}\n"
      << "MeshMaterialList {\n" << materials.size() << ";\n12;\n" << mat.str();
    for (const XMaterial& m : materials) {
        x << "Material {\n" << m.diffuse.r << ";" << m.diffuse.g << ";" << m.diffuse.b << ";" << m.diffuse.a << ";;\n"
          << "8.0;\n0.2;0.2;0.2;;\n" << m.emissive.x << ";" << m.emissive.y << ";" << m.emissive.z << ";;\n";
        if (!m.texture.empty()) x << "TextureFilename { \"" << m.texture << "\"; }\n";
        x << "}\n";
    }
    x << "}\n}\n";
    return x.str();
}

class ModelRenderTest : public GlFixture {
protected:
    void SetUp() override {
        GlFixture::SetUp();
        if (!window) return;
        dir = std::filesystem::temp_directory_path() / ("korvelin-model-render-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        // A blue picture for textured materials.
        std::vector<uint8_t> blue(16 * 16 * 4);
        for (size_t i = 0; i < blue.size(); i += 4) blue[i + 2] = blue[i + 3] = 255;
        stbi_write_png((dir / "blue.png").c_str(), 16, 16, 4, blue.data(), 16 * 4);
    }
    void TearDown() override {
        GlFixture::TearDown();
        if (!dir.empty()) std::filesystem::remove_all(dir);
    }
    std::unique_ptr<Model> Load(const std::string& name, const std::string& text) {
        std::ofstream(dir / name) << text;
        auto model = std::make_unique<Model>();
        EXPECT_TRUE(model->Load(&device(), (dir / name).string())) << name;
        return model;
    }
    // One frame looking straight down at the origin from 10 units up, +z up on the screen.
    std::vector<uint8_t> FrameLookingDown(std::function<void()> draw3d) {
        return Frame(draw3d, nullptr, nullptr, MatrixLookAtLH({0, 10, 0}, {0, 0, 0}, {0, 0, 1}));
    }
    std::filesystem::path dir;
};

TEST_F(ModelRenderTest, LitModelShowsItsMaterialColourWithTheWhiteStandIn) {
    auto box = Load("brown.x", BoxX(2, {{{0.4f, 0.3f, 0.2f, 1}, {}, ""}}, 0));
    ASSERT_EQ(box->materialCount, 1u);
    std::vector<uint8_t> px = FrameLookingDown([&] {
        GameEffects::Instance().simpleShader.effect.SetMatrix("mW", Matrix::Identity());
        GameEffects::Instance().simpleShader.Draw(box.get());
    });
    // The top face, lit from straight above and seen from there: colour x (light + half-grey
    // ambient) plus the 0.2 highlight of the material's specular colour.
    const Pixel top = At(px, kW / 2, kH / 2);
    EXPECT_NEAR(top.r, 204, 4);
    EXPECT_NEAR(top.g, 166, 4);
    EXPECT_NEAR(top.b, 128, 4);
    EXPECT_EQ(At(px, 20, 20).r, 0) << "nothing around the box";
}

TEST_F(ModelRenderTest, FadedDrawingHidesUntexturedMaterialsAndKeepsTexturedOnes) {
    // Top face untextured white, sides textured blue; from above at an angle both show.
    auto box = Load("faded.x", BoxX(2, {{{1, 1, 1, 1}, {}, ""}, {{1, 1, 1, 1}, {}, "blue.png"}}, 1));
    ASSERT_EQ(box->materialCount, 2u);
    ASSERT_NE(box->materialTextures[1].texture, 0u) << "the texture loads from the model's folder";
    for (int alpha : {255, 0}) {
        std::vector<uint8_t> px = FrameLookingDown([&] {
            const Matrix tilt = MatrixRotationX(0.6f);
            GameEffects::Instance().modelShader.effect.SetMatrix("mW", tilt);
            GameEffects::Instance().modelShader.DrawFaded(box.get(), alpha);
        });
        const Pixel top = At(px, kW / 2, kH / 2);
        if (alpha == 255) {
            EXPECT_GT(top.r, 200) << "white top face";
        } else {
            EXPECT_EQ(top.r, 0) << "untextured material faded out";
        }
        // A textured side face stays blue either way: look along the picture's lower half.
        int blue = 0;
        for (int y = kH / 2; y < kH; ++y) blue += At(px, kW / 2, y).b > 100 && At(px, kW / 2, y).r < 60;
        EXPECT_GT(blue, 10) << "alpha " << alpha;
    }
}

TEST_F(ModelRenderTest, OutlineShowsAroundTheModel) {
    auto box = Load("grey.x", BoxX(2, {{{0.3f, 0.3f, 0.3f, 1}, {}, ""}}, 0));
    std::vector<uint8_t> plain = FrameLookingDown([&] {
        GameEffects::Instance().simpleShader.effect.SetMatrix("mW", Matrix::Identity());
        GameEffects::Instance().simpleShader.Draw(box.get());
    });
    std::vector<uint8_t> outlined = FrameLookingDown([&] {
        GameEffects::Instance().simpleShader.effect.SetMatrix("mW", Matrix::Identity());
        GameEffects::Instance().simpleShader.Draw(box.get());
        GameEffects::Instance().modelShader.effect.SetMatrix("mW", Matrix::Identity());
        GameEffects::Instance().modelShader.DrawOutline(box.get(), 0.4f, {0, 1, 0, 1});
    });
    // Find the box's right edge on the middle row, then look just beyond it.
    int edge = kW / 2;
    while (edge < kW - 1 && At(plain, edge + 1, kH / 2).r > 0) ++edge;
    ASSERT_GT(edge, kW / 2 + 20);
    EXPECT_LT(At(plain, edge + 5, kH / 2).g, 20);
    EXPECT_GT(At(outlined, edge + 5, kH / 2).g, 200) << "a green rim beyond the silhouette";
    EXPECT_NEAR(At(outlined, kW / 2, kH / 2).g, At(plain, kW / 2, kH / 2).g, 3) << "the face itself is untouched";
}

TEST_F(ModelRenderTest, BrightEmissiveModelBloomsIntoAHalo) {
    auto glowing = Load("glow.x", BoxX(0.5f, {{{0.2f, 0.6f, 1, 1}, {0.2f, 0.8f, 1.0f}, ""}}, 0));
    auto dull = Load("dull.x", BoxX(0.5f, {{{0.2f, 0.6f, 1, 1}, {0, 0, 0}, ""}}, 0));
    auto draw = [&](Model* m) {
        return FrameLookingDown([&] {
            GameEffects::Instance().modelShader.effect.SetMatrix("mW", Matrix::Identity());
            GameEffects::Instance().modelShader.Draw(m);
        });
    };
    std::vector<uint8_t> halo = draw(glowing.get()), none = draw(dull.get());
    int edge = kW / 2;
    while (edge < kW - 1 && At(none, edge + 1, kH / 2).b > 0) ++edge;
    // Beyond the silhouette the dull box leaves black; the emissive one lights the dark around it.
    EXPECT_EQ(At(none, edge + 12, kH / 2).b, 0);
    EXPECT_GT(At(halo, edge + 12, kH / 2).b, 25);
    EXPECT_GT(At(halo, edge + 12, kH / 2).b, At(halo, edge + 40, kH / 2).b) << "the halo fades outwards";
    // It does not wash out the picture: far away it is dark.
    EXPECT_LT(At(halo, 40, 40).b, 10);
}

}  // namespace
