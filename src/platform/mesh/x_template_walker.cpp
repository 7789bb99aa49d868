// The .x object walker: what each object the game needs holds, in the order the file holds it.
#include "platform/mesh/x_template_walker.hpp"

#include <algorithm>

#include "platform/mesh/x_material_table.hpp"

namespace platform {

namespace {

std::string Describe(const XToken& t) {
    switch (t.kind) {
        case XToken::End: return "the end of the file";
        case XToken::Name: return "'" + std::string(t.text) + "'";
        case XToken::String: return "a string";
        case XToken::Number: return "a number";
        case XToken::Guid: return "a GUID";
        case XToken::Open: return "'{'";
        case XToken::Close: return "'}'";
        case XToken::Other: break;
    }
    return "a template's punctuation";
}

class Walker {
public:
    explicit Walker(XLexer& lexer) : lex_(lexer) {}

    XScene Run() {
        for (;;) {
            const XToken t = lex_.Next();
            if (t.kind == XToken::End) break;
            if (t.kind != XToken::Name) Unexpected(t, "a template or a data object");
            if (t.text == "template") {
                SkipTemplate();
                continue;
            }
            const std::string_view name = OpenObject(t, 1);
            if (t.text == "Frame") {
                ReadFrame(scene_.root.children.emplace_back(), 1);
            } else if (t.text == "Mesh") {
                ReadMesh(scene_.root.meshes.emplace_back(), 1);
            } else if (t.text == "Material") {
                // Only there to be referred to by name; a subset only where a mesh does so.
                ReadMaterial(scene_.looseMaterials.emplace_back(), name, 1);
            } else {
                SkipBody(1);
            }
        }
        ResolveMaterials(scene_, lex_);
        return std::move(scene_);
    }

private:
    [[noreturn]] void Unexpected(const XToken& t, const std::string& wanted) const {
        lex_.Fail(t.offset, "expected " + wanted + ", found " + Describe(t));
    }

    // After an object's template name: an optional instance name, an optional GUID, then '{'.
    // Returns the instance name (empty when there is none).
    std::string_view OpenObject(const XToken& type, int depth) {
        if (depth > kXMaxDepth) lex_.Fail(type.offset, "objects nested deeper than " + std::to_string(kXMaxDepth));
        XToken t = lex_.Next();
        std::string_view name;
        if (t.kind == XToken::Name) {
            name = t.text;
            t = lex_.Next();
        }
        if (t.kind == XToken::Guid) t = lex_.Next();
        if (t.kind != XToken::Open) Unexpected(t, "'{' to open " + std::string(type.text));
        return name;
    }

    void ExpectClose(const char* what) {
        const XToken t = lex_.Next();
        if (t.kind != XToken::Close) Unexpected(t, std::string("'}' to end ") + what);
    }

    // Skips what is left of an object whose '{' has been read, through its '}'.
    void SkipBody(int depth) {
        for (int level = 1; level > 0;) {
            const XToken t = lex_.Next();
            if (t.kind == XToken::End) lex_.Fail(t.offset, "the file ends inside an object");
            if (t.kind == XToken::Open && depth + level++ > kXMaxDepth)
                lex_.Fail(t.offset, "objects nested deeper than " + std::to_string(kXMaxDepth));
            if (t.kind == XToken::Close) --level;
        }
    }

    void SkipTemplate() {
        const XToken name = lex_.Next();
        if (name.kind != XToken::Name) Unexpected(name, "a template name");
        const XToken open = lex_.Next();
        if (open.kind != XToken::Open) Unexpected(open, "'{' to open template " + std::string(name.text));
        SkipBody(1);
    }

    // The next child of an object whose own data has been read: false at its '}'. Numbers here
    // mean that a count and the data after it disagree.
    bool NextChild(XToken& t, const char* owner) {
        t = lex_.Next();
        switch (t.kind) {
            case XToken::Close: return false;
            case XToken::Name: return true;
            case XToken::Open: return true;  // a reference to an object defined elsewhere
            case XToken::Number:
                lex_.Fail(t.offset, std::string("a number where ") + owner +
                                        " holds only objects: a count does not match the data before it");
            default: Unexpected(t, std::string("an object or '}' in ") + owner);
        }
    }

    // The next named child, opened; references to objects defined elsewhere are skipped. False
    // at the owner's '}'.
    bool NextObject(XToken& t, const char* owner, int depth) {
        while (NextChild(t, owner)) {
            if (t.kind != XToken::Open) {
                OpenObject(t, depth + 1);
                return true;
            }
            SkipBody(depth + 1);
        }
        return false;
    }

    void ReadFrame(XFrame& frame, int depth) {
        XToken t;
        while (NextObject(t, "Frame", depth)) {
            if (t.text == "Frame") {
                ReadFrame(frame.children.emplace_back(), depth + 1);
            } else if (t.text == "FrameTransformMatrix") {
                for (auto& row : frame.transform.m)
                    for (float& v : row) v = lex_.ReadFloat();
                ExpectClose("FrameTransformMatrix");
            } else if (t.text == "Mesh") {
                ReadMesh(frame.meshes.emplace_back(), depth + 1);
            } else {
                SkipBody(depth + 1);
            }
        }
    }

    void ReadMesh(XMesh& mesh, int depth) {
        const uint32_t vertexCount = lex_.ReadCount();
        lex_.CheckFits(vertexCount, 3, "vertex");
        mesh.positions.resize(vertexCount);
        for (Vec3& p : mesh.positions) p = {lex_.ReadFloat(), lex_.ReadFloat(), lex_.ReadFloat()};

        const uint32_t faceCount = lex_.ReadCount();
        lex_.CheckFits(faceCount, 1, "face");
        mesh.faceSizes.resize(faceCount);
        mesh.corners.reserve(std::min<uint64_t>(uint64_t{faceCount} * 3, lex_.NumbersLeft()));
        for (uint32_t f = 0; f < faceCount; ++f) {
            const uint32_t size = ReadCornerCount();
            mesh.faceSizes[f] = size;
            for (uint32_t k = 0; k < size; ++k) {
                const uint32_t index = lex_.ReadCount();
                if (index >= vertexCount)
                    lex_.FailHere("face " + std::to_string(f) + " names vertex " + std::to_string(index) +
                                  ", but the mesh has " + std::to_string(vertexCount));
                mesh.corners.push_back(index);
            }
        }

        XToken t;
        while (NextObject(t, "Mesh", depth)) {
            if (t.text == "MeshNormals")
                ReadNormals(mesh);
            else if (t.text == "MeshTextureCoords" && mesh.uvs.empty())
                ReadTextureCoords(mesh);  // later sets are for other texture stages
            else if (t.text == "MeshMaterialList")
                ReadMaterialList(mesh, depth + 1);
            else
                SkipBody(depth + 1);
        }
    }

    // A face's corner count, also counted against the whole file's limit.
    uint32_t ReadCornerCount() {
        const uint32_t size = lex_.ReadCount();
        lex_.CheckFits(size, 1, "face corner");
        scene_.corners += size;
        if (scene_.corners > kXMaxCorners)
            lex_.FailHere("more than " + std::to_string(kXMaxCorners) + " face corners in the file");
        return size;
    }

    void ReadNormals(XMesh& mesh) {
        const uint32_t normalCount = lex_.ReadCount();
        lex_.CheckFits(normalCount, 3, "normal");
        mesh.normals.resize(normalCount);
        for (Vec3& n : mesh.normals) n = {lex_.ReadFloat(), lex_.ReadFloat(), lex_.ReadFloat()};
        const uint32_t faceCount = lex_.ReadCount();
        if (faceCount != mesh.faceSizes.size())
            lex_.FailHere("MeshNormals has " + std::to_string(faceCount) + " faces, the mesh " +
                          std::to_string(mesh.faceSizes.size()));
        mesh.normalCorners.clear();
        mesh.normalCorners.reserve(mesh.corners.size());
        for (uint32_t f = 0; f < faceCount; ++f) {
            const uint32_t size = lex_.ReadCount();
            if (size != mesh.faceSizes[f])
                lex_.FailHere("normal face " + std::to_string(f) + " has " + std::to_string(size) +
                              " corners, the mesh's face " + std::to_string(mesh.faceSizes[f]));
            for (uint32_t k = 0; k < size; ++k) {
                const uint32_t index = lex_.ReadCount();
                if (index >= normalCount)
                    lex_.FailHere("normal face " + std::to_string(f) + " names normal " + std::to_string(index) +
                                  ", but there are " + std::to_string(normalCount));
                mesh.normalCorners.push_back(index);
            }
        }
        ExpectClose("MeshNormals");
    }

    void ReadTextureCoords(XMesh& mesh) {
        const uint32_t count = lex_.ReadCount();
        if (count != mesh.positions.size())
            lex_.FailHere("MeshTextureCoords has " + std::to_string(count) + " coordinates for " +
                          std::to_string(mesh.positions.size()) + " vertices");
        lex_.CheckFits(count, 2, "texture coordinate");
        mesh.uvs.resize(uint64_t{count} * 2);
        for (float& v : mesh.uvs) v = lex_.ReadFloat();
        ExpectClose("MeshTextureCoords");
    }

    void ReadMaterialList(XMesh& mesh, int depth) {
        const size_t listStart = lex_.Position();
        lex_.ReadCount();  // the number of materials: the objects that follow are what counts
        const uint32_t indexCount = lex_.ReadCount();
        const size_t faceCount = mesh.faceSizes.size();
        // Some exporters give a single index for all faces.
        if (indexCount != faceCount && indexCount != 1)
            lex_.FailHere("MeshMaterialList has " + std::to_string(indexCount) + " face materials for " +
                          std::to_string(faceCount) + " faces");
        lex_.CheckFits(indexCount, 1, "face material");
        mesh.faceMaterials.resize(indexCount);
        for (uint32_t& m : mesh.faceMaterials) m = lex_.ReadCount();
        mesh.faceMaterials.resize(faceCount, faceCount != 0 && indexCount == 1 ? mesh.faceMaterials[0] : 0);

        mesh.materials.clear();
        XToken t;
        while (NextChild(t, "MeshMaterialList")) {
            if (t.kind == XToken::Open) {
                mesh.materials.push_back(ReadReference(t));
                continue;
            }
            const std::string_view name = OpenObject(t, depth + 1);
            if (t.text == "Material") {
                XMaterialEntry& entry = mesh.materials.emplace_back();
                entry.offset = t.offset;
                ReadMaterial(entry.material, name, depth + 1);
            } else {
                SkipBody(depth + 1);
            }
        }
        for (size_t f = 0; f < faceCount; ++f) {
            if (mesh.faceMaterials[f] >= mesh.materials.size())
                lex_.Fail(listStart, "face " + std::to_string(f) + " uses material " +
                                         std::to_string(mesh.faceMaterials[f]) + ", but the list holds " +
                                         std::to_string(mesh.materials.size()));
        }
    }

    // "{ Name }" or "{ Name <GUID> }": a material defined elsewhere in the file.
    XMaterialEntry ReadReference(const XToken& open) {
        XMaterialEntry entry;
        entry.reference = true;
        entry.offset = open.offset;
        XToken t = lex_.Next();
        if (t.kind != XToken::Name) Unexpected(t, "the name of a material");
        entry.material.name = t.text;
        t = lex_.Next();
        if (t.kind == XToken::Guid) t = lex_.Next();
        if (t.kind != XToken::Close) Unexpected(t, "'}' to end a material reference");
        return entry;
    }

    void ReadMaterial(XMaterial& material, std::string_view name, int depth) {
        material.name = name;
        material.faceColor = {lex_.ReadFloat(), lex_.ReadFloat(), lex_.ReadFloat(), lex_.ReadFloat()};
        material.power = lex_.ReadFloat();
        material.specular = {lex_.ReadFloat(), lex_.ReadFloat(), lex_.ReadFloat()};
        material.emissive = {lex_.ReadFloat(), lex_.ReadFloat(), lex_.ReadFloat()};
        XToken t;
        while (NextObject(t, "Material", depth)) {
            if (t.text == "TextureFilename" || t.text == "TextureFileName") {
                const XToken file = lex_.Next();
                if (file.kind != XToken::String) Unexpected(file, "the texture's file name as a string");
                if (material.texture.empty()) material.texture = file.text;
                ExpectClose("TextureFilename");
            } else {
                SkipBody(depth + 1);
            }
        }
    }

    XLexer& lex_;
    XScene scene_;
};

}  // namespace

XScene WalkXBody(XLexer& lexer) { return Walker(lexer).Run(); }

}  // namespace platform
