#pragma once
// korvane-tool's commands for programs kept as text: format, build and syntax.
#include <vector>

#include "app/ToolSupport.h"

namespace korvane::tool {

std::vector<Command> formatCommands();

}  // namespace korvane::tool
