#pragma once
// What korvane-tool's commands share: their arguments, the failure that ends one
// with a line on stderr, and whole-file input and output.
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "files/VariableFile.h"

namespace korvane::tool {

constexpr int kBadInput = 1;
constexpr int kUsage = 2;

// Thrown by a command: main prints "korvane-tool: " + message and exits with 1.
struct Failure {
    std::string message;
};

// Prints why (when given) and the usage lines on stderr; returns kUsage.
int usage(const std::string& why = {});

// Options and positional arguments of one command.
struct Arguments {
    std::vector<std::string> positional;
    std::vector<std::string> flags;
    std::vector<std::pair<std::string, std::string>> values;

    bool has(const std::string& flag) const {
        for (const auto& f : flags)
            if (f == flag) return true;
        return false;
    }
    std::optional<std::string> value(const std::string& option) const {
        for (const auto& [k, v] : values)
            if (k == option) return v;
        return std::nullopt;
    }
};

// The arguments after the command's name: `flagNames` stand alone, `valueNames`
// take the next argument; anything else starting with "-" is an unknown option.
std::optional<Arguments> parseArguments(int argc, char** argv, const std::vector<std::string>& flagNames,
                                        const std::vector<std::string>& valueNames, std::string& error);

// The whole file, or standard input for "-"; a Failure names what could not be read.
Bytes readInput(const std::string& path);
// Written beside and renamed over `path`; a Failure says why it could not be.
void writeOutput(const std::string& path, const Bytes& bytes);

// One command: its name, its options, and what runs it.
struct Command {
    const char* name;
    std::vector<std::string> flags;
    std::vector<std::string> values;
    int (*run)(const Arguments&);
};

// The commands of the link with the calculator (ToolLink.cpp and its neighbours);
// without libticalcs each says that the link is missing.
std::vector<Command> linkCommands();

}  // namespace korvane::tool
