#pragma once
// Runs korvane-tool as a script runs it: its standard output, its standard error
// and its exit status. Needs KORVANE_TOOL_PATH.
#include <sys/wait.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>

#include "support/ScratchDir.h"

namespace korvane::test {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
    // Failures say one line on stderr.
    bool oneErrorLine() const { return !err.empty() && err.back() == '\n' && std::count(err.begin(), err.end(), '\n') == 1; }
};

// `environment` goes before the command, e.g. "KORVANE_INI='/tmp/x.INI' ".
inline ToolRun runTool(const std::string& arguments, const ScratchDir& dir, const std::string& environment = {}) {
    const std::string errFile = dir.file("stderr.txt");
    const std::string command = environment + KORVANE_TOOL_PATH + " " + arguments + " 2>" + errFile;
    ToolRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) run.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.err = ScratchDir::read(errFile);
    return run;
}

}  // namespace korvane::test
