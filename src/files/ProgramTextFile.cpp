#include "files/ProgramTextFile.h"

#include <algorithm>
#include <cctype>

#include "editor/CharTable.h"
#include "files/Document.h"
#include "files/LinkText.h"

namespace korvane {
namespace {

std::string firstWordOf(const std::string& line) {
    const size_t start = line.find_first_not_of(' ');
    if (start == std::string::npos) return {};
    return line.substr(start, line.find_first_of(" :", start) - start);
}

bool sameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool isKindWord(const std::string& word) { return sameLetters(word, "Prgm") || sameLetters(word, "Func"); }

// The name a file without a name line gives: its base name when the calculator
// takes it as a variable name.
std::string nameFieldOfFile(const std::string& fileName) {
    std::string base = fileName.substr(fileName.find_last_of('/') + 1);
    if (isProgramTextPath(base)) base.resize(base.size() - kProgramTextExtension.size());
    const std::string name = utf8ToCalc(base);
    return isCalculatorName(name) ? name + "()" : std::string(kNewName);
}

}  // namespace

bool isProgramTextPath(const std::string& path) {
    const size_t n = kProgramTextExtension.size();
    return path.size() > n && sameLetters(path.substr(path.size() - n), std::string(kProgramTextExtension));
}

ProgramText readProgramText(std::string_view bytes, const std::string& fileName) {
    ProgramText read;
    OutsideText decoded = readOutsideText(bytes);
    if (!decoded.ok()) {
        read.error = decoded.error;
        return read;
    }
    std::string text = std::move(decoded.text);
    // The line breaks that end the file are no part of the program.
    while (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    const size_t firstBreak = text.find("\r\n");
    const std::string firstLine = text.substr(0, firstBreak);
    if (firstLine.empty() || isKindWord(firstWordOf(firstLine))) {
        read.nameField = nameFieldOfFile(fileName);
        read.editorText = firstLine.empty() ? text : "\r\n" + text;
    } else {
        read.nameField = firstLine;
        read.editorText = firstBreak == std::string::npos ? std::string() : text.substr(firstBreak);
        const size_t slash = read.nameField.find('\\');
        if (slash != std::string::npos && slash < read.nameField.find('(')) {
            read.folder = read.nameField.substr(0, slash);
            read.nameField.erase(0, slash + 1);
        }
        if (read.nameField.find('(') == std::string::npos) read.nameField += "()";
    }
    const size_t second = read.editorText.find("\r\n");
    if (second != std::string::npos) {
        const size_t end = read.editorText.find("\r\n", second + 2);
        const std::string kindWord = firstWordOf(read.editorText.substr(second + 2, end - second - 2));
        read.kindWritten = isKindWord(kindWord);
        if (sameLetters(kindWord, "Func")) read.kind = ProgramKind::Function;
    }
    return read;
}

std::string programTextFileOf(const std::string& nameField, const std::string& folder, const std::string& editorText) {
    const std::string nameLine = folder.empty() ? nameField : folder + "\\" + nameField;
    return calcToUtf8(nameLine + editorText) + "\n";
}

}  // namespace korvane
