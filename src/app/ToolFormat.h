#pragma once
// korvane-tool's commands for programs kept as text: format and build.
#include <vector>

#include "app/ToolSupport.h"

namespace korvane::tool {

std::vector<Command> formatCommands();

}  // namespace korvane::tool
