#pragma once
// The KSyntaxHighlighting definition (Kate, KWrite, KDevelop and the library's
// command-line highlighter) of program text files, made from the colouring's own
// keyword lists and colours, so that other editors colour a program as Korvane does.
#include <string>

namespace korvane {

// The definition's XML, in UTF-8.
std::string syntaxDefinition();

}  // namespace korvane
