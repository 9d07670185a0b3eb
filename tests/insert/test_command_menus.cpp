#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/MemoryEditor.h"
#include "insert/CommandMenus.h"
#include "insert/Insertion.h"

namespace korvane {
namespace {

// One leaf as the menus must offer it: where it sits (menu name and submenu entry
// names), its name and array index, caption, inserted text and caret offset.
struct Leaf {
    std::string path;
    std::string name;
    int index;
    std::string caption;
    std::string text;
    int caret;
};

const std::string NL = "\r\n";

void addFixed(std::vector<Leaf>& out, const std::string& path, std::vector<Leaf> leaves) {
    for (auto& leaf : leaves) {
        leaf.path = path;
        out.push_back(std::move(leaf));
    }
}

// A mode group: setMode("group","item"), caret after the closing parenthesis at
// `base` plus the item's length.
void addMode(std::vector<Leaf>& out, const std::string& entry, const std::string& array, const std::string& group,
             int base, const std::vector<std::string>& items) {
    int index = 1;
    for (const auto& item : items) {
        out.push_back({"mode/" + entry, array, index++, item, "setMode(\"" + group + "\",\"" + item + "\")",
                       base + static_cast<int>(item.size())});
    }
}

// An array whose captions are inserted as shown, caret at their end.
void addVerbatim(std::vector<Leaf>& out, const std::string& path, const std::string& array,
                 const std::vector<std::string>& captions) {
    int index = 1;
    for (const auto& caption : captions) out.push_back({path, array, index++, caption, caption, static_cast<int>(caption.size())});
}

std::vector<Leaf> expectedLeaves() {
    std::vector<Leaf> e;
    addFixed(e, "control", {{"", "fctIf", 0, "If", "If ", 3}});
    addFixed(e, "control/fctIt",
             {{"", "fctIte", 0, "If...Then...EndIf", "If  Then" + NL + NL + "EndIf", 3},
              {"", "fctITEE", 0, "If...Then...Else...Endif", "If  Then" + NL + NL + "Else" + NL + NL + "Endif", 3},
              {"", "fctET", 0, "ElseIf...Then", "ElseIf  Then", 7},
              {"", "fctTEE", 0, "Try...Else...EndTry", "Try " + NL + NL + "Else" + NL + NL + "EndTry", 4}});
    addFixed(e, "control",
             {{"", "fctWhen", 0, "When(", "When()", 5},
              {"", "fctFor", 0, "For...EndFor", "For " + NL + NL + "EndFor", 4},
              {"", "fctWhile", 0, "While...EndWhile", "While " + NL + NL + "EndWhile", 6},
              {"", "fctLoop", 0, "Loop...EndLoop", "Loop " + NL + NL + "EndLoop", 5},
              {"", "fctCustom", 0, "Custom...EndCustom", "Custom " + NL + NL + "EndCustom", 7}});
    addFixed(e, "control/transfers",
             {{"", "pause", 0, "Pause", "Pause ", 6},
              {"", "return", 0, "Return", "Return ", 7},
              {"", "cycle", 0, "Cycle", "Cycle", 5},
              {"", "stop", 0, "Stop", "Stop", 4},
              {"", "exit", 0, "Exit", "Exit", 4}});
    addFixed(e, "control", {{"", "Com", 0, "\xA9", "\xA9", 1}});

    addFixed(e, "InputOutput/dialog",
             {{"", "fctText", 0, "Text", "Text ", 5},
              {"", "fctRequest", 0, "Request", "Request ", 8},
              {"", "fctPopUp", 0, "PopUp", "PopUp ", 6},
              {"", "fctDropDown", 0, "DropDown", "DropDown ", 9},
              {"", "fctDialog", 0, "Dialog...EndDlog", "Dialog " + NL + NL + "EndDlog", 7},
              {"", "fctToolBar", 0, "ToolBar...EndTBar", "ToolBar " + NL + NL + "EndTBar", 8},
              {"", "fctTitle", 0, "Title", "Title ", 6},
              {"", "fctItem", 0, "Item", "Item ", 5}});
    addFixed(e, "InputOutput",
             {{"", "fctDisp", 0, "Disp", "Disp ", 5},
              {"", "fctInput", 0, "Input", "Input ", 6},
              {"", "fctInputStr", 0, "InputStr", "InputStr ", 9},
              {"", "fctPrompt", 0, "Prompt", "Prompt ", 7},
              {"", "fctOutput", 0, "Output", "Output ", 7},
              {"", "fctgetKey", 0, "getKey()", "getKey()", 8}});
    addFixed(e, "InputOutput/fctLink",
             {{"", "fctSend", 0, "Send", "Send ", 5},
              {"", "fctGet", 0, "Get", "Get ", 4},
              {"", "fctSendCalc", 0, "SendCalc", "SendCalc ", 9},
              {"", "fctGetCalc", 0, "GetCalc", "GetCalc ", 8},
              {"", "fctSendChat", 0, "SendChat", "SendChat ", 9}});

    addFixed(e, "var",
             {{"", "fctDefine", 0, "Define", "Define ", 7},
              {"", "fctDelVar", 0, "DelVar", "DelVar ", 7},
              {"", "fctLocal", 0, "Local", "Local ", 6},
              {"", "fctFunc", 0, "Func...EndFunc", "Func " + NL + NL + "EndFunc", 5},
              {"", "fctPrgm", 0, "Prgm...EndPrgm", "Prgm " + NL + NL + "EndPrgm", 5},
              {"", "fctLock", 0, "Lock", "Lock ", 5},
              {"", "fctUnlock", 0, "Unlock", "Unlock ", 7},
              {"", "fctArchive", 0, "Archive", "Archive ", 8},
              {"", "fctUnarchiv", 0, "Unarchiv", "Unarchiv ", 9}});

    const std::vector<std::string> graphs = {"FUNCTION", "PARAMETRIC", "POLAR", "SEQUENCE", "3D", "DIFF EQUATIONS"};
    addMode(e, "fctGraph_", "fctGraph", "Graph", 19, graphs);
    addMode(e, "fctDisplayD_", "fctDisplayD", "Display Digits", 28,
            {"FIX 0", "FIX 1", "FIX 2", "FIX 3", "FIX 4", "FIX 5", "FIX 6", "FIX 7", "FIX 8", "FIX 9", "FIX 10",
             "FIX 11", "FIX 12", "FLOAT", "FLOAT 1", "FLOAT 2", "FLOAT 3", "FLOAT 4", "FLOAT 5", "FLOAT 6",
             "FLOAT 7", "FLOAT 8", "FLOAT 9", "FLOAT 10", "FLOAT 11", "FLOAT 12"});
    addMode(e, "fctAngle_", "fctAngle", "Angle", 19, {"RADIAN", "DEGREE"});
    addMode(e, "fctExpFormat_", "fctExpFormat", "Exponential Format", 32, {"NORMAL", "SCIENTIFIC", "ENGINEERING"});
    addMode(e, "fctComplexFormat_", "fctComplexFormat", "Complex Format", 28, {"REAL", "RECTANGULAR", "POLAR"});
    addMode(e, "fctVectorFormat_", "fctVectorFormat", "Vector Format", 27, {"RECTANGULAR", "CYLINDRICAL", "SPHERICAL"});
    addMode(e, "fctPrettyP_", "fctPrettyP", "Pretty Print", 26, {"OFF", "ON"});
    addMode(e, "fctSplitScreen_", "fctSplitScreen", "Split Screen", 26, {"FULL", "TOP-BOTTOM", "LEFT-RIGHT"});
    addFixed(e, "mode",
             {{"", "fctSplit1_", 0, "Split 1 App", "setMode(\"Split 1 App\",\"\")", 23},
              {"", "fctSplit2_", 0, "Split 2 App", "setMode(\"Split 2 App\",\"\")", 23}});
    addMode(e, "fctNOG_", "fctNOG", "Number of Graphs", 30, {"1", "2"});
    addMode(e, "fctGraph2_", "fctGraph2", "Graph 2", 21, graphs);
    addMode(e, "fctEA_", "fctEA", "Exact/Approx", 26, {"AUTO", "EXACT", "APPROXIMATE"});
    addMode(e, "fctBase_", "fctBase", "Base", 18, {"DEC", "HEX", "BIN"});

    addVerbatim(e, "fctFlib/flibGeneral_", "flibGeneral",
                {"main\\flib(", "main\\flib2(", "\"off\"", "\"breakoff\"", "\"beep:\"", "\"beep2:\"", "\"wait:\"",
                 "\"apd:\"", "\"error:\"", "\"reset\"", "\"version\"", "\"getcont\"", "\"setcont:\"", "\"+\"", "\"-\""});
    addVerbatim(e, "fctFlib/flibGraph_", "flibGraph",
                {"\"clrscr\"", "\"gray\"", "\"gray2\"", "\"plane:\"", "\"sprite:\"", "\"savpic:\"", "\"picsize\"",
                 "\"rclscr:\"", "\"savscr:\"", "\"rect:\"", "\"fillrect:\"", "\"fillpoly:\"", "\"filltri:\"",
                 "\"ellipse:\"", "\"line:\"", "\"pix:\"", "\"pixtest:\"", "\"mkpic:\"", "\"map:\""});
    addVerbatim(e, "fctFlib/flibText_", "flibText",
                {"\"font:\"", "\"drawstr:\"", "\"drawstrv:\"", "\"pretty:\"", "\"width:\"", "\"msg:\"", "\"menu:\"",
                 "\"numline:\"", "\"getline:\"", "\"delline:\"", "\"insertline:\""});
    addVerbatim(e, "fctFlib/flibHScores_", "flibHScores", {"\"mkhs:\"", "\"puths:\"", "\"geths\""});
    addVerbatim(e, "fctFlib/flibStatL_", "flibStatL", {"\"slclr\"", "\"slrcl\"", "\"slmsg:\"", "\"busy:\""});
    addVerbatim(e, "fctFlib/flibKeys_", "flibKeys", {"\"keywait\"", "\"keylow\"", "\"initdelay:\"", "\"delay:\""});
    addVerbatim(e, "fctFlib/flibVar_", "flibVar",
                {"\"hide:\"", "\"unhide:\"", "\"size:\"", "\"state:\"", "\"folder:\"", "\"getfolder:\"",
                 "\"getfile:\"", "\"getbyte:\"", "\"setbyte:\"", "\"memcpy:\"", "\"komp:\"", "\"kinfo:\"", "\"group\""});

    addFixed(e, "fctVertel", {{"", "mainVertel_", 0, "main\\vertel()", "main\\vertel()", 12}});
    addVerbatim(e, "fctVertel/fctDrw_", "fctDrw",
                {"\"drw_clrs\"", "\"drw_crcp\"", "\"drw_crcv\"", "\"drw_line\"", "\"drw_mask\"", "\"drw_pict\"",
                 "\"drw_pixl\"", "\"drw_recp\"", "\"drw_recv\"", "\"drw_save\"", "\"drw_size\"", "\"drw_test\"",
                 "\"drw_trip\"", "\"drw_zoom\""});
    addVerbatim(e, "fctVertel/fctExe_", "fctExe", {"\"exe_offp\"", "\"exe_paus\"", "\"exe_retr\"", "\"exe_vers\"", "\"exe_wait\""});
    addVerbatim(e, "fctVertel/fctSet_", "fctSet",
                {"\"set_apdt\"", "\"set_brek\"", "\"set_busy\"", "\"set_clip\"", "\"set_cntr\"", "\"set_gray\"",
                 "\"set_keyi\"", "\"set_keyr\"", "\"set_powr\"", "\"set_time\""});
    addVerbatim(e, "fctVertel/fctTxt_", "fctTxt", {"\"txt_draw\"", "\"txt_prty\"", "\"txt_stln\"", "\"txt_wdth\""});
    addVerbatim(e, "fctVertel/fctVar_", "fctVar",
                {"\"var_bget\"", "\"var_bset\"", "\"var_delt\"", "\"var_hide\"", "\"var_list\"", "\"var_make\"",
                 "\"var_size\"", "\"var_srch\"", "\"var_stat\""});
    return e;
}

void collectLeaves(const std::vector<MenuEntry>& entries, const std::string& path, std::vector<Leaf>& out) {
    for (const auto& entry : entries) {
        if (entry.isSubmenu()) {
            collectLeaves(entry.submenu, path + "/" + entry.name, out);
        } else {
            out.push_back({path, entry.name, entry.index, entry.caption, entry.text, entry.caret});
        }
    }
}

// An empty program with the caret on its body line: inserting there must leave
// exactly the entry's text between the frame and the caret at its offset.
const std::string kHeader = "\r\nPrgm\r\n";
const std::string kTrailer = "\r\nEndPrgm";

TEST(CommandMenus, EveryLeafInsertsItsTextWithItsCaret) {
    std::vector<Leaf> actual;
    for (const auto& menu : commandMenus()) collectLeaves(menu.entries, menu.name, actual);
    const std::vector<Leaf> expected = expectedLeaves();
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Leaf& want = expected[i];
        const Leaf& got = actual[i];
        SCOPED_TRACE(want.path + "/" + want.name + "[" + std::to_string(want.index) + "] " + want.caption);
        EXPECT_EQ(got.path, want.path);
        EXPECT_EQ(got.name, want.name);
        EXPECT_EQ(got.index, want.index);
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ(got.text, want.text);
        EXPECT_EQ(got.caret, want.caret);

        // Through ajoutText the text lands in the body; the recolouring may only
        // change the letter case of keywords.
        MemoryEditor editor(kHeader + kTrailer);
        editor.setCaret(8);
        int posCurseur = 0;
        EditorContext context{editor, posCurseur, "10"};
        ajoutText(context, got.text, got.caret);
        ASSERT_EQ(editor.length(), static_cast<int>(kHeader.size() + want.text.size() + kTrailer.size()));
        EXPECT_EQ(editor.caret(), 8 + want.caret);
        EXPECT_EQ(editor.selectionLength(), 0);
    }
}

TEST(CommandMenus, MenuBarOrderCaptionsAndSubmenus) {
    const auto& menus = commandMenus();
    std::vector<std::string> names, french, english;
    for (const auto& menu : menus) {
        names.push_back(menu.name);
        french.push_back(commandMenuCaption(menu, "Fr"));
        english.push_back(commandMenuCaption(menu, "En"));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"control", "InputOutput", "var", "mode", "fctFlib", "fctVertel"}));
    EXPECT_EQ(french, (std::vector<std::string>{"Contr\xF4le", "I/O", "Var", "Mode", "Flib", "Vertel"}));
    EXPECT_EQ(english, (std::vector<std::string>{"Control", "I/O", "Var", "Mode", "Flib", "Vertel"}));
    // Any language code other than "En" shows the French caption.
    EXPECT_EQ(commandMenuCaption(menus[0], "1"), "Contr\xF4le");

    auto submenuCaptions = [](const CommandMenu& menu) {
        std::vector<std::string> captions;
        for (const auto& entry : menu.entries)
            if (entry.isSubmenu()) captions.push_back(entry.caption);
        return captions;
    };
    EXPECT_EQ(submenuCaptions(menus[0]), (std::vector<std::string>{"If...Then", "Transfers"}));
    EXPECT_EQ(submenuCaptions(menus[1]), (std::vector<std::string>{"Dialog", "Link"}));
    EXPECT_EQ(submenuCaptions(menus[3]),
              (std::vector<std::string>{"Graph", "Display Digits", "Angle", "Exponential Format", "Complex Format",
                                        "Vector Format", "Pretty Print", "Split Screen", "Number of Graphs", "Graph 2",
                                        "Exact/Approx", "Base"}));
    EXPECT_EQ(submenuCaptions(menus[4]),
              (std::vector<std::string>{"G\xE9n\xE9ral", "Graph", "Text", "H-Scores", "Stat L", "Keys", "Var"}));
    EXPECT_EQ(submenuCaptions(menus[5]), (std::vector<std::string>{"drw", "exe", "set", "txt", "var"}));
    // The two direct Mode entries sit between "Split Screen" and "Number of Graphs".
    EXPECT_EQ(menus[3].entries[8].caption, "Split 1 App");
    EXPECT_EQ(menus[3].entries[9].caption, "Split 2 App");
}

}  // namespace
}  // namespace korvane
