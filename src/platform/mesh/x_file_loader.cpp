// The .x loader: the header picks the form, a lexer reads the body, the walker and the
// assembly make the mesh; every refusal ends here as a message.
#include "platform/mesh/x_file_loader.hpp"

#include <memory>
#include <new>

#include "platform/files/bounded_file.hpp"

#include "platform/mesh/x_binary_lexer.hpp"
#include "platform/mesh/x_file_error.hpp"
#include "platform/mesh/x_mesh_assembly.hpp"
#include "platform/mesh/x_mszip.hpp"
#include "platform/mesh/x_template_walker.hpp"
#include "platform/mesh/x_text_lexer.hpp"

namespace platform {

namespace {

constexpr size_t kHeaderBytes = 16;

// "xof 0303txt 0032": magic, version, form, float size.
void ReadBody(std::string_view bytes, const std::string& folder, MeshData& out) {
    const std::string_view form = bytes.substr(8, 4);
    const std::string_view floatSize = bytes.substr(12, 4);
    const bool text = form == "txt " || form == "tzip";
    const bool compressed = form == "tzip" || form == "bzip";
    if (!text && form != "bin " && !compressed)
        throw XFileError("offset 8: unknown form '" + std::string(form) + "' (txt, bin, tzip or bzip)");
    if (floatSize != "0032" && floatSize != "0064")
        throw XFileError("offset 12: float size '" + std::string(floatSize) + "' (0032 or 0064)");

    std::string inflated;
    std::string_view body = bytes.substr(kHeaderBytes);
    if (compressed) {
        inflated = InflateMszip(bytes);
        body = inflated;
    }
    std::unique_ptr<XLexer> lexer;
    if (text)
        lexer = std::make_unique<XTextLexer>(body, compressed ? " of the inflated text" : "");
    else
        lexer = std::make_unique<XBinaryLexer>(body, floatSize == "0064", compressed ? 0 : kHeaderBytes,
                                               compressed ? " of the inflated data" : "");
    const XScene scene = WalkXBody(*lexer);
    AssembleMesh(scene, folder, out);
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool ReadXFile(std::string_view bytes, const std::string& path, MeshData& out, std::string& error) {
    out = MeshData{};
    if (bytes.size() < kHeaderBytes || bytes.compare(0, 4, "xof ") != 0) {
        error = path + ": not a DirectX .x file (no \"xof \" header)";
        return false;
    }
    if (bytes.size() > kXMaxFileBytes) {
        error = path + ": " + std::to_string(bytes.size()) + " bytes, more than the " + std::to_string(kXMaxFileBytes) +
                " a model file may have";
        return false;
    }
    try {
        ReadBody(bytes, DirectoryOf(path), out);
        return true;
    } catch (const XFileError& e) {
        error = path + ": " + e.what();
    } catch (const std::bad_alloc&) {
        error = path + ": out of memory while reading the file";
    } catch (const std::exception& e) {
        error = path + ": " + e.what();
    }
    out = MeshData{};
    return false;
}

bool LoadXFile(const std::string& path, MeshData& out, std::string& error) {
    out = MeshData{};
    std::string bytes, why;
    if (!ReadBoundedFile(path, kXMaxFileBytes, "the most a model file may hold", &bytes, &why)) {
        error = path + ": " + why;
        return false;
    }
    return ReadXFile(bytes, path, out, error);
}

}  // namespace platform
