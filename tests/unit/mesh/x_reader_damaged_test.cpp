// Damaged model files are refused with the file, the place and what was wrong; none crashes,
// reads past its buffer or allocates more than it holds (this also runs under ASan and UBSan).
#include <gtest/gtest.h>

#include "platform/mesh/x_file_loader.hpp"
#include "x_damaged_files.hpp"

using namespace platform;

namespace {

TEST(XReaderDamaged, EveryDamagedFileIsRefusedWithWhereAndWhat) {
    for (const DamagedXFile& f : DamagedXFiles()) {
        SCOPED_TRACE(f.what);
        MeshData mesh;
        std::string error;
        EXPECT_FALSE(ReadXFile(f.bytes, "data/model/damaged.x", mesh, error));
        EXPECT_TRUE(mesh.Empty());
        EXPECT_EQ(error.rfind("data/model/damaged.x: ", 0), 0u) << error;
        EXPECT_NE(error.find(f.message), std::string::npos) << error;
        const bool placed = error.find(": line ") != std::string::npos || error.find(": offset ") != std::string::npos;
        EXPECT_TRUE(placed) << error;
    }
}

TEST(XReaderDamaged, TextRefusalsNameTheLineAndBinaryOnesTheOffset) {
    struct Case {
        std::string bytes;
        const char* where;
    } cases[] = {
        {TextTriangle("3;", "1; 3;0,1,7;;"), "damaged.x: line 5: face 0"},
        {MszipCompress(TextTriangle("3;", "1; 3;0,1,7;;")), "damaged.x: line 5 of the inflated text: face 0"},
        {XBinaryWriter().Name("Mesh").Open().Token(6).Dword(0x7fffffff).Bytes(), "damaged.x: offset 28: a list"},
        {MszipCompress(XBinaryWriter().Name("Mesh").Open().Token(6).Dword(0x7fffffff).Bytes()),
         "damaged.x: offset 12 of the inflated data: a list"},
    };
    for (const Case& c : cases) {
        MeshData mesh;
        std::string error;
        EXPECT_FALSE(ReadXFile(c.bytes, "damaged.x", mesh, error));
        EXPECT_EQ(error.rfind(c.where, 0), 0u) << error;
    }
}

}  // namespace
