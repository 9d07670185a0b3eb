#include "app/ToolSupport.h"

#include <iostream>
#include <iterator>

namespace korvane::tool {

std::optional<Arguments> parseArguments(int argc, char** argv, const std::vector<std::string>& flagNames,
                                        const std::vector<std::string>& valueNames, std::string& error) {
    Arguments args;
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        auto is = [&a](const std::vector<std::string>& names) {
            for (const auto& n : names)
                if (n == a) return true;
            return false;
        };
        if (is(flagNames)) {
            args.flags.push_back(a);
        } else if (is(valueNames)) {
            if (i + 1 >= argc) {
                error = a + " needs a value";
                return std::nullopt;
            }
            args.values.emplace_back(a, argv[++i]);
        } else if (a.size() > 1 && a[0] == '-') {
            error = "unknown option " + a;
            return std::nullopt;
        } else {
            args.positional.push_back(a);
        }
    }
    return args;
}

Bytes readInput(const std::string& path) {
    Bytes bytes;
    if (path == "-") {
        std::cin >> std::noskipws;
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        if (std::cin.bad()) throw Failure{"standard input could not be read"};
        return bytes;
    }
    if (auto error = readWholeFile(path, bytes); !error.empty()) throw Failure{path + ": " + error};
    return bytes;
}

void writeOutput(const std::string& path, const Bytes& bytes) {
    if (auto error = writeFileAtomically(path, bytes); !error.empty())
        throw Failure{"cannot write " + path + ": " + error};
}

}  // namespace korvane::tool
