#pragma once
// The Document: the one program or function being edited. Its text lives in the
// editor and its name and folder in their fields; this holds the rest and the
// rules that do not need a window.
#include <optional>
#include <string>

#include "files/FileStamp.h"
#include "files/Tokens.h"
#include "files/VariableFile.h"

namespace korvane {

constexpr int kNameLimit = 8;         // characters of a variable or folder name
constexpr const char* kNewName = "nouveau()";
constexpr const char* kNewFolder = "main";

// What the user sees of a Document: the editor text and the two fields.
struct DocumentState {
    std::string text;
    std::string name;
    std::string folder;
};

struct Document {
    Bytes variableHeader = newDocumentHeader();
    Bytes variableTrailer = programTrailer();
    std::string path;  // empty for a new Document, or one taken from a group file
    bool oneExpression = false;  // a function read in the one-expression form
    // The form of the Document's file, which Save keeps and the save question
    // proposes: a new or imported Document is saved tokenized.
    bool tokenizedFile = true;
    // The Document as it was created, opened or last saved. Comparing with it
    // rather than counting edits makes undoing back to it count as unchanged.
    DocumentState saved;
    // The file as it was last read or written, so that a change made by another
    // program is noticed before Save replaces it.
    std::optional<FileStamp> diskStamp;
    // A change on disk that the user chose not to read again: asked about once.
    std::optional<FileStamp> declinedStamp;
};

// The main window's title: the program's name, the file's name, and a "*" while
// there are unsaved changes.
std::string windowTitle(const std::string& documentPath, bool unsavedChanges);

// The editor text of a new program or function.
std::string newDocumentText(ProgramKind kind);
Bytes trailerFor(ProgramKind kind);

// The name field after a change of its text: a variable name of more than eight
// characters is cut to eight, the argument list kept. `caret` is the caret index
// before the correction and stays that index.
struct NameFieldCorrection {
    std::string text;
    int caret = 0;
    bool changed = false;
};
NameFieldCorrection correctNameField(const std::string& text, int caret);

}  // namespace korvane
