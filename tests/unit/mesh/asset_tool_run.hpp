// Runs korvelin-assets as a person would, for the tests of its commands.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

struct ToolResult {
    int status = -1;  // -1 when the tool could not be started or did not exit by itself
    std::string out;  // standard output and standard error together
};

// A file name as one shell word.
inline std::string Quoted(const std::string& name) {
    std::string word = "'";  // appended, not "'" + name: GCC 12 warns falsely on that form
    word += name;
    word += '\'';
    return word;
}

// The tool (the build's, or `tool`) with `args`, started in `folder` (or the test's own).
inline ToolResult RunTool(const std::string& args, const std::string& tool = KORVELIN_ASSETS_TOOL,
                          const std::string& folder = "") {
    ToolResult r;
    const std::string command =
        (folder.empty() ? std::string() : "cd " + Quoted(folder) + " && ") + Quoted(tool) + " " + args + " 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        r.out = std::string("cannot start the tool: ") + std::strerror(errno);
        return r;
    }
    std::array<char, 4096> buffer;
    size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.out.append(buffer.data(), n);
    const int status = ::pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (status == -1) r.out += std::string("\n(waiting for the tool failed: ") + std::strerror(errno) + ")";
    if (status != -1 && WIFSIGNALED(status)) r.out += "\n(the tool was ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return r;
}

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
