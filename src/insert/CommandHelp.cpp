#include "insert/CommandHelp.h"

#include <algorithm>
#include <vector>

#include "insert/CommandHelpTable.h"

namespace korvane {
namespace {

char foldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A name or typed word without its trailing "(", the part the user types.
std::string_view stem(std::string_view s) {
    if (!s.empty() && s.back() == '(') s.remove_suffix(1);
    return s;
}

// Byte order with ASCII letters folded to lower case.
bool lessFolded(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(foldAscii(x)) < static_cast<unsigned char>(foldAscii(y));
    });
}

bool equalFolded(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

// The table in the catalogue's order and two sorted views of it, built on first
// use: by exact name, and by the folded stem for words typed in the editor.
struct Index {
    std::vector<CommandHelp> rows;
    std::vector<const CommandHelp*> byName;
    std::vector<const CommandHelp*> byWord;

    Index() {
        for (const auto part : {commandHelpBeforeM(), commandHelpFromM()}) rows.insert(rows.end(), part.begin(), part.end());
        for (const CommandHelp& row : rows) byName.push_back(&row);
        byWord = byName;
        std::sort(byName.begin(), byName.end(),
                  [](const CommandHelp* a, const CommandHelp* b) { return a->name < b->name; });
        std::sort(byWord.begin(), byWord.end(), [](const CommandHelp* a, const CommandHelp* b) {
            return lessFolded(stem(a->name), stem(b->name));
        });
    }
};

const Index& index() {
    static const Index instance;
    return instance;
}

}  // namespace

std::span<const CommandHelp> allCommandHelp() { return index().rows; }

const CommandHelp* findCommandHelp(std::string_view catalogueRow) {
    const auto& names = index().byName;
    const auto it = std::lower_bound(names.begin(), names.end(), catalogueRow,
                                     [](const CommandHelp* h, std::string_view row) { return h->name < row; });
    return it != names.end() && (*it)->name == catalogueRow ? *it : nullptr;
}

const CommandHelp* commandHelpForWord(std::string_view word) {
    const std::string_view key = stem(word);
    if (key.empty()) return nullptr;
    const auto& words = index().byWord;
    const auto it = std::lower_bound(words.begin(), words.end(), key, [](const CommandHelp* h, std::string_view k) {
        return lessFolded(stem(h->name), k);
    });
    return it != words.end() && equalFolded(stem((*it)->name), key) ? *it : nullptr;
}

}  // namespace korvane
