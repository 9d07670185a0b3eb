#pragma once
// Writing a group file: several variables in one calculator file, in the layout
// that VariableTable.h describes and readVariableTable reads.
#include <string>
#include <vector>

#include "files/VariableTable.h"

namespace korvane {

// The group file of `entries` under `signature` ("**TI89**", "**TI92P*", "**TI92**").
// Each folder gets a folder entry that counts its variables, followed by them (in
// the order of the folders' first variables, each folder's in the given order);
// an entry without a folder goes into "main". The comment is "Group file".
Bytes writeGroupFile(const std::string& signature, const std::vector<TableEntry>& entries);

}  // namespace korvane
