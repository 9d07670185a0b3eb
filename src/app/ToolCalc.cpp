// korvane-tool's commands on the calculator itself: send (a single file, a group
// file's members, then run), ls (--all: every variable), recv of any type, run,
// screen, rm and backup.
#ifdef KORVANE_HAVE_LINK
#include <iostream>

#include "app/ToolLinkSupport.h"
#include "editor/CharTable.h"
#include "files/VariableTable.h"
#include "link/CalcScreen.h"
#include "link/CalcTypes.h"

namespace korvane::tool {
namespace {

// The variable of a listing named "folder\name" (or "name" when one folder holds it).
link::CalcVariable findListed(const std::vector<link::CalcVariable>& listed, const std::string& wanted) {
    const auto slash = wanted.find('\\');
    std::vector<const link::CalcVariable*> found;
    for (const link::CalcVariable& v : listed)
        if (slash == std::string::npos ? v.name == wanted : v.qualifiedName() == wanted) found.push_back(&v);
    if (found.empty())
        throw Failure{link::LinkStatus::failure(link::MessageId::NoSuchVariable, calcToUtf8(wanted))
                          .message(link::Language::English)};
    if (found.size() > 1) {
        std::string names;
        for (const link::CalcVariable* v : found) names += (names.empty() ? "" : ", ") + calcToUtf8(v->qualifiedName());
        throw Failure{link::LinkStatus::failure(link::MessageId::AmbiguousName, calcToUtf8(wanted) + " (" + names + ")")
                          .message(link::Language::English)};
    }
    return *found.front();
}

std::string flagsOf(const link::CalcVariable& v) {
    if (!v.locked && !v.archived) return "-";
    return std::string(v.locked ? "L" : "") + (v.archived ? "A" : "");
}

int cmdSend(const Arguments& args) {
    if (args.positional.size() != 1) return usage("send takes one file");
    if (args.value("--args") && !args.has("--run")) return usage("--args goes with --run");
    std::string error;
    const auto found = linkOptions(args, error);
    if (!found) return usage(error);
    const link::LinkOptions& options = *found;
    const std::string& path = args.positional[0];
    const VariableTable table = readVariableTable(readInput(path));
    if (!table.ok()) throw Failure{path + ": " + calcToUtf8(table.error)};

    // --var names one member; else every member of the file goes.
    std::vector<const TableEntry*> chosen;
    if (const auto wanted = args.value("--var")) {
        const std::string name = utf8ToCalc(*wanted);
        for (const TableEntry& e : table.variables)
            if (e.qualifiedName() == name || (name.find('\\') == std::string::npos && e.name == name))
                chosen.push_back(&e);
        if (chosen.empty()) throw Failure{path + ": holds no " + *wanted};
        if (chosen.size() > 1) throw Failure{path + ": several folders hold " + *wanted + ": name its folder"};
    } else {
        for (const TableEntry& e : table.variables) chosen.push_back(&e);
    }
    if (args.has("--run") && (chosen.size() != 1 || !chosen.front()->isProgramOrFunction()))
        throw Failure{path + ": --run takes one program or function (name it with --var)"};

    const auto link = openReadyLink(options);
    for (const TableEntry* e : chosen) check(link->sendVariable(*e));
    if (args.has("--run"))
        check(link->execute(chosen.front()->qualifiedName(), utf8ToCalc(args.value("--args").value_or(""))));
    return 0;
}

int cmdLs(const Arguments& args) {
    if (!args.positional.empty()) return usage("ls takes no file");
    std::string error;
    const auto found = linkOptions(args, error);
    if (!found) return usage(error);
    const link::LinkOptions& options = *found;
    const auto link = openReadyLink(options);
    if (args.has("--all")) {
        const auto listed = link->listVariables();
        check(listed.status);
        for (const link::CalcVariable& v : listed.value)
            std::cout << calcToUtf8(v.qualifiedName()) << " " << link::typeWord(v.type, link::Language::English) << " "
                      << v.size << " " << flagsOf(v) << "\n";
        return 0;
    }
    const auto listed = link->listPrograms();
    check(listed.status);
    for (const link::CalcVariable& v : listed.value)
        std::cout << calcToUtf8(v.qualifiedName()) << " " << v.kind() << " " << v.size << "\n";
    return 0;
}

int cmdRecv(const Arguments& args) {
    if (args.positional.size() != 2) return usage("recv takes a FOLDER\\NAME and an output file");
    std::string error;
    const auto found = linkOptions(args, error);
    if (!found) return usage(error);
    const link::LinkOptions& options = *found;
    const auto received = openReadyLink(options)->receiveVariable(utf8ToCalc(args.positional[0]));
    check(received.status);
    writeOutput(args.positional[1], received.value);
    return 0;
}

int cmdRun(const Arguments& args) {
    if (args.positional.size() != 1) return usage("run takes a FOLDER\\NAME");
    std::string error;
    const auto found = linkOptions(args, error);
    if (!found) return usage(error);
    const link::LinkOptions& options = *found;
    check(openReadyLink(options)->execute(utf8ToCalc(args.positional[0]), utf8ToCalc(args.value("--args").value_or(""))));
    return 0;
}

int cmdScreen(const Arguments& args) {
    if (args.positional.size() != 1) return usage("screen takes an output file");
    std::string error;
    const auto found = linkOptions(args, error);
    if (!found) return usage(error);
    const link::LinkOptions& options = *found;
    const auto taken = openReadyLink(options)->takeScreen();
    check(taken.status);
    const link::ScreenSize size = args.has("--full") ? link::ScreenSize{link::Screen::kWidth, link::Screen::kHeight}
                                                     : link::visibleScreen(options.calc);
    writeOutput(args.positional[0], link::screenPng(taken.value, size, args.has("--grey")));
    return 0;
}

int cmdRm(const Arguments& args) {
    if (args.positional.size() != 1) return usage("rm takes a FOLDER\\NAME");
    std::string error;
    const auto found = linkOptions(args, error);
    if (!found) return usage(error);
    const link::LinkOptions& options = *found;
    const auto link = openReadyLink(options);
    const auto listed = link->listVariables();
    check(listed.status);
    check(link->deleteVariable(findListed(listed.value, utf8ToCalc(args.positional[0]))));
    return 0;
}

// The group file is written whole beside OUT and renamed over it: an interrupted
// backup leaves no file, nor half of one, under OUT's name.
int cmdBackup(const Arguments& args) {
    if (args.positional.size() != 1) return usage("backup takes an output file");
    std::string error;
    const auto found = linkOptions(args, error);
    if (!found) return usage(error);
    const link::LinkOptions& options = *found;
    const auto group = openReadyLink(options)->backup();
    check(group.status);
    writeOutput(args.positional[0], group.value);
    return 0;
}

std::vector<std::string> withLinkOptions(std::vector<std::string> values) {
    values.insert(values.end(), kLinkOptionNames.begin(), kLinkOptionNames.end());
    return values;
}

}  // namespace

std::vector<Command> calcCommands() {
    return {
        {"send", {"--run"}, withLinkOptions({"--var", "--args"}), cmdSend},
        {"ls", {"--all"}, kLinkOptionNames, cmdLs},
        {"recv", {}, kLinkOptionNames, cmdRecv},
        {"run", {}, withLinkOptions({"--args"}), cmdRun},
        {"screen", {"--full", "--grey"}, kLinkOptionNames, cmdScreen},
        {"rm", {}, kLinkOptionNames, cmdRm},
        {"backup", {}, kLinkOptionNames, cmdBackup},
    };
}

}  // namespace korvane::tool
#endif
