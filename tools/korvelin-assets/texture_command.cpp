// korvelin-assets texture FILE: the picture's size and the texture it becomes with each flag.
#include <cstdio>
#include <filesystem>
#include <string>

#include "command_registry.hpp"
#include "json_writer.hpp"
#include "platform/image/texture_image.hpp"

namespace {

int Run(const CommandContext& ctx) {
    if (ctx.args.size() != 1) {
        std::fprintf(stderr, "usage: korvelin-assets texture FILE\n");
        return 2;
    }
    const std::string& file = ctx.args[0];
    platform::TextureImage exact, rounded;
    std::string error;
    if (!platform::LoadTextureImage(file, true, exact, error) || !platform::LoadTextureImage(file, false, rounded, error)) {
        std::fprintf(stderr, "korvelin-assets texture: %s\n", error.c_str());
        return 1;
    }
    std::error_code ec;
    const uintmax_t bytes = std::filesystem::file_size(file, ec);

    if (ctx.json) {
        JsonWriter json;
        json.BeginObject();
        json.Key("file").Value(file);
        json.Key("fileBytes").Value(uint64_t(ec ? 0 : bytes));
        json.Key("width").Value(exact.fileWidth);
        json.Key("height").Value(exact.fileHeight);
        json.Key("sourceRect").BeginArray().Value(0).Value(0).Value(exact.fileWidth).Value(exact.fileHeight).EndArray();
        json.Key("nonPowerOfTwo").BeginObject();
        json.Key("width").Value(exact.Width()).Key("height").Value(exact.Height()).Key("levels").Value(exact.LevelCount());
        json.EndObject();
        json.Key("powerOfTwo").BeginObject();
        json.Key("width").Value(rounded.Width()).Key("height").Value(rounded.Height()).Key("levels").Value(rounded.LevelCount());
        json.EndObject();
        json.EndObject();
        std::printf("%s\n", json.str().c_str());
        return 0;
    }
    std::printf("texture %s (%ju bytes)\n", file.c_str(), ec ? uintmax_t(0) : bytes);
    std::printf("picture %u x %u, source rectangle (0, 0, %u, %u)\n", exact.fileWidth, exact.fileHeight,
                exact.fileWidth, exact.fileHeight);
    std::printf("non-power-of-two true:  texture %u x %u, %u levels\n", exact.Width(), exact.Height(), exact.LevelCount());
    std::printf("non-power-of-two false: texture %u x %u, %u levels\n", rounded.Width(), rounded.Height(),
                rounded.LevelCount());
    return 0;
}

CommandRegistration reg("texture", "texture FILE", &Run);

}  // namespace
