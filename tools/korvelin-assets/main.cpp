// korvelin-assets: a developer tool that prints what the game's loaders see in an asset file.
// Usage: korvelin-assets [--json] COMMAND ARGS...
#include <cstdio>
#include <cstring>
#include <string>

#include "command_registry.hpp"
#include "korvelin_version.hpp"

namespace {
// The usage, on standard output when asked for (status 0), else as an error (status 2).
int Usage(bool asked) {
    std::FILE* out = asked ? stdout : stderr;
    std::fprintf(out, "usage: korvelin-assets [--json] COMMAND ARGS...\n"
                      "       korvelin-assets --help | --version\ncommands:\n");
    for (const Command& c : Commands()) std::fprintf(out, "  %s\n", c.usage);
    if (!asked) return 2;
    std::fprintf(out, "\nexit status: 0 the file was read, 1 a file could not be read or written, 2 a wrong command line\n");
    for (const Command& c : Commands())
        if (c.help) std::fprintf(out, "\n%s", c.help().c_str());
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    CommandContext ctx;
    std::string name;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0)
            ctx.json = true;
        else if (name.empty())
            name = argv[i];
        else
            ctx.args.emplace_back(argv[i]);
    }
    if (name == "--help" || name == "-h") return Usage(true);
    if (name == "--version") {
        std::puts("korvelin-assets " KORVELIN_VERSION);
        return 0;
    }
    if (name.empty()) return Usage(false);
    for (const Command& c : Commands())
        if (name == c.name) return c.run(ctx);
    std::fprintf(stderr, "korvelin-assets: unknown command '%s'\n", name.c_str());
    return Usage(false);
}
