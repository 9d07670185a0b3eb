// korvane-tool's link with the calculator: the options and the opened link that its
// commands (ToolCalc.cpp) share.
#include <filesystem>
#include <iostream>

#include "app/ToolSupport.h"
#include "editor/CharTable.h"
#include "files/VariableTable.h"
#include "shell/IniStore.h"

#ifdef KORVANE_HAVE_LINK
#include "app/ToolLinkSupport.h"

namespace korvane::tool {

std::string settingsPath() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return locateCheminIni(ec ? std::string() : self.parent_path().string());
}

std::optional<link::LinkOptions> linkOptions(const Arguments& args, std::string& error) {
    link::LinkOptions options = link::optionsFromSettingsFile(settingsPath());
    if (const auto v = args.value("--calc")) {
        const auto calc = link::calcFromName(*v);
        if (!calc) error = "unknown calculator " + *v + " (ti89, ti89t, ti92p or v200)";
        else options.calc = *calc;
    }
    if (const auto v = args.value("--cable")) {
        const auto cable = link::cableFromName(*v);
        if (!cable) error = "unknown cable " + *v + " (silverlink, directlink, graylink, blacklink, parallel or tiemu)";
        else options.cable = *cable;
    }
    if (const auto v = args.value("--port")) {
        const auto port = link::portFromText(*v);
        if (!port) error = "--port takes 1, 2, 3 or 4";
        else options.port = *port;
    }
    if (const auto v = args.value("--timeout")) {
        const auto tenths = link::timeoutTenthsFromSeconds(*v);
        if (!tenths) error = "--timeout takes seconds, from 0.1 to 60";
        else options.timeoutTenths = *tenths;
    }
    if (!error.empty()) return std::nullopt;
    return options;
}

void check(const link::LinkStatus& status) {
    if (!status.ok()) throw Failure{status.message(link::Language::English)};
}

std::unique_ptr<link::Link> openReadyLink(const link::LinkOptions& options) {
    auto opened = link::Link::open(options);
    check(opened.status);
    check(opened.value->checkReady());
    return std::move(opened.value);
}

std::vector<Command> linkCommands() { return calcCommands(); }

}  // namespace korvane::tool

#else

namespace korvane::tool {
namespace {

int linkMissing() {
    std::cerr << "korvane-tool: this build has no link with the calculator (libticalcs was missing when it was built)\n";
    return kBadInput;
}

}  // namespace

std::vector<Command> linkCommands() {
    std::vector<Command> out;
    for (const char* name : {"send", "ls", "recv", "run", "screen", "rm", "backup"})
        out.push_back({name, {}, {}, [](const Arguments&) { return linkMissing(); }});
    return out;
}

}  // namespace korvane::tool

#endif

