// korvane-tool's link with the calculator: send, ls, recv.
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

namespace {

int cmdSend(const Arguments& args) {
    if (args.positional.size() != 1) return usage("send takes one file");
    std::string error;
    const auto options = linkOptions(args, error);
    if (!options) return usage(error);
    const std::string& path = args.positional[0];
    const VariableTable table = readVariableTable(readInput(path));
    if (!table.ok()) throw Failure{path + ": " + calcToUtf8(table.error)};
    const ChosenEntry chosen = chooseProgram(table, utf8ToCalc(args.value("--var").value_or("")));
    if (!chosen.ok()) throw Failure{path + ": " + calcToUtf8(chosen.error)};
    check(openReadyLink(*options)->sendVariable(*chosen.entry));
    return 0;
}

int cmdLs(const Arguments& args) {
    if (!args.positional.empty()) return usage("ls takes no file");
    std::string error;
    const auto options = linkOptions(args, error);
    if (!options) return usage(error);
    const auto listed = openReadyLink(*options)->listPrograms();
    check(listed.status);
    for (const link::CalcVariable& v : listed.value)
        std::cout << calcToUtf8(v.qualifiedName()) << " " << v.kind() << " " << v.size << "\n";
    return 0;
}

int cmdRecv(const Arguments& args) {
    if (args.positional.size() != 2) return usage("recv takes a FOLDER\\NAME and an output file");
    std::string error;
    const auto options = linkOptions(args, error);
    if (!options) return usage(error);
    const auto received = openReadyLink(*options)->receiveVariable(utf8ToCalc(args.positional[0]));
    check(received.status);
    writeOutput(args.positional[1], received.value);
    return 0;
}

}  // namespace

std::vector<Command> linkCommands() {
    std::vector<std::string> sendValues = {"--var"};
    sendValues.insert(sendValues.end(), kLinkOptionNames.begin(), kLinkOptionNames.end());
    return {
        {"send", {}, sendValues, cmdSend},
        {"ls", {}, kLinkOptionNames, cmdLs},
        {"recv", {}, kLinkOptionNames, cmdRecv},
    };
}

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
    return {{"send", {}, {}, [](const Arguments&) { return linkMissing(); }},
            {"ls", {}, {}, [](const Arguments&) { return linkMissing(); }},
            {"recv", {}, {}, [](const Arguments&) { return linkMissing(); }}};
}

}  // namespace korvane::tool

#endif

