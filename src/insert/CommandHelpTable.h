#pragma once
// The rows of the command help, in two parts of the catalogue's order, which
// allCommandHelp() joins.
#include <span>

#include "insert/CommandHelp.h"

namespace korvane {

std::span<const CommandHelp> commandHelpBeforeM();
std::span<const CommandHelp> commandHelpFromM();

}  // namespace korvane
