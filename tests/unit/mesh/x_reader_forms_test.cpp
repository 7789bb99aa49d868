// One model in every form the reader takes (text, binary with 32- and 64-bit floats, both
// compressed) gives one mesh; material lists resolve to the subsets the game draws.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "platform/mesh/x_file_loader.hpp"
#include "x_test_writers.hpp"

using namespace platform;

namespace {

// A triangle moved by (10, 0, 0) with a normal, texture coordinates and a textured material,
// after a template definition the reader skips.
const char* kTriangleText = R"(xof 0303txt 0032
template Unused { <11111111-2222-3333-4444-555555555555> DWORD x; [...] }
Frame F {
  FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }
  Mesh M {
    3; 0;0;0;, 0;1;0;, 1;0.25;0;;
    1; 3;0,1,2;;
    MeshNormals { 1; 0;0;-1;; 1; 3;0,0,0;; }
    MeshTextureCoords { 3; 0;0;, 0;1;, 1;0.1;; }
    MeshMaterialList { 1; 1; 0;; Material Red { 1;0.5;0;1;; 5; 0.5;0.5;0.5;; 0;0;0;; TextureFilename { "tex\\red.png"; } } }
  }
}
)";

std::string TriangleBinary(bool doubles) {
    XBinaryWriter w(doubles);
    w.Token(0x1f).Name("Unused").Open().Token(5).Raw(std::string(16, '\x11')).Token(0x29).Name("x").Token(0x14).Close();
    w.Name("Frame").Name("F").Open();
    w.Name("FrameTransformMatrix").Open().Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1}).Close();
    w.Name("Mesh").Name("M").Open().Ints({3}).Floats({0, 0, 0, 0, 1, 0, 1, 0.25, 0}).Ints({1, 3, 0, 1, 2});
    w.Name("MeshNormals").Open().Ints({1}).Floats({0, 0, -1}).Ints({1, 3, 0, 0, 0}).Close();
    w.Name("MeshTextureCoords").Open().Ints({3}).Floats({0, 0, 0, 1, 1, 0.1}).Close();
    w.Name("MeshMaterialList").Open().Ints({1, 1, 0});
    w.Name("Material").Name("Red").Open().Floats({1, 0.5, 0, 1, 5, 0.5, 0.5, 0.5, 0, 0, 0});
    w.Name("TextureFilename").Open().String("tex\\red.png").Close();
    w.Close().Close().Close().Close();
    return w.Bytes();
}

void ExpectSame(const MeshData& a, const MeshData& b) {
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    for (size_t i = 0; i < a.vertices.size(); ++i) {
        EXPECT_EQ(a.vertices[i].position, b.vertices[i].position) << i;
        EXPECT_EQ(a.vertices[i].normal, b.vertices[i].normal) << i;
        EXPECT_EQ(a.vertices[i].u, b.vertices[i].u) << i;
        EXPECT_EQ(a.vertices[i].v, b.vertices[i].v) << i;
    }
    EXPECT_EQ(a.indices, b.indices);
    ASSERT_EQ(a.materials.size(), b.materials.size());
    for (size_t i = 0; i < a.materials.size(); ++i) {
        EXPECT_EQ(a.materials[i].diffuse, b.materials[i].diffuse);
        EXPECT_EQ(a.materials[i].specular, b.materials[i].specular);
        EXPECT_EQ(a.materials[i].power, b.materials[i].power);
        EXPECT_EQ(a.materials[i].texturePath, b.materials[i].texturePath);
        EXPECT_EQ(a.subsets[i].indexCount, b.subsets[i].indexCount);
    }
}

MeshData Read(const std::string& bytes, const std::string& name = "models/m.x") {
    MeshData mesh;
    std::string error;
    EXPECT_TRUE(ReadXFile(bytes, name, mesh, error)) << error;
    return mesh;
}

TEST(XReaderForms, EveryFormOfOneModelGivesTheSameMesh) {
    const MeshData text = Read(kTriangleText);
    ASSERT_EQ(text.FaceCount(), 1u);
    EXPECT_EQ(text.vertices[text.indices[2]].position, (Vec3{11, 0.25f, 0}));
    EXPECT_EQ(text.vertices[text.indices[2]].v, 0.1f);
    EXPECT_EQ(text.materials[0].texturePath, "models/tex/red.png");

    const struct {
        const char* form;
        std::string bytes;
    } forms[] = {
        {"binary, 32-bit floats", TriangleBinary(false)},
        {"binary, 64-bit floats", TriangleBinary(true)},
        {"tzip in 64-byte blocks", MszipCompress(kTriangleText, 64)},
        {"bzip", MszipCompress(TriangleBinary(false))},
    };
    for (const auto& f : forms) {
        SCOPED_TRACE(f.form);
        ExpectSame(Read(f.bytes), text);
    }
}

TEST(XReaderForms, TheLargestMapCompressedInManyBlocksReadsAsItsText) {
    std::ifstream in(KORVELIN_GAME_DIR "/data/model/mapB.x", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GT(text.size(), 100u * 32768);
    ExpectSame(Read(MszipCompress(text)), Read(text));
}

// A mesh of two triangles whose material list is `list` ("" for none), after `before`.
std::string TwoTriangles(const std::string& list, const std::string& before = "") {
    return "xof 0303txt 0032\n" + before +
           "Mesh M { 4; 0;0;0;, 0;1;0;, 1;1;0;, 1;0;0;; 2; 3;0,1,2;, 3;0,2,3;; " + list + " }\n";
}
std::string Mat(const std::string& name, float red) {
    return "Material " + name + " { " + std::to_string(red) + ";0;0;1;; 1; 0;0;0;; 0;0;0;; }";
}

TEST(XReaderForms, MaterialListsGiveTheGamesSubsets) {
    struct Case {
        const char* what;
        std::string file;
        std::vector<float> reds;           // the subsets' diffuse red, in order
        std::vector<uint32_t> faceCounts;  // the subsets' faces
    } cases[] = {
        {"no list: the default grey", TwoTriangles(""), {0.5f}, {2}},
        {"one index for all faces", TwoTriangles("MeshMaterialList { 1; 1; 0;; " + Mat("A", 0.25f) + " }"), {0.25f}, {2}},
        {"a loose material nobody names is no subset",
         TwoTriangles("MeshMaterialList { 1; 2; 0,0;; " + Mat("A", 0.25f) + " }", Mat("Loose", 0.75f)), {0.25f}, {2}},
        {"a named loose material comes first",
         TwoTriangles("MeshMaterialList { 2; 2; 1,0;; " + Mat("A", 0.25f) + " { Loose } }", Mat("Loose", 0.75f)),
         {0.75f, 0.25f}, {1, 1}},
        {"a reference to a material defined after it",
         TwoTriangles("MeshMaterialList { 1; 2; 0,0;; { Late } }") + Mat("Late", 0.125f), {0.125f}, {2}},
        {"an unused entry keeps an empty subset",
         TwoTriangles("MeshMaterialList { 2; 2; 1,1;; " + Mat("A", 0.25f) + Mat("B", 0.5f) + " }"), {0.25f, 0.5f}, {0, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const MeshData mesh = Read(c.file);
        ASSERT_EQ(mesh.materials.size(), c.reds.size());
        for (size_t i = 0; i < c.reds.size(); ++i) {
            EXPECT_FLOAT_EQ(mesh.materials[i].diffuse.r, c.reds[i]) << i;
            EXPECT_EQ(mesh.subsets[i].FaceCount(), c.faceCounts[i]) << i;
        }
    }
}

TEST(XReaderForms, MeshesOfOneMaterialReferenceShareOneSubset) {
    const std::string mesh = "Mesh { 3; 0;0;0;, 0;1;0;, 1;0;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; { Shared } } }\n";
    const MeshData m = Read("xof 0303txt 0032\n" + Mat("Shared", 1) + "\nFrame A { " + mesh + " }\nFrame B { " + mesh + " }\n");
    ASSERT_EQ(m.subsets.size(), 1u);
    EXPECT_EQ(m.subsets[0].FaceCount(), 2u);
}

}  // namespace
