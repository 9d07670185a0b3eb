// Golden files: a program exercising every colouring rule, its colouring document
// and its variable file. scripts/regenerate-golden.sh rewrites them on purpose.
#include <gtest/gtest.h>

#include "editor/Colouring.h"
#include "files/Document.h"
#include "files/VariableFile.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

std::string golden(const std::string& name) {
    return test::ScratchDir::read(std::string(KORVANE_TESTDATA_DIR) + "/golden/" + name);
}

TEST(Golden, ColouringDocumentAndVariableFile) {
    const std::string text = golden("program.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(coloriserDocument(text, ColourTable{}, "10"), golden("program.rtf"));
    const BuildResult file =
        buildVariableFile({"golden(a,b)", "tests", text, newDocumentHeader(), programTrailer()});
    ASSERT_TRUE(file.ok());
    EXPECT_EQ(file.bytes, golden("program.89p"));
}

}  // namespace
}  // namespace korvane
