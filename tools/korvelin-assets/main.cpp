// korvelin-assets: a developer tool that prints what the game's loaders see in an asset file.
// Usage: korvelin-assets [--json] COMMAND ARGS...
#include <cstdio>
#include <cstring>
#include <string>

#include "command_registry.hpp"

namespace {
int Usage() {
    std::fprintf(stderr, "usage: korvelin-assets [--json] COMMAND ARGS...\ncommands:\n");
    for (const Command& c : Commands()) std::fprintf(stderr, "  %s\n", c.usage);
    return 2;
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
    if (name.empty() || name == "--help" || name == "-h") return Usage();
    for (const Command& c : Commands())
        if (name == c.name) return c.run(ctx);
    std::fprintf(stderr, "korvelin-assets: unknown command '%s'\n", name.c_str());
    return Usage();
}
