// The subcommands of korvelin-assets. A command file registers itself with a static
// CommandRegistration; main() looks the first argument up here.
#pragma once

#include <string>
#include <vector>

struct CommandContext {
    std::vector<std::string> args;  // the arguments after the subcommand's name
    bool json = false;              // --json: one JSON object on standard output
};

// A command prints its findings and returns the exit status: 0 when the file was read, 1 (with
// a clear message on standard error) when a file could not be read or written, 2 for a wrong
// command line; a command that also judges the file may add its own (the course's 3).
using CommandFunction = int (*)(const CommandContext&);
// More about a command for --help: what it checks, its own exit statuses.
using CommandHelp = std::string (*)();

struct Command {
    const char* name;
    const char* usage;  // e.g. "wave FILE"
    CommandFunction run;
    CommandHelp help;  // or null
};

std::vector<Command>& Commands();

struct CommandRegistration {
    CommandRegistration(const char* name, const char* usage, CommandFunction run, CommandHelp help = nullptr) {
        Commands().push_back({name, usage, run, help});
    }
};
