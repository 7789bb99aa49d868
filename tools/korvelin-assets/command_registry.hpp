// The subcommands of korvelin-assets. A command file registers itself with a static
// CommandRegistration; main() looks the first argument up here.
#pragma once

#include <string>
#include <vector>

struct CommandContext {
    std::vector<std::string> args;  // the arguments after the subcommand's name
    bool json = false;              // --json: one JSON object on standard output
};

// A command prints its findings and returns the exit status: 0 when the file was read,
// non-zero (with a clear message on standard error) when it was not.
using CommandFunction = int (*)(const CommandContext&);

struct Command {
    const char* name;
    const char* usage;  // e.g. "wave FILE"
    CommandFunction run;
};

std::vector<Command>& Commands();

struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction run) {
        Commands().push_back({name, usage, run});
    }
};
