#pragma once
// Small routines that the main window's start-up calls on paths.
#include <string>

namespace korvane {

// A path from the command line checked against the file system: double quotes
// removed, every name but the last must be a directory and the last must exist.
// Each name takes the spelling of its directory entry, which differs from the given
// one only on a file system that ignores case. "Erreur" when a name is not found.
std::string cheminLong(const std::string& path);

}  // namespace korvane
