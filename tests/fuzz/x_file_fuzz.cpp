// Fuzz target: any bytes read as a .x model file. Reading must not crash, leak, read outside the
// buffer or run away; a refusal names the file and the place, and a mesh that is read holds
// together (indices in range, subsets covering the faces, one material each).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/mesh/x_file_loader.hpp"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    platform::MeshData mesh;
    std::string error;
    if (!platform::ReadXFile(bytes, "fuzz/model.x", mesh, error)) {
        const bool header = error.find("no \"xof \" header") != std::string::npos;
        const bool placed = error.find(": line ") != std::string::npos || error.find(": offset ") != std::string::npos;
        const bool whole = error.find("no mesh") != std::string::npos || error.find("no faces") != std::string::npos;
        if (error.rfind("fuzz/model.x: ", 0) != 0 || !(header || placed || whole) || !mesh.Empty()) std::abort();
        return 0;
    }
    if (mesh.Empty() || mesh.indices.size() % 3 != 0 || mesh.subsets.size() != mesh.materials.size()) std::abort();
    for (uint32_t index : mesh.indices)
        if (index >= mesh.vertices.size()) std::abort();
    uint32_t next = 0;
    for (const platform::MeshSubset& s : mesh.subsets) {
        if (s.indexStart != next || s.indexCount % 3 != 0) std::abort();
        next += s.indexCount;
    }
    if (next != mesh.indices.size()) std::abort();
    const platform::RayHit hit = mesh.Intersect({0, 100, 0}, {0.01f, -1, 0.02f});
    if (hit.hit && hit.face >= mesh.FaceCount()) std::abort();
    return 0;
}
