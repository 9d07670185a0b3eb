#pragma once
// The words of program text: which characters make a name, and the spellings of
// the calculator's tags, looked up as the parser meets them.
#include <algorithm>
#include <string>
#include <vector>

#include "files/TokenTable.h"
#include "files/VariableFile.h"

namespace korvane::tokenizing {

using tokens::TagInfo;

constexpr size_t kMaxNameLength = 8;

// A text that does not tokenize: "line N: what" once the line is known.
struct Failure {
    std::string message;
    int column = -1;  // where on its line the error stands (calculator codes), -1 when not known
};

// Inline: the keyword search calls them for every character it compares.
inline char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool isIdentChar(char c) { return isNameLetter(c) || (c >= '0' && c <= '9') || c == '_'; }
inline bool isIdentStart(char c) { return isIdentChar(c) && !(c >= '0' && c <= '9'); }
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// All spellings of the tables, looked up by their first character without regard
// to ASCII case, longest first so that "sinh(" wins over "sin(" and "►DMS" over "►".
struct Spelling {
    std::string key;  // lower-cased
    std::vector<const TagInfo*> entries;
    bool wordLike = false;  // ends in a name character: must not run into a longer name
};

class Keywords {
public:
    Keywords();

    // The longest spelling at `pos` with an entry that `accept` takes.
    template <typename Accept>
    const Spelling* at(const std::string& text, size_t pos, Accept accept) const {
        for (const Spelling* s : byFirst_[static_cast<unsigned char>(lower(text[pos]))]) {
            if (pos + s->key.size() > text.size()) continue;
            bool same = true;
            for (size_t i = 0; i < s->key.size() && same; ++i) same = lower(text[pos + i]) == s->key[i];
            if (!same) continue;
            const size_t end = pos + s->key.size();
            if (s->wordLike && end < text.size() && isIdentChar(text[end])) continue;
            if (std::any_of(s->entries.begin(), s->entries.end(), accept)) return s;
        }
        return nullptr;
    }

private:
    std::vector<Spelling> spellings_;
    std::vector<const Spelling*> byFirst_[256];
};

const Keywords& keywords();

inline bool inExpression(const TagInfo* t) { return t->space != tokens::Space::Command; }
inline bool isCommand(const TagInfo* t) { return t->space == tokens::Space::Command; }

}  // namespace korvane::tokenizing
