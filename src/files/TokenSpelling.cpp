#include "files/TokenSpelling.h"

#include <algorithm>
#include <map>

namespace korvane::tokenizing {

using namespace tokens;

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool isIdentChar(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_') return true;
    if (u >= 0x80 && u <= 0x94) return u != 0x8C && u != 0x8B && u != 0x8E;  // not π, Π, Σ
    if (u == 0xB5) return true;  // µ
    return u >= 0xC0 && u != 0xD7 && u != 0xF7;
}
bool isIdentStart(char c) { return isIdentChar(c) && !(c >= '0' && c <= '9'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

Keywords::Keywords() {
    std::map<std::string, Spelling> byKey;
    for (const TagInfo& t : allTags()) {
        if (t.shape == Shape::Special || t.has(kInternal)) continue;
        std::string key;
        for (const char c : t.spelling) key += lower(c);
        Spelling& s = byKey[key];
        s.key = key;
        s.wordLike = isIdentChar(key.back());
        s.entries.push_back(&t);
    }
    for (auto& [key, s] : byKey) spellings_.push_back(s);
    for (const Spelling& s : spellings_)
        byFirst_[static_cast<unsigned char>(s.key.front())].push_back(&s);
    for (auto& list : byFirst_)
        std::stable_sort(list.begin(), list.end(),
                         [](const Spelling* a, const Spelling* b) { return a->key.size() > b->key.size(); });
}

const Keywords& keywords() {
    static const Keywords k;
    return k;
}

bool inExpression(const TagInfo* t) { return t->space != Space::Command; }
bool isCommand(const TagInfo* t) { return t->space == Space::Command; }

}  // namespace korvane::tokenizing
