// The generated data tree: every file the game names, with the sizes and layouts it relies on,
// models that load with their materials, and the same bytes on every run.
#include <gtest/gtest.h>
#include <stb_image.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

#include "asset_tree.hpp"
#include "platform/mesh/x_file_loader.hpp"

namespace {

namespace fs = std::filesystem;

class AssetTree : public ::testing::Test {
protected:
    // The tree the build wrote with this generator (the game_data target).
    static void SetUpTestSuite() { dir_ = new fs::path(KORVELIN_GAME_DIR "/data"); }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string Bytes(const std::string& path) {
        std::ifstream in(*dir_ / path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static fs::path* dir_;
};
fs::path* AssetTree::dir_ = nullptr;

TEST_F(AssetTree, EveryModelLoadsWithItsMaterials) {
    struct Case {
        const char* name;
        size_t minMaterials;
        bool textured;  // some material names a texture that exists beside the model
    };
    const Case cases[] = {
        {"Title.x", 2, true},       {"Sky.x", 1, false},          {"chara.x", 3, true},
        {"enemy.x", 2, false},      {"weapon.x", 2, false},       {"bullet.x", 1, false},
        {"explosion.x", 1, false},  {"mapA.x", 1, true},          {"mapB.x", 3, true},
        {"mapD.x", 1, false},       {"CheckPoint.x", 1, true},    {"CheckPoint2.x", 1, true},
        {"CheckPointE.x", 2, true}, {"CheckPointE2.x", 2, true},  {"CheckPointS.x", 2, true},
        {"CheckPointS2.x", 2, true}, {"CheckPointSP.x", 2, true}, {"gate.x", 2, false},
        {"Egate.x", 2, false},      {"EgateS.x", 2, false},
    };
    for (const Case& c : cases) {
        platform::MeshData mesh;
        std::string error;
        ASSERT_TRUE(platform::LoadXFile((*dir_ / "model" / c.name).string(), mesh, error)) << c.name << ": " << error;
        EXPECT_GT(mesh.FaceCount(), 0u) << c.name;
        EXPECT_GE(mesh.materials.size(), c.minMaterials) << c.name;
        bool textured = false;
        for (const platform::MeshMaterial& m : mesh.materials)
            if (!m.texturePath.empty()) {
                textured = true;
                EXPECT_TRUE(fs::exists(m.texturePath)) << c.name << " names " << m.texturePath;
            }
        EXPECT_EQ(textured, c.textured) << c.name;
    }
}

// Sizes the game's drawing relies on.
TEST_F(AssetTree, ModelSizes) {
    auto bounds = [&](const char* name) {
        platform::MeshData mesh;
        std::string error;
        EXPECT_TRUE(platform::LoadXFile((*dir_ / "model" / name).string(), mesh, error)) << error;
        return mesh.bounds;
    };
    const auto craft = bounds("chara.x");
    EXPECT_NEAR(craft.max.z - craft.min.z, 4.0f, 0.5f);
    EXPECT_GT(craft.max.z, 1.5f);  // the nose points along +z
    const auto enemy = bounds("enemy.x");
    EXPECT_LT(enemy.max.x - enemy.min.x, 2.0f);
    EXPECT_LT(enemy.max.y - enemy.min.y, 2.0f);
    const auto title = bounds("Title.x");
    EXPECT_NEAR(title.max.z - title.min.z, 163.4f, 0.01f);
    EXPECT_GT(title.max.y, 40.0f);  // the title camera sits 35 units off the axis, inside
    const auto blast = bounds("explosion.x");
    EXPECT_NEAR(blast.max.x, 1.0f, 0.01f);
    const auto gun = bounds("weapon.x");
    EXPECT_GT(gun.max.z, 2.0f);
}

TEST_F(AssetTree, SkyIsClosedAroundTheCamera) {
    platform::MeshData sky;
    std::string error;
    ASSERT_TRUE(platform::LoadXFile((*dir_ / "model" / "Sky.x").string(), sky, error));
    // Scaled by 5 round the player, the camera sits about 13 units off centre.
    const Matrix world = MatrixScaling(5, 5, 5);
    const Matrix inv = MatrixInverse(world);
    const Vec3 eye = Vec3TransformCoord({0, 6, -12}, inv);
    for (int i = 0; i < 64; ++i) {
        const float a = static_cast<float>(i) * 0.71f, b = static_cast<float>(i) * 0.37f - 1.2f;
        const Vec3 dir{std::cos(a) * std::cos(b), std::sin(b), std::sin(a) * std::cos(b)};
        EXPECT_TRUE(sky.Intersect(eye, Vec3TransformNormal(dir, inv)).hit) << i;
    }
}

TEST_F(AssetTree, PicturesHaveTheirLayouts) {
    struct Case {
        const char* path;
        int width, height;  // 0: at least the other rule
    };
    const Case cases[] = {
        {"texture/number.png", 1300, 180},    {"texture/resultnumber.png", 1300, 180},
        {"texture/life.png", 1040, 180},      {"texture/emptylife.png", 520, 180},
        {"Texture/Target.png", 650, 650},     {"Texture/Target2.png", 52, 52},
        {"Texture/Target3.png", 52, 52},      {"Texture/arrow.png", 50, 50},
        {"Texture/title.png", 640, 200},      {"Texture/start.png", 280, 64},
        {"texture/demo.png", 320, 110},       {"texture/newbest.png", 520, 110}, {"texture/notsaved.png", 560, 110},
        {"texture/best.png", 220, 90},
    };
    for (const Case& c : cases) {
        int w = 0, h = 0, n = 0;
        ASSERT_TRUE(stbi_info((*dir_ / c.path).string().c_str(), &w, &h, &n)) << c.path;
        EXPECT_EQ(w, c.width) << c.path;
        EXPECT_EQ(h, c.height) << c.path;
    }
    auto size = [&](const char* path) {
        int w = 0, h = 0, n = 0;
        EXPECT_TRUE(stbi_info((*dir_ / path).string().c_str(), &w, &h, &n)) << path;
        return std::pair{w, h};
    };
    for (const char* full : {"Texture/white.png", "Texture/damage.png", "Texture/back.png"}) {
        auto [w, h] = size(full);
        EXPECT_GE(w, 1280) << full;
        EXPECT_GE(h, 720) << full;
    }
    auto [gw, gh] = size("texture/green.png");
    EXPECT_EQ(gw, 800);
    EXPECT_GE(gh, 200);
    auto [pw, ph] = size("texture/particle.png");
    EXPECT_EQ(pw % 16, 0);
    EXPECT_EQ(pw / 16, ph);
    auto [bw, bh] = size("texture/bar.png");
    EXPECT_EQ(bw % bh, 0);
    EXPECT_GE(bw / bh, 1);
    size("Texture/result.png");
    size("texture/black.png");
}

// The muzzle flashes sit in the upper half; the lower half stays empty.
TEST_F(AssetTree, MuzzleFlashLowerHalfIsClear) {
    int w = 0, h = 0, n = 0;
    unsigned char* px = stbi_load((*dir_ / "texture/green.png").string().c_str(), &w, &h, &n, 4);
    ASSERT_NE(px, nullptr);
    int lower = 0, upper = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) (y < h / 2 ? upper : lower) += px[(y * w + x) * 4 + 3] > 0;
    stbi_image_free(px);
    EXPECT_EQ(lower, 0);
    EXPECT_GT(upper, 1000);
}

TEST_F(AssetTree, SoundsAreStereo16Bit44kHz) {
    struct Case {
        const char* path;
        double minSeconds, maxSeconds;
    };
    for (const Case& c : {Case{"sound/bgm.wav", 60, 90}, Case{"sound/shot.wav", 0.05, 2}}) {
        const std::string bytes = Bytes(c.path);
        ASSERT_GT(bytes.size(), 44u) << c.path;
        auto u16 = [&](size_t at) { return static_cast<unsigned>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8); };
        auto u32 = [&](size_t at) { return u16(at) | u16(at + 2) << 16; };
        EXPECT_EQ(bytes.substr(0, 4), "RIFF");
        EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
        EXPECT_EQ(u16(20), 1u);  // PCM
        EXPECT_EQ(u16(22), 2u);
        EXPECT_EQ(u32(24), 44100u);
        EXPECT_EQ(u16(34), 16u);
        const double seconds = u32(40) / 4.0 / 44100.0;
        EXPECT_GE(seconds, c.minSeconds) << c.path;
        EXPECT_LE(seconds, c.maxSeconds) << c.path;
    }
}

// The loop point: the last and first samples meet without a jump.
TEST_F(AssetTree, MusicLoopsWithoutAClick) {
    const std::string bytes = Bytes("sound/bgm.wav");
    auto sample = [&](size_t frame, int channel) {
        const size_t at = 44 + frame * 4 + static_cast<size_t>(channel) * 2;
        return static_cast<int16_t>(static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8);
    };
    const size_t frames = (bytes.size() - 44) / 4;
    int largestStep = 0, seam = 0;
    for (size_t i = 1; i < frames; ++i) largestStep = std::max(largestStep, std::abs(sample(i, 0) - sample(i - 1, 0)));
    for (int ch = 0; ch < 2; ++ch) seam = std::max(seam, std::abs(sample(0, ch) - sample(frames - 1, ch)));
    EXPECT_LE(seam, largestStep / 2 + 200);
}

TEST_F(AssetTree, TextureFolderHasBothNames) {
    EXPECT_TRUE(fs::is_directory(*dir_ / "texture"));
    EXPECT_TRUE(fs::is_symlink(*dir_ / "Texture"));
    EXPECT_TRUE(fs::equivalent(*dir_ / "Texture" / "back.png", *dir_ / "texture" / "back.png"));
    EXPECT_TRUE(fs::exists(*dir_ / "data" / "cpdata.dat"));
    EXPECT_EQ(fs::file_size(*dir_ / "data" / "cpdata.dat"), fs::file_size(*dir_ / "data" / "test2.dat"));
}

// The build made the tree once; making it again here gives the same bytes, file for file.
TEST_F(AssetTree, SecondRunGivesTheSameBytes) {
    const AssetList again = BuildAssetTree();
    ASSERT_GT(again.size(), 40u);
    for (const AssetFile& f : again) EXPECT_TRUE(f.bytes == Bytes(f.path)) << f.path;
    // Writing the same tree again is a no-op that still succeeds.
    std::string error;
    EXPECT_TRUE(WriteAssetTree(again, *dir_, &error)) << error;
}

}  // namespace
