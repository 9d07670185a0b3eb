// How the printed program is cut into lines and pages.
#include <gtest/gtest.h>

#include "editor/Printing.h"

namespace korvane {
namespace {

TEST(Printing, LinesBreakWhereTheEditorBreaksThem) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(printedLines("\r\nPrgm\r\nDisp 1\r\nEndPrgm"), (Lines{"", "Prgm", "Disp 1", "EndPrgm"}));
    // A line feed inside a comment stays in its line; a lone CR breaks one.
    EXPECT_EQ(printedLines("\r\nPrgm\r\n\xA9" "a\nb\rc\r\nEndPrgm"), (Lines{"", "Prgm", "\xA9" "a\nb", "c", "EndPrgm"}));
    EXPECT_EQ(printedLines(""), (Lines{""}));
    EXPECT_EQ(printedLines("x\r\n"), (Lines{"x", ""}));
}

TEST(Printing, PagesHoldWholeLinesAndLoseNone) {
    using Pages = std::vector<PrintedPage>;
    // 100 units below a top of 20 hold 8 lines of 10.
    EXPECT_EQ(paginate(8, 10, 20, 100), (Pages{{0, 8}}));
    EXPECT_EQ(paginate(9, 10, 20, 100), (Pages{{0, 8}, {8, 1}}));
    EXPECT_EQ(paginate(17, 10, 25, 100), (Pages{{0, 7}, {7, 7}, {14, 3}}));
    // A line that is not whole on the page goes to the next one.
    EXPECT_EQ(paginate(3, 30, 0, 89), (Pages{{0, 2}, {2, 1}}));
    EXPECT_EQ(paginate(0, 10, 20, 100), (Pages{{0, 0}}));
    // A page too short for a line, or a line without height: one line a page.
    EXPECT_EQ(paginate(2, 50, 20, 60), (Pages{{0, 1}, {1, 1}}));
    EXPECT_EQ(paginate(2, 0, 20, 100), (Pages{{0, 1}, {1, 1}}));

    // Whatever the sizes, the pages follow one another and hold every line once.
    for (int lines = 0; lines < 60; lines += 7)
        for (int height = 1; height < 40; height += 6)
            for (int page = 10; page < 400; page += 53) {
                const Pages pages = paginate(lines, height, 15, page);
                int next = 0;
                for (const PrintedPage& p : pages) {
                    EXPECT_EQ(p.first, next);
                    EXPECT_TRUE(p.count > 0 || lines == 0);
                    // Every line ends on its page, unless the page is too short for even one.
                    EXPECT_TRUE(p.count <= 1 || 15 + p.count * height <= page);
                    next += p.count;
                }
                EXPECT_EQ(next, lines) << lines << " lines of " << height << " on pages of " << page;
            }
}

}  // namespace
}  // namespace korvane
