// korvelin-assets model and texture: what people making assets see, and failures on bad files.
#include <gtest/gtest.h>
#include <stb_image_write.h>

#include <memory>
#include <string>

#include "asset_tool_run.hpp"
#include "x_file_test_files.hpp"

namespace {

class AssetToolTest : public ::testing::Test {
protected:
    TempFolder folder_{"korvelin_asset_tool"};
};

TEST_F(AssetToolTest, ModelReportsSubsetsMaterialsBoundsAndTheRay) {
    const std::string model = folder_.Write("models/two.x", kTwoFramesX);
    // The blue material's texture exists (100 x 60 becomes 128 x 64); the red one's does not.
    std::vector<uint8_t> px(100 * 60 * 4, 200);
    ASSERT_TRUE(stbi_write_png((folder_.path / "models/blue.png").c_str(), 100, 60, 4, px.data(), 100 * 4));

    const ToolResult json = RunTool("--json model '" + model + "' --ray 10.2 0.2 -5 0 0 2");
    ASSERT_EQ(json.status, 0) << json.out;
    for (const char* part : {"\"subsetCount\":3", "\"faces\":4", "\"vertices\":", "\"bounds\":{\"min\":[0,0,0],\"max\":[11,7,6]}",
                             "\"diffuse\":[1,0.5,0,1],\"ambient\":[1,0.5,0,1]", "\"power\":20",
                             "\"textureFound\":true,\"textureWidth\":128,\"textureHeight\":64",
                             "red.png\",\"textureFound\":false", "\"hit\":true,\"face\":0,\"distance\":2.5"})
        EXPECT_TRUE(Has(json.out, part)) << part << "\n" << json.out;

    const ToolResult text = RunTool("model '" + model + "' --ray 50 50 -5 0 0 1");
    ASSERT_EQ(text.status, 0) << text.out;
    EXPECT_TRUE(Has(text.out, "subsets 3")) << text.out;
    EXPECT_TRUE(Has(text.out, "texture none (drawn white)")) << text.out;
    EXPECT_TRUE(Has(text.out, "no hit")) << text.out;
}

TEST_F(AssetToolTest, TextureReportsBothSizes) {
    std::vector<uint8_t> px(300 * 100 * 4, 255);
    const std::string png = (folder_.path / "wide.png").string();
    ASSERT_TRUE(stbi_write_png(png.c_str(), 300, 100, 4, px.data(), 300 * 4));
    const ToolResult json = RunTool("--json texture '" + png + "'");
    ASSERT_EQ(json.status, 0) << json.out;
    for (const char* part : {"\"width\":300,\"height\":100", "\"sourceRect\":[0,0,300,100]",
                             "\"nonPowerOfTwo\":{\"width\":300,\"height\":100,\"levels\":9}",
                             "\"powerOfTwo\":{\"width\":512,\"height\":128,\"levels\":10}"})
        EXPECT_TRUE(Has(json.out, part)) << part << "\n" << json.out;
    const ToolResult text = RunTool("texture '" + png + "'");
    EXPECT_EQ(text.status, 0);
    EXPECT_TRUE(Has(text.out, "texture 512 x 128")) << text.out;
}

TEST_F(AssetToolTest, UnreadableFilesAndBadArgumentsExitNonZeroWithAMessage) {
    const std::string missing = (folder_.path / "missing.x").string();
    const std::string notPicture = folder_.Write("not.png", "hello");
    const std::string model = folder_.Write("sq.x", SquareX(1));
    struct Case {
        std::string args;
        std::string message;
    } cases[] = {
        {"model '" + missing + "'", "missing.x: cannot open: No such file or directory"},
        {"--json model '" + notPicture + "'", "not a DirectX .x file"},
        {"texture '" + notPicture + "'", "not.png: not a readable picture"},
        {"texture '" + missing + "'", "missing.x: cannot open: No such file or directory"},
        // Folders and devices where files belong are refused, not read until memory runs out.
        {"model '" + folder_.path.string() + "'", folder_.path.string() + ": is a folder, not a file"},
        {"texture /dev/zero", "/dev/zero: is not a file (a device or a socket)"},
        {"wave '" + folder_.path.string() + "'", "is a folder, not a file"},
        {"wave /dev/zero", "is not a file (a device or a socket)"},
        {"model '" + model + "' --ray 1 2 3", "--ray needs six numbers"},
        {"model '" + model + "' --ray 1 2 3 4 5 x", "'x' is not a number"},
        {"model", "usage"},
        {"texture", "usage"},
    };
    for (const Case& c : cases) {
        const ToolResult r = RunTool(c.args);
        EXPECT_NE(r.status, 0) << c.args;
        EXPECT_TRUE(Has(r.out, c.message)) << c.args << "\n" << r.out;
    }
}

}  // namespace
