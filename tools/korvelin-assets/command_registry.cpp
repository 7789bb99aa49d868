#include "command_registry.hpp"

std::vector<Command>& Commands() {
    static std::vector<Command> commands;
    return commands;
}
