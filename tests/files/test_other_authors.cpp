// Every program and function of the real files in both shared folders, single files
// and group members alike: the calculator wrote their variable data, so a tokenized
// one must detokenize and tokenize back to its own bytes, and a text-form one must be
// written back unchanged and pass the syntax check.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

#include <filesystem>
#include <string>
#include <vector>

#include "files/Detokenizer.h"
#include "files/Tokens.h"
#include "files/VariableFile.h"
#include "files/VariableTable.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

fs::path moreFolder() { return fs::path(KORVANE_SAMPLES_DIR).parent_path() / "ti68k-more"; }

std::vector<fs::path> calculatorFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) return files;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.is_regular_file() && e.path().extension() != ".md") files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

Bytes bytesOf(const fs::path& p) {
    Bytes b;
    readWholeFile(p.string(), b);
    return b;
}

// Positions where the rebuilt data may differ from the calculator's: the three
// flag bytes under the type tag, and the displacement of an Exit or a Cycle that
// the calculator leaves 0 until the program first runs.
std::vector<bool> allowedDifferences(const Bytes& original) {
    std::vector<bool> allowed(original.size(), false);
    for (size_t i = original.size() >= 4 ? original.size() - 4 : 0; i + 1 < original.size(); ++i) allowed[i] = true;
    for (size_t i = 0; i + 3 < original.size(); ++i) {
        const auto tag = static_cast<unsigned char>(original[i + 2]);
        if (original[i] == 0 && original[i + 1] == 0 && (tag == 0x16 || tag == 0x07) &&
            static_cast<unsigned char>(original[i + 3]) == 0xE4)
            allowed[i] = allowed[i + 1] = true;
    }
    return allowed;
}

std::string firstDifference(const Bytes& a, const Bytes& b) {
    size_t i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return "sizes " + std::to_string(a.size()) + " / " + std::to_string(b.size()) + ", first difference at " +
           std::to_string(i);
}

VariableFlags flagsOf(const Bytes& data, Calculator calculator) {
    VariableFlags f;
    f.inUse = static_cast<unsigned char>(data[data.size() - 4]);
    f.flag2 = static_cast<unsigned char>(data[data.size() - 3]);
    f.flag1 = static_cast<unsigned char>(data[data.size() - 2]);
    f.ti92 = calculator == Calculator::TI92;
    return f;
}

struct Counts {
    int tokenized = 0, tokenizedExact = 0, text = 0, textExact = 0;
    std::vector<std::string> failures;
};

void checkFolder(const fs::path& folder, Counts& counts) {
    for (const fs::path& path : calculatorFiles(folder)) {
        const VariableTable table = readVariableTable(bytesOf(path));
        ASSERT_TRUE(table.ok()) << path << ": " << table.error;
        for (const TableEntry* e : table.programs()) {
            const std::string where = path.filename().string() + ":" + e->qualifiedName();
            if (isTextForm(e->data)) {
                ++counts.text;
                // Written back through the writer as the editor writes a text-form file.
                const Bytes single = singleVariableFile(table, *e);
                const ParseResult read = parseVariableFile(single);
                if (!read.ok()) {
                    counts.failures.push_back(where + ": " + read.error);
                    continue;
                }
                std::string editorText;
                for (const char c : read.content.programText) editorText += c == '\r' ? std::string("\r\n") : std::string(1, c);
                const BuildResult rebuilt = buildVariableFile({read.content.name + "(" + read.content.arguments + ")",
                                                               read.content.folder, editorText, read.content.header,
                                                               read.content.trailer});
                const VariableRecord back = splitVariableFile(rebuilt.bytes);
                const TokenizeResult check = tokenize("(" + read.content.arguments + ")" + read.content.programText);
                if (!back.ok() || back.data != e->data) counts.failures.push_back(where + ": text not written back");
                else if (!check.ok()) counts.failures.push_back(where + ": " + check.error);
                else ++counts.textExact;
                continue;
            }
            ++counts.tokenized;
            const DetokenizeResult text = detokenize(e->data);
            if (!text.ok()) {
                counts.failures.push_back(where + ": " + text.error);
                continue;
            }
            VariableFlags flags = flagsOf(e->data, table.calculator);
            flags.oneExpression = text.oneExpression;
            const TokenizeResult back = tokenize(text.text, flags);
            if (!back.ok()) {
                counts.failures.push_back(where + ": " + back.error);
                continue;
            }
            bool same = back.data.size() == e->data.size();
            const std::vector<bool> allowed = allowedDifferences(e->data);
            for (size_t i = 0; same && i < e->data.size(); ++i) same = allowed[i] || back.data[i] == e->data[i];
            if (same) ++counts.tokenizedExact;
            else counts.failures.push_back(where + ": " + firstDifference(e->data, back.data));
        }
    }
}

TEST(OtherAuthorsFiles, EveryProgramAndFunctionComesBackToItsOwnBytes) {
    if (!fs::is_directory(moreFolder()) || !fs::is_directory(KORVANE_SAMPLES_DIR))
        GTEST_SKIP() << "the shared folders of real files are absent; real-file round trips skipped";
    Counts counts;
    checkFolder(moreFolder(), counts);
    checkFolder(KORVANE_SAMPLES_DIR, counts);
    std::cout << "tokenized: " << counts.tokenizedExact << " of " << counts.tokenized
              << " back to their bytes; text form: " << counts.textExact << " of " << counts.text
              << " written back and checked\n";
    std::string all;
    for (const std::string& f : counts.failures) all += "  " + f + "\n";
    EXPECT_TRUE(counts.failures.empty()) << counts.failures.size() << " failures:\n" << all;
    EXPECT_GT(counts.tokenized, 140);
    EXPECT_GT(counts.text, 15);
}

}  // namespace
}  // namespace korvane
