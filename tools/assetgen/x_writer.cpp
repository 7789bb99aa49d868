// Writes meshes as DirectX .x text files.
#include "x_writer.hpp"

#include <charconv>

void AppendFloat(std::string& out, float v) {
    if (v == 0.0f) v = 0.0f;  // no "-0"
    char buf[32];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 5);
    if (ec != std::errc()) {
        out += '0';
        return;
    }
    // Trim trailing zeros of the fixed form to keep the big maps small.
    char* p = end;
    while (p > buf && p[-1] == '0') --p;
    if (p > buf && p[-1] == '.') --p;
    std::string_view text(buf, static_cast<size_t>(p - buf));
    if (text == "-0") text = "0";
    out.append(text);
}

namespace {

void AppendUint(std::string& out, uint64_t v) { out += std::to_string(v); }

void AppendColor(std::string& out, const float* c, int n) {
    for (int i = 0; i < n; ++i) {
        AppendFloat(out, c[i]);
        out += ';';
    }
    out += ";\n";
}

}  // namespace

std::string WriteXFile(const XMesh& mesh, const std::string& name) {
    std::string out;
    out.reserve(mesh.positions.size() * 90 + mesh.faces.size() * 40 + 4096);
    out += "xof 0303txt 0032\n\n";
    out += "Frame " + name + "_frame {\n";
    out += " FrameTransformMatrix {\n  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;\n }\n";
    out += " Mesh " + name + " {\n  ";
    const size_t nv = mesh.positions.size();
    const size_t nf = mesh.faces.size();
    AppendUint(out, nv);
    out += ";\n";
    for (size_t i = 0; i < nv; ++i) {
        const Vec3& p = mesh.positions[i];
        out += "  ";
        AppendFloat(out, p.x); out += ';';
        AppendFloat(out, p.y); out += ';';
        AppendFloat(out, p.z); out += ';';
        out += i + 1 < nv ? ",\n" : ";\n";
    }
    auto appendFaces = [&]() {
        out += "  ";
        AppendUint(out, nf);
        out += ";\n";
        for (size_t i = 0; i < nf; ++i) {
            const auto& f = mesh.faces[i];
            out += "  3;";
            AppendUint(out, f[0]); out += ',';
            AppendUint(out, f[1]); out += ',';
            AppendUint(out, f[2]);
            out += i + 1 < nf ? ";,\n" : ";;\n";
        }
    };
    appendFaces();

    out += "  MeshNormals {\n  ";
    AppendUint(out, nv);
    out += ";\n";
    for (size_t i = 0; i < nv; ++i) {
        const Vec3& n = mesh.normals[i];
        out += "  ";
        AppendFloat(out, n.x); out += ';';
        AppendFloat(out, n.y); out += ';';
        AppendFloat(out, n.z); out += ';';
        out += i + 1 < nv ? ",\n" : ";\n";
    }
    appendFaces();
    out += "  }\n";

    out += "  MeshTextureCoords {\n  ";
    AppendUint(out, nv);
    out += ";\n";
    for (size_t i = 0; i < nv; ++i) {
        out += "  ";
        AppendFloat(out, mesh.uvs[i].x); out += ';';
        AppendFloat(out, mesh.uvs[i].y); out += ';';
        out += i + 1 < nv ? ",\n" : ";\n";
    }
    out += "  }\n";

    out += "  MeshMaterialList {\n  ";
    AppendUint(out, mesh.materials.size());
    out += ";\n  ";
    AppendUint(out, nf);
    out += ";\n";
    for (size_t i = 0; i < nf; ++i) {
        out += "  ";
        AppendUint(out, mesh.faceMaterial[i]);
        out += i + 1 < nf ? ",\n" : ";\n";
    }
    for (size_t i = 0; i < mesh.materials.size(); ++i) {
        const XMaterial& m = mesh.materials[i];
        out += "  Material " + name + "_mat" + std::to_string(i) + " {\n   ";
        const float d[4] = {m.diffuse.r, m.diffuse.g, m.diffuse.b, m.diffuse.a};
        AppendColor(out, d, 4);
        out += "   ";
        AppendFloat(out, m.power);
        out += ";\n   ";
        const float s[3] = {m.specular.x, m.specular.y, m.specular.z};
        AppendColor(out, s, 3);
        out += "   ";
        const float e[3] = {m.emissive.x, m.emissive.y, m.emissive.z};
        AppendColor(out, e, 3);
        if (!m.texture.empty()) out += "   TextureFilename {\n    \"" + m.texture + "\";\n   }\n";
        out += "  }\n";
    }
    out += "  }\n";
    out += " }\n}\n";
    return out;
}
