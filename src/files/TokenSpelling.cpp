#include "files/TokenSpelling.h"

#include <algorithm>
#include <map>

namespace korvane::tokenizing {

using namespace tokens;

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


}  // namespace korvane::tokenizing
