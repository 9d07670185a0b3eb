#include <gtest/gtest.h>

#include "files/VariableFile.h"

namespace korvane {
namespace {

TEST(VariableFile, NewProgramIsTheTemplate) {
    const auto built = buildVariableFile({"nouveau()", "main", "\r\nPrgm\r\n\r\nEndPrgm", newDocumentHeader(), programTrailer()});
    ASSERT_TRUE(built.ok());
    EXPECT_EQ(built.bytes.size(), 116u);
}

}  // namespace
}  // namespace korvane
