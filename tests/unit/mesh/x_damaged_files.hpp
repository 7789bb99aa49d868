// Damaged .x files, one per way a file can break, each with what its refusal must say. Shared by
// the reader's tests and its benchmark.
#pragma once

#include <string>
#include <vector>

#include "x_test_writers.hpp"

struct DamagedXFile {
    const char* what;
    std::string bytes;
    const char* message;  // part of the refusal
};

inline std::string TextTriangle(const std::string& counts, const std::string& faces, const std::string& extra = "") {
    return "xof 0303txt 0032\nMesh M {\n " + counts + "\n 0;0;0;, 0;1;0;, 1;0;0;;\n " + faces + "\n" + extra + "}\n";
}

inline XBinaryWriter BinaryMeshStart(uint32_t vertexCount, uint32_t floatCount) {
    XBinaryWriter w;
    w.Name("Mesh").Open().Ints({vertexCount}).Floats(std::vector<double>(floatCount, 0.5));
    return w;
}

inline std::vector<DamagedXFile> DamagedXFiles() {
    std::vector<DamagedXFile> files;
    const std::string tri = "1; 3;0,1,2;;";
    files.push_back({"text: vertex count mangled upwards", TextTriangle("300000003;", tri), "more than the"});
    files.push_back({"text: vertex count one too many", TextTriangle("4;", tri), "expected a whole number, found '}'"});
    files.push_back({"text: face count one too few", TextTriangle("3;", "0; 3;0,1,2;;"), "a count does not match"});
    files.push_back({"text: face corner count mangled", TextTriangle("3;", "1; 1000000000;0,1,2;;"), "face corner count"});
    files.push_back({"text: face index past the vertices", TextTriangle("3;", "1; 3;0,1,7;;"),
                     "face 0 names vertex 7, but the mesh has 3"});
    files.push_back({"text: normal index past the normals",
                     TextTriangle("3;", tri, "MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; }\n"), "names normal 1"});
    files.push_back({"text: texture coordinates for other vertices",
                     TextTriangle("3;", tri, "MeshTextureCoords { 2; 0;0;, 1;1;; }\n"), "2 coordinates for 3 vertices"});
    files.push_back({"text: face material past the list",
                     TextTriangle("3;", tri, "MeshMaterialList { 1; 1; 4;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } }\n"),
                     "uses material 4, but the list holds 1"});
    files.push_back({"text: texture name without its closing quote",
                     TextTriangle("3;", tri, "MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; "
                                             "TextureFilename { \"grid.png; } } }\n"),
                     "a string without its closing quote"});
    files.push_back({"text: a reference to no material",
                     TextTriangle("3;", tri, "MeshMaterialList { 1; 1; 0;; { Nowhere } }\n"), "'Nowhere'"});
    files.push_back({"text: a number past the range of a float", TextTriangle("3;", tri).replace(29, 1, "1e999"),
                     "out of the range"});
    std::string deepFrames = "xof 0303txt 0032\n";
    for (int i = 0; i < 100000; ++i) deepFrames += "Frame{";
    files.push_back({"text: frames nested 100000 deep", deepFrames, "nested deeper than 64"});
    std::string deepUnknown = "xof 0303txt 0032\nThing {";
    for (int i = 0; i < 100000; ++i) deepUnknown += "{";
    files.push_back({"text: unknown objects nested 100000 deep", deepUnknown, "nested deeper than 64"});
    files.push_back({"text: cut off inside a mesh", TextTriangle("3;", tri).substr(0, 40), "end of the file"});

    files.push_back({"binary: list count mangled",
                     XBinaryWriter().Name("Mesh").Open().Token(6).Dword(0x7fffffff).Dword(3).Bytes(),
                     "a list of 2147483647 numbers"});
    files.push_back({"binary: vertex count mangled upwards",
                     BinaryMeshStart(1000, 9).Ints({1, 3, 0, 1, 2}).Close().Bytes(), "more than the"});
    files.push_back({"binary: vertex count one too many",
                     BinaryMeshStart(4, 9).Ints({1, 3, 0, 1, 2}).Close().Bytes(), "expected a float"});
    files.push_back({"binary: name length past the end", XBinaryWriter().Token(1).Dword(1u << 30).Raw("Mesh").Bytes(),
                     "past the end of the file"});
    files.push_back({"binary: texture name without its terminator",
                     BinaryMeshStart(3, 9).Ints({1, 3, 0, 1, 2}).Name("MeshMaterialList").Open().Ints({1, 1, 0})
                         .Name("Material").Open().Floats(std::vector<double>(11, 1.0))
                         .Name("TextureFilename").Open().String("grid.png", 0).Close().Close().Close().Close().Bytes(),
                     "a string without its terminator"});
    files.push_back({"binary: unknown token", XBinaryWriter().Token(0x99).Bytes(), "unknown token code 153"});

    const std::string text = TextTriangle("3;", tri);
    std::string cut = MszipCompress(text);
    cut.resize(cut.size() - 10);
    files.push_back({"compressed: a block cut off", cut, "compressed bytes, but only"});
    std::string past = MszipCompress(text);
    past[20] = static_cast<char>(past[20] - 1);  // the block's inflated size, one byte short
    files.push_back({"compressed: a block inflating past its declared size", past, "inflates past its declared"});
    std::string total = MszipCompress(text);
    total[16] = static_cast<char>(total[16] - 1);  // the file's inflated size, one byte short
    files.push_back({"compressed: blocks past the declared total", total, "more than the declared"});
    std::string huge = MszipCompress(text);
    huge.replace(16, 4, std::string("\xff\xff\xff\x7f", 4));
    files.push_back({"compressed: a declared total of 2 GB", huge, "more than the"});
    std::string garbage = MszipCompress(text);
    for (size_t i = 26; i < garbage.size(); ++i) garbage[i] = static_cast<char>(0xff);
    files.push_back({"compressed: a block that is not deflate data", garbage, "not deflate data"});

    files.push_back({"header: unknown form", "xof 0303zip 0032 Mesh {}", "unknown form"});
    files.push_back({"header: unknown float size", "xof 0303txt 0016 Mesh {}", "float size"});
    return files;
}
