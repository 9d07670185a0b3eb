// The catalogue's file, the palette's buttons, the tool strip's captions and the
// layout routine's placement of the docked tool windows.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

#include "insert/Catalogue.h"
#include "insert/Palette.h"
#include "insert/ToolStrip.h"
#include "shell/Layout.h"

namespace korvane {
namespace {

using Rows = std::vector<std::string>;

TEST(Catalogue, FieldsSplitOnCommasAndLineBreaksWithQuotedFieldsWhole) {
    EXPECT_EQ(parseCatalogue(""), Rows{});
    EXPECT_EQ(parseCatalogue("Disp,Pause\r\nReturn\nStop\rExit"), (Rows{"Disp", "Pause", "Return", "Stop", "Exit"}));
    // One quoted field holding a comma is one row; without quotes it is two.
    EXPECT_EQ(parseCatalogue("\"augment(a,b)\"\r\n"), Rows{"augment(a,b)"});
    EXPECT_EQ(parseCatalogue("augment(a,b)\r\n"), (Rows{"augment(a", "b)"}));
    // Leading blanks go, a quoted field keeps its own blanks, empty fields give no row.
    EXPECT_EQ(parseCatalogue("  abs(,, \" Then \"x,\r\n\r\n   \r\ncos(  "), (Rows{"abs(", " Then ", "cos("}));
    // An unclosed quote runs to the end of the file.
    EXPECT_EQ(parseCatalogue("a,\"b,c"), (Rows{"a", "b,c"}));
    // Calculator codes pass through: the conversion arrow and the root sign.
    EXPECT_EQ(parseCatalogue("\x12" "DMS,\xA8("), (Rows{"\x12" "DMS", "\xA8("}));
}

TEST(Catalogue, FileIsLookedUpBesideTheProgramThenInTheInstalledLayout) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / "korvane-catalogue-test";
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share" / "korvane");
    const Rows candidates = catalogueCandidates((root / "bin").string());
    ASSERT_EQ(candidates.size(), 2u);
    EXPECT_EQ(fs::path(candidates[0]), root / "bin" / "catalogue.dat");
    EXPECT_EQ(fs::path(candidates[1]), root / "share" / "korvane" / "catalogue.dat");

    // Nothing there: no rows, and the message names the first place.
    CatalogueFile none = readCatalogue(candidates);
    EXPECT_TRUE(none.rows.empty());
    EXPECT_EQ(none.failedPath, candidates[0]);
    EXPECT_NE(catalogueMessage(none.failedPath).find(candidates[0]), std::string::npos);

    std::ofstream(candidates[1], std::ios::binary) << "Disp,Pause";
    EXPECT_EQ(readCatalogue(candidates).rows, (Rows{"Disp", "Pause"}));
    EXPECT_TRUE(readCatalogue(candidates).failedPath.empty());
    // The one beside the program wins; a directory in its place is a failure named as such.
    std::ofstream(candidates[0], std::ios::binary) << "Stop";
    EXPECT_EQ(readCatalogue(candidates).rows, Rows{"Stop"});
    fs::remove(candidates[0]);
    fs::create_directory(candidates[0]);
    CatalogueFile dir = readCatalogue(candidates);
    EXPECT_TRUE(dir.rows.empty());
    EXPECT_EQ(dir.failedPath, candidates[0]);
    fs::remove_all(root);
}

TEST(Catalogue, ControlsFollowTheWindowSizeAndADragEndsOutsideTheList) {
    const CatalogueControls c = catalogueControls(1800, 6000);
    EXPECT_EQ(c.lockWidth, 1800);
    EXPECT_EQ(c.lockTop, 5400);
    EXPECT_EQ(c.listWidth, 1700);
    EXPECT_EQ(c.listHeight, 5400);  // 5500 would run under the lock button
    const CatalogueControls tiny = catalogueControls(50, 300);
    EXPECT_EQ(tiny.listWidth, 0);
    EXPECT_EQ(tiny.lockTop, 0);
    EXPECT_EQ(tiny.listHeight, 0);
    EXPECT_TRUE(releaseOutsideList(-1, 1700));
    EXPECT_FALSE(releaseOutsideList(0, 1700));
    EXPECT_FALSE(releaseOutsideList(1700, 1700));
    EXPECT_TRUE(releaseOutsideList(1701, 1700));
}

TEST(Palette, ButtonsStandInTheirRowsAndGroups) {
    // Row by row from the top, left to right.
    const std::vector<std::vector<int>> rows = {
        {128, 129, 130, 131, 132, 133, 134, 135, 136, 137, 181},
        {138, 139, 140, 141, 143, 144, 145, 146, 147, 148},
        {28, 29, 30, 31, 150, 152, 176, 159, 153, 154, 155, 156},
        {157, 158, 168, 172, 185, 178, 179, 180, 215, 247, 177},
        {33, 34, 35, 36, 37, 38, 39, 63, 64, 95, 96, 124, 126, 160},
        {161, 162, 163, 164, 165, 166, 167, 169, 174, 182, 191, 171, 187},
        {14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 127},
    };
    const PaletteGroup groups[] = {PaletteGroup::Greek, PaletteGroup::Greek, PaletteGroup::Math, PaletteGroup::Math,
                                   PaletteGroup::Ponctuation, PaletteGroup::Ponctuation, PaletteGroup::Special};
    const auto keys = paletteKeys();
    ASSERT_EQ(keys.size(), 86u);
    std::size_t k = 0;
    std::map<int, int> seen;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c, ++k) {
            SCOPED_TRACE(rows[r][c]);
            EXPECT_EQ(keys[k].code, rows[r][c]);
            EXPECT_EQ(keys[k].group, groups[r]);
            EXPECT_EQ(paletteTop(keys[k]), static_cast<int>(r) * 360);
            EXPECT_EQ(paletteLeft(keys[k]), 960 + static_cast<int>(c) * 360);
            EXPECT_FALSE(keys[k].name.empty());
            ++seen[keys[k].code];
        }
    }
    EXPECT_EQ(seen.count(142), 0u);
    for (const auto& [code, count] : seen) EXPECT_EQ(count, 1) << code;
    // The rightmost buttons stay inside the 6375-twip window.
    for (const PaletteKey& key : keys) EXPECT_LE(paletteLeft(key) + 375, 6375);
}

TEST(Palette, ReleaseAssignsOnlyOffTheFixedButtonSize) {
    EXPECT_FALSE(releaseAssigns(0, 0));
    EXPECT_FALSE(releaseAssigns(375, 375));
    EXPECT_FALSE(releaseAssigns(200, 100));
    EXPECT_TRUE(releaseAssigns(400 + 375, 100));  // 400 twips right of the button
    EXPECT_TRUE(releaseAssigns(376, 0));
    EXPECT_TRUE(releaseAssigns(-1, 0));
    EXPECT_TRUE(releaseAssigns(0, -15));
    EXPECT_TRUE(releaseAssigns(0, 390));
}

TEST(ToolStrip, QuickButtonsInsertTheirCaptionAndThePunctuationOneItsFirstCharacter) {
    EXPECT_EQ(quickInsertion(QuickButtonKind::Catalogue, "Disp"), "Disp");
    EXPECT_EQ(quickInsertion(QuickButtonKind::Greek, "\x88"), "\x88");
    EXPECT_EQ(quickInsertion(QuickButtonKind::Ponctuation, "&&"), "&");
    EXPECT_EQ(quickInsertion(QuickButtonKind::Ponctuation, "~"), "~");
    EXPECT_EQ(quickInsertion(QuickButtonKind::Ponctuation, ""), "");
    // Labels show one ampersand for the "&&" that stands for it.
    EXPECT_EQ(quickLabel(QuickButtonKind::Ponctuation, "&&"), "&&");
    EXPECT_EQ(quickLabel(QuickButtonKind::Catalogue, "a&b"), "a&&b");

    const auto buttons = quickButtons();
    ASSERT_EQ(buttons.size(), 5u);
    const int lefts[] = {120, 600, 1080, 1920, 2640};
    const int widths[] = {495, 495, 855, 735, 1095};
    const char* names[] = {"CmdGreek", "CmdMath", "CmdPonctuation", "CmdSpecial", "CmdCatalog"};
    const char* labels[] = {"Greek", "Math", "Ponctuation", "Special", "Catalogue"};
    const int labelLefts[] = {140, 650, 1110, 2040, 2840};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(buttons[i].left, lefts[i]);
        EXPECT_EQ(buttons[i].width, widths[i]);
        EXPECT_EQ(buttons[i].name, names[i]);
        EXPECT_EQ(buttons[i].label, labels[i]);
        EXPECT_EQ(buttons[i].labelLeft, labelLefts[i]);
    }
    EXPECT_EQ(buttons[3].tip, "Bouton param\xC3\xA9trable : clique droit sur un caract\xC3\xA8re Special pour modifier ce bouton");
    EXPECT_EQ(buttons[4].tip,
              "Bouton param\xC3\xA9trable : clique droit sur un mot cl\xC3\xA9 du Catalogue pour modifier ce bouton");
}

TEST(Layout, StretchesTheEditorAndDocksTheLockedToolWindows) {
    LayoutInput in;
    in.main = {3000, 1500, 7000, 6600};
    in.editorHeight = 1575;
    in.catalogueLocked = true;
    in.catalogue = {100, 200, 1800, 900};
    in.paletteLocked = true;
    in.palette = {50, 60, 6500, 3100};
    const MainLayout l = layoutFor(in);
    EXPECT_EQ(l.editorWidth, 6600);
    EXPECT_EQ(l.stripWidth, 7000);
    EXPECT_EQ(l.nameFieldWidth, 6600);
    EXPECT_EQ(l.editorHeight, 3400);
    EXPECT_EQ(l.progressTop, 2160 + 3400 + 70);
    // Against the right edge, top-aligned, as tall; under the window, left-aligned.
    EXPECT_EQ(l.catalogue, (TwipsRect{10000, 1500, 1800, 6600}));
    EXPECT_EQ(l.palette, (TwipsRect{3000, 8100, 6500, 3100}));
    EXPECT_FALSE(l.widenTo);

    // Only the locked window follows; a height of exactly 3200 keeps the editor's.
    in.catalogueLocked = false;
    in.main.height = 3200;
    const MainLayout low = layoutFor(in);
    EXPECT_FALSE(low.catalogue);
    EXPECT_EQ(low.palette, (TwipsRect{3000, 4700, 6500, 3100}));
    EXPECT_FALSE(low.editorHeight);
    EXPECT_EQ(low.progressTop, 2160 + 1575 + 70);
    in.main.height = 3201;
    EXPECT_EQ(layoutFor(in).editorHeight, 1);

    in.main.width = 5339;
    EXPECT_EQ(layoutFor(in).widenTo, 5340);
    in.main.width = 5340;
    EXPECT_FALSE(layoutFor(in).widenTo);

    // A click on the window's surface re-attaches a locked catalogue, height unchanged.
    in.catalogueLocked = true;
    EXPECT_EQ(catalogueAfterSurfaceClick(in), (TwipsRect{8340, 1500, 1800, 900}));
    in.catalogueLocked = false;
    EXPECT_FALSE(catalogueAfterSurfaceClick(in));
}

TEST(Layout, AWindowAsLargeAsTheScreenLeavesRoomForItsShownDockedWindows) {
    // A 1600 x 900 pixel screen whose panel takes the top 30 pixels.
    const TwipsRect area{0, 450, 24000, 13050};
    LayoutInput in;
    in.main = area;  // maximised
    in.editorHeight = 1575;
    in.catalogueLocked = in.catalogueShown = true;
    in.catalogue = {0, 0, 1800, 900};
    in.paletteLocked = in.paletteShown = true;
    in.palette = {0, 0, 6500, 3100};
    in.screen = area;
    const auto inside = [&](const TwipsRect& r) {
        return r.left >= area.left && r.top >= area.top && r.left + r.width <= area.left + area.width &&
               r.top + r.height <= area.top + area.height;
    };
    MainLayout l = layoutFor(in);
    EXPECT_EQ(l.largest, (TwipsSize{22200, 9950}));
    ASSERT_TRUE(l.main);
    EXPECT_EQ(*l.main, (TwipsRect{0, 450, 22200, 9950}));
    // Docked to the narrower, shorter window, both wholly on the screen.
    EXPECT_EQ(l.catalogue, (TwipsRect{22200, 450, 1800, 9950}));
    EXPECT_EQ(l.palette, (TwipsRect{0, 10400, 6500, 3100}));
    EXPECT_TRUE(inside(*l.catalogue) && inside(*l.palette));
    // The rest of the layout follows the new frame.
    EXPECT_EQ(l.editorWidth, 22200 - 400);
    EXPECT_EQ(l.editorHeight, 9950 - 3200);

    // Wider than the room, placed too far right: it moves left and narrows.
    in.main = {5000, 900, 23000, 6000};
    l = layoutFor(in);
    ASSERT_TRUE(l.main);
    EXPECT_EQ(*l.main, (TwipsRect{0, 900, 22200, 6000}));
    EXPECT_TRUE(inside(*l.catalogue) && inside(*l.palette));

    // A window that leaves the room is the user's own placement: nothing changes.
    in.main = {3000, 1500, 7000, 6600};
    l = layoutFor(in);
    EXPECT_FALSE(l.main);
    EXPECT_EQ(l.catalogue, (TwipsRect{10000, 1500, 1800, 6600}));

    // Only shown docked windows take room: a hidden catalogue and a floating palette none.
    in.main = area;
    in.catalogueShown = false;
    l = layoutFor(in);
    EXPECT_EQ(l.largest, (TwipsSize{24000, 9950}));
    EXPECT_EQ(*l.main, (TwipsRect{0, 450, 24000, 9950}));
    in.paletteLocked = false;
    l = layoutFor(in);
    EXPECT_FALSE(l.largest);
    EXPECT_FALSE(l.main);
    EXPECT_EQ(l.stripWidth, 24000);

    // An unknown screen leaves the frame alone; a screen narrower than the minimum
    // width keeps the minimum.
    in.catalogueShown = in.paletteLocked = true;
    in.screen.reset();
    EXPECT_FALSE(layoutFor(in).main);
    in.screen = TwipsRect{0, 0, 6000, 6000};
    in.main = {0, 0, 6000, 6000};
    l = layoutFor(in);
    EXPECT_EQ(l.largest->width, kMinimumWindowWidth);
    EXPECT_EQ(l.main->width, kMinimumWindowWidth);
    EXPECT_EQ(l.main->left, 0);
}

}  // namespace
}  // namespace korvane
