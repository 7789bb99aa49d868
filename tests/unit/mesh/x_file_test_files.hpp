// Small .x model files written by the tests, and a temporary folder to hold them.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

struct TempFolder {
    std::filesystem::path path;
    explicit TempFolder(const std::string& name) {
        path = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()));
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string Write(const std::string& name, const std::string& text) const {
        const std::filesystem::path file = path / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << text;
        return file.string();
    }
};

// Two frames: "First" moves a red textured triangle by (10, 0, 0); "Second" scales by 2 and
// moves by (0, 5, 0) its child "Inner", which moves by (0, 0, 3) a mesh with a quad (blue) and a
// triangle (green, untextured). Material order in the file: red, green, blue.
inline const char* kTwoFramesX = R"(xof 0303txt 0032
Frame First {
  FrameTransformMatrix {
    1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 10.0,0.0,0.0,1.0;;
  }
  Mesh Tri {
    3;
    0.0;0.0;0.0;,
    0.0;1.0;0.0;,
    1.0;0.0;0.0;;
    1;
    3;0,1,2;;
    MeshNormals {
      1;
      0.0;0.0;-1.0;;
      1;
      3;0,0,0;;
    }
    MeshTextureCoords {
      3;
      0.0;0.0;,
      0.0;1.0;,
      1.0;0.25;;
    }
    MeshMaterialList {
      1;
      1;
      0;;
      Material Red {
        1.0;0.5;0.0;1.0;;
        5.0;
        0.5;0.5;0.5;;
        0.0;0.0;0.0;;
        TextureFilename { "tex\\red.png"; }
      }
    }
  }
}
Frame Second {
  FrameTransformMatrix {
    2.0,0.0,0.0,0.0, 0.0,2.0,0.0,0.0, 0.0,0.0,2.0,0.0, 0.0,5.0,0.0,1.0;;
  }
  Frame Inner {
    FrameTransformMatrix {
      1.0,0.0,0.0,0.0, 0.0,1.0,0.0,0.0, 0.0,0.0,1.0,0.0, 0.0,0.0,3.0,1.0;;
    }
    Mesh Quad {
      4;
      0.0;0.0;0.0;,
      0.0;1.0;0.0;,
      1.0;1.0;0.0;,
      1.0;0.0;0.0;;
      2;
      4;0,1,2,3;,
      3;0,2,3;;
      MeshMaterialList {
        2;
        2;
        1,
        0;;
        Material Green {
          0.0;1.0;0.0;0.5;;
          0.0;
          0.0;0.0;0.0;;
          0.0;0.0;0.0;;
        }
        Material Blue {
          0.0;0.0;1.0;1.0;;
          20.0;
          1.0;1.0;1.0;;
          0.2;0.3;0.4;;
          TextureFilename { "blue.png"; }
        }
      }
    }
  }
}
)";

// A square of side 2 centred on the line x = xCentre, y = 0 at z = zPlane, as two clockwise
// triangles (front face towards -z), with one untextured white material.
inline std::string SquareX(float zPlane, float xCentre = 0.0f) {
    const std::string z = std::to_string(zPlane);
    const std::string x0 = std::to_string(xCentre - 1.0f), x1 = std::to_string(xCentre + 1.0f);
    return "xof 0303txt 0032\nMesh Square {\n 4;\n " + x0 + ";-1.0;" + z + ";,\n " + x0 + ";1.0;" + z + ";,\n " + x1 +
           ";1.0;" + z + ";,\n " + x1 + ";-1.0;" + z + ";;\n 2;\n 3;0,1,2;,\n 3;0,2,3;;\n MeshMaterialList {\n  1;\n  2;\n  0,\n  0;;\n"
           "  Material { 1.0;1.0;1.0;1.0;; 0.0; 0.0;0.0;0.0;; 0.0;0.0;0.0;; }\n }\n}\n";
}
