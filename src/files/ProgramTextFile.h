#pragma once
// The program text file: a program or function kept as the text that
// `korvane-tool text` prints, for a project kept in git or written in another
// editor. UTF-8, one "\n" a line: the name line (FOLDER\NAME(ARGS) or NAME(ARGS)),
// then "Prgm" or "Func" ... "EndPrgm" or "EndFunc". Without a name line the
// program takes the file's name and the folder "main".
#include <string>
#include <string_view>

#include "files/Tokens.h"

namespace korvane {

// The program text file's extension: no calculator, link software or emulator
// writes files of that name.
constexpr std::string_view kProgramTextExtension = ".68kb";

// Whether the path ends in the program text file's extension, in any letter case.
bool isProgramTextPath(const std::string& path);

// A program text file read: the pieces of a Document, in calculator codes.
struct ProgramText {
    std::string nameField;   // "name(args)"
    std::string folder;      // empty when the name line names none
    std::string editorText;  // CR LF line breaks, its first line the empty argument line
    ProgramKind kind = ProgramKind::Program;
    bool kindWritten = false;  // its second line says Prgm or Func
    std::string error;         // a character without a calculator code (line and column)
    bool ok() const { return error.empty(); }
};

// Reads the file's bytes (UTF-8, else the link software's 8-bit codes). `fileName`
// gives the name when the text has no name line.
ProgramText readProgramText(std::string_view bytes, const std::string& fileName);

// The file's bytes for a Document: the name line, folder first when given, the
// editor text and a final line break, in UTF-8.
std::string programTextFileOf(const std::string& nameField, const std::string& folder, const std::string& editorText);

}  // namespace korvane
