// The model cache reading files ahead on the null device: a model read ahead is the model a
// direct load gives, whether the reading has finished or not; a missing file stays an empty
// model; releasing (or destroying) the cache while it reads ahead is clean.
#include "graphics/model_cache.hpp"

#include <gtest/gtest.h>

#include <stb/stb_image_write.h>

#include "../mesh/x_file_test_files.hpp"
#include "null_world.hpp"

namespace {

class ModelCacheTest : public NullWorld {
protected:
    void SetUp() override {
        EnterOwnFolder();
        // Two of the model's three materials name pictures; 100 x 60 becomes 128 x 64.
        WritePng("tex/red.png", 100, 60);
        WritePng("blue.png", 32, 32);
        model = Write("frames.x", kTwoFramesX);
    }
    void WritePng(const std::string& name, int w, int h) {
        std::vector<uint8_t> px(size_t(w) * h * 4, 90);
        stbi_write_png(OwnFile(name).c_str(), w, h, 4, px.data(), w * 4);
    }

    std::string model;
};

// Everything the effects draw with and the ray tests read.
void ExpectSameModel(const Model& got, const Model& want) {
    EXPECT_EQ(got.name, want.name);
    ASSERT_EQ(got.materialCount, want.materialCount);
    for (uint32_t i = 0; i < want.materialCount; ++i) {
        SCOPED_TRACE("material " + std::to_string(i));
        EXPECT_EQ(got.materials[i].diffuse, want.materials[i].diffuse);
        EXPECT_EQ(got.materials[i].ambient, want.materials[i].ambient);
        EXPECT_EQ(got.materials[i].specular, want.materials[i].specular);
        EXPECT_EQ(got.materials[i].emissive, want.materials[i].emissive);
        EXPECT_EQ(got.materials[i].power, want.materials[i].power);
        const Texture &a = got.materialTextures[i], &b = want.materialTextures[i];
        EXPECT_EQ(a.texture != 0, b.texture != 0);
        EXPECT_EQ(a.Width(), b.Width());
        EXPECT_EQ(a.Height(), b.Height());
        EXPECT_EQ(a.imageInfo.mipLevels, b.imageInfo.mipLevels);
        EXPECT_EQ(a.fileName, b.fileName);
    }
    ASSERT_TRUE(got.mesh && want.mesh);
    ASSERT_EQ(got.mesh->SubsetCount(), want.mesh->SubsetCount());
    for (uint32_t i = 0; i < want.mesh->SubsetCount(); ++i) {
        EXPECT_EQ(got.mesh->data().subsets[i].indexStart, want.mesh->data().subsets[i].indexStart);
        EXPECT_EQ(got.mesh->data().subsets[i].indexCount, want.mesh->data().subsets[i].indexCount);
    }
    // The triangle of "First" and the quad of "Inner", hit straight on, and a miss.
    for (const Vec3 origin : {Vec3{10.2f, 0.2f, -5}, Vec3{1, 6, -5}, Vec3{50, 50, -5}}) {
        const platform::RayHit a = got.Intersect(origin, {0, 0, 1}), b = want.Intersect(origin, {0, 0, 1});
        EXPECT_EQ(a.hit, b.hit);
        EXPECT_EQ(a.distance, b.distance);
    }
}

TEST_F(ModelCacheTest, AModelReadAheadIsTheModelADirectLoadGives) {
    Model direct;
    ASSERT_TRUE(direct.Load(&device(), model));
    ASSERT_EQ(direct.materialCount, 3u);
    ASSERT_EQ(direct.materialTextures[0].Width(), 128);
    ASSERT_TRUE(direct.Intersect({10.2f, 0.2f, -5}, {0, 0, 1}).hit);
    struct Case {
        const char* name;
        bool waitForReading;
    };
    for (const Case c : {Case{"read ahead to the end", true}, Case{"asked for while queued or being read", false}}) {
        SCOPED_TRACE(c.name);
        ModelCache cache;
        cache.Prefetch({model});
        if (c.waitForReading) {
            cache.WaitForPrefetch();
            EXPECT_TRUE(cache.ReadingAhead(model)) << "read and waiting to be taken";
        }
        Model* got = cache.Get(model);
        ExpectSameModel(*got, direct);
        EXPECT_FALSE(cache.ReadingAhead(model));
        EXPECT_EQ(cache.Get(model), got);
        cache.Prefetch({model});
        EXPECT_FALSE(cache.ReadingAhead(model)) << "a cached model is not read again";
        cache.ReleaseAll();
    }
    EXPECT_TRUE(device().errors().empty()) << device().errors().front();
}

TEST_F(ModelCacheTest, AMissingFileReadAheadIsAnEmptyModelForTheWholeRunNamedOnce) {
    ModelCache cache;
    const std::string missing = OwnFile("nothing.x");
    testing::internal::CaptureStderr();
    cache.Prefetch({missing});
    cache.WaitForPrefetch();
    Model* empty = cache.Get(missing);
    EXPECT_EQ(cache.Get(missing), empty);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "korvelin: " + missing + ": cannot open: No such file or directory\n");
    EXPECT_EQ(empty->name, "nothing.x");
    EXPECT_EQ(empty->materialCount, 0u);
    EXPECT_FALSE(empty->mesh);
    EXPECT_FALSE(empty->Intersect({0, 10, 0}, {0, -1, 0}).hit);
    cache.Prefetch({missing});
    EXPECT_FALSE(cache.ReadingAhead(missing));
    EXPECT_EQ(cache.Get(missing), empty);
    EXPECT_EQ(cache.size(), 1u);
}

TEST_F(ModelCacheTest, ReleasingOrDestroyingTheCacheWhileItReadsAheadIsClean) {
    std::vector<std::string> files;
    for (int i = 0; i < 12; ++i) files.push_back(Write("copy" + std::to_string(i) + ".x", kTwoFramesX));
    {
        ModelCache cache;
        cache.Prefetch(files);
        cache.ReleaseAll();
        EXPECT_EQ(cache.size(), 0u);
        for (const std::string& f : files) EXPECT_FALSE(cache.ReadingAhead(f)) << f;
        // Still a working cache: a file dropped from the reading loads in Get.
        EXPECT_EQ(cache.Get(files[7])->materialCount, 3u);
        cache.Prefetch(files);
    }  // destroyed while reading ahead again
    EXPECT_TRUE(device().errors().empty()) << device().errors().front();
}

}  // namespace
