// korvelin-assets model FILE [--ray OX OY OZ DX DY DZ]: what the model loader sees in a .x file.
#include <charconv>
#include <cstdio>
#include <initializer_list>
#include <vector>
#include <string>

#include "command_registry.hpp"
#include "json_writer.hpp"
#include "platform/image/texture_image.hpp"
#include "platform/mesh/x_file_loader.hpp"

namespace {

bool ParseFloat(const std::string& s, float& out) {
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
    return ec == std::errc() && end == s.data() + s.size();
}

void Array(JsonWriter& json, std::initializer_list<float> values) {
    json.BeginArray();
    for (float v : values) json.Value(v);
    json.EndArray();
}
void Color(JsonWriter& json, const char* key, const ColorValue& c) {
    json.Key(key);
    Array(json, {c.r, c.g, c.b, c.a});
}
void Vector(JsonWriter& json, const char* key, const Vec3& v) {
    json.Key(key);
    Array(json, {v.x, v.y, v.z});
}

std::string ColorText(const ColorValue& c) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%g, %g, %g, %g)", c.r, c.g, c.b, c.a);
    return buf;
}
std::string VectorText(const Vec3& v) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%g, %g, %g)", v.x, v.y, v.z);
    return buf;
}

int Run(const CommandContext& ctx) {
    std::string file;
    bool wantRay = false;
    Vec3 origin, direction;
    for (size_t i = 0; i < ctx.args.size(); ++i) {
        if (ctx.args[i] == "--ray") {
            float v[6];
            if (ctx.args.size() - i < 7) {
                std::fprintf(stderr, "korvelin-assets model: --ray needs six numbers: OX OY OZ DX DY DZ\n");
                return 2;
            }
            for (int k = 0; k < 6; ++k) {
                if (!ParseFloat(ctx.args[i + 1 + k], v[k])) {
                    std::fprintf(stderr, "korvelin-assets model: '%s' is not a number\n", ctx.args[i + 1 + k].c_str());
                    return 2;
                }
            }
            origin = {v[0], v[1], v[2]};
            direction = {v[3], v[4], v[5]};
            wantRay = true;
            i += 6;
        } else if (file.empty()) {
            file = ctx.args[i];
        } else {
            std::fprintf(stderr, "korvelin-assets model: unexpected argument '%s'\n", ctx.args[i].c_str());
            return 2;
        }
    }
    if (file.empty()) {
        std::fprintf(stderr, "usage: korvelin-assets model FILE [--ray OX OY OZ DX DY DZ]\n");
        return 2;
    }

    platform::MeshData mesh;
    std::string error;
    if (!platform::LoadXFile(file, mesh, error)) {
        std::fprintf(stderr, "korvelin-assets model: %s\n", error.c_str());
        return 1;
    }
    const platform::RayHit hit = wantRay ? mesh.Intersect(origin, direction) : platform::RayHit{};

    // Which material textures the model would find, and at what size (rounded up, as models load them).
    struct TextureState {
        bool found = false;
        uint32_t width = 0, height = 0;
    };
    std::vector<TextureState> textures(mesh.materials.size());
    for (size_t i = 0; i < mesh.materials.size(); ++i) {
        if (mesh.materials[i].texturePath.empty()) continue;
        platform::TextureImage image;
        std::string ignored;
        if (platform::LoadTextureImage(mesh.materials[i].texturePath, false, image, ignored))
            textures[i] = {true, image.Width(), image.Height()};
    }

    if (ctx.json) {
        JsonWriter json;
        json.BeginObject();
        json.Key("file").Value(file);
        json.Key("vertices").Value(uint64_t(mesh.vertices.size()));
        json.Key("faces").Value(mesh.FaceCount());
        json.Key("bounds").BeginObject();
        Vector(json, "min", mesh.bounds.min);
        Vector(json, "max", mesh.bounds.max);
        json.EndObject();
        json.Key("subsetCount").Value(uint64_t(mesh.subsets.size()));
        json.Key("subsets").BeginArray();
        for (size_t i = 0; i < mesh.subsets.size(); ++i) {
            const platform::MeshMaterial& m = mesh.materials[i];
            json.BeginObject();
            json.Key("faces").Value(mesh.subsets[i].FaceCount());
            Color(json, "diffuse", m.diffuse);
            Color(json, "ambient", m.ambient);
            Color(json, "specular", m.specular);
            Color(json, "emissive", m.emissive);
            json.Key("power").Value(m.power);
            json.Key("texture").Value(m.texturePath);
            json.Key("textureFound").Value(textures[i].found);
            if (textures[i].found) {
                json.Key("textureWidth").Value(textures[i].width);
                json.Key("textureHeight").Value(textures[i].height);
            }
            json.EndObject();
        }
        json.EndArray();
        if (wantRay) {
            json.Key("ray").BeginObject();
            Vector(json, "origin", origin);
            Vector(json, "direction", direction);
            json.Key("hit").Value(hit.hit);
            if (hit.hit) {
                json.Key("face").Value(hit.face);
                json.Key("distance").Value(hit.distance);
                json.Key("u").Value(hit.u);
                json.Key("v").Value(hit.v);
            }
            json.EndObject();
        }
        json.EndObject();
        std::printf("%s\n", json.str().c_str());
        return 0;
    }

    std::printf("model %s\n", file.c_str());
    std::printf("vertices %zu, faces %u\n", mesh.vertices.size(), mesh.FaceCount());
    std::printf("bounds %s .. %s\n", VectorText(mesh.bounds.min).c_str(), VectorText(mesh.bounds.max).c_str());
    std::printf("subsets %zu\n", mesh.subsets.size());
    for (size_t i = 0; i < mesh.subsets.size(); ++i) {
        const platform::MeshMaterial& m = mesh.materials[i];
        std::printf("  subset %zu: %u faces\n", i, mesh.subsets[i].FaceCount());
        std::printf("    diffuse %s ambient %s\n", ColorText(m.diffuse).c_str(), ColorText(m.ambient).c_str());
        std::printf("    specular %s emissive %s power %g\n", ColorText(m.specular).c_str(),
                    ColorText(m.emissive).c_str(), m.power);
        if (m.texturePath.empty())
            std::printf("    texture none (drawn white)\n");
        else if (textures[i].found)
            std::printf("    texture %s (%u x %u)\n", m.texturePath.c_str(), textures[i].width, textures[i].height);
        else
            std::printf("    texture %s (missing: drawn white)\n", m.texturePath.c_str());
    }
    if (wantRay) {
        std::printf("ray from %s along %s: ", VectorText(origin).c_str(), VectorText(direction).c_str());
        if (hit.hit)
            std::printf("hit face %u at distance %g (u %g, v %g)\n", hit.face, hit.distance, hit.u, hit.v);
        else
            std::printf("no hit\n");
    }
    return 0;
}

CommandRegistration reg("model", "model FILE [--ray OX OY OZ DX DY DZ]", &Run);

}  // namespace
