#pragma once
// What the commands of the link share: the link options from the settings file and
// the command line, and a link opened to a calculator found ready.
#include <memory>
#include <optional>
#include <string>

#include "app/ToolSupport.h"
#include "link/Link.h"

namespace korvane::tool {

// The options every link command takes besides its own.
inline const std::vector<std::string> kLinkOptionNames = {"--calc", "--cable", "--port", "--timeout"};

// The settings file the editor uses, found from this program's folder.
std::string settingsPath();
// The link options: the settings file's, then the command line's over them; nullopt
// with `error` set for a value the options do not take.
std::optional<link::LinkOptions> linkOptions(const Arguments& args, std::string& error);
// A Failure with the status's English line when it is not ok.
void check(const link::LinkStatus& status);
// The cable opened and the calculator found ready.
std::unique_ptr<link::Link> openReadyLink(const link::LinkOptions& options);

// The commands on the calculator: send, ls, recv, run, screen, rm, backup.
std::vector<Command> calcCommands();

}  // namespace korvane::tool
