#include "insert/CommandMenus.h"

#include <span>
#include <string_view>

namespace korvane {
namespace {

// How an entry of a menu table becomes menu entries.
enum class Family {
    Fixed,         // a constant text and caret offset
    Submenu,       // a submenu of other rows
    ModeArray,     // a submenu whose items insert setMode("group","item"), caret at the end
    ModeEmpty,     // one entry inserting setMode("group",""), caret between the last quotes
    CaptionArray,  // a submenu whose items insert their own caption, caret at the end
    CaptionCall,   // one entry inserting its caption, caret before the closing parenthesis
};

struct Row {
    std::string_view name;
    std::string_view caption;
    Family family = Family::Fixed;
    std::string_view text = {};
    int caret = 0;
    std::span<const Row> rows = {};
    std::string_view arrayName = {};
    std::span<const std::string_view> items = {};
};

using Items = std::string_view[];

// Menu "Contrôle".
constexpr Row fctIt[] = {
    {.name = "fctIte", .caption = "If...Then...EndIf", .text = "If  Then\r\n\r\nEndIf", .caret = 3},
    {.name = "fctITEE", .caption = "If...Then...Else...Endif", .text = "If  Then\r\n\r\nElse\r\n\r\nEndif", .caret = 3},
    {.name = "fctET", .caption = "ElseIf...Then", .text = "ElseIf  Then", .caret = 7},
    {.name = "fctTEE", .caption = "Try...Else...EndTry", .text = "Try \r\n\r\nElse\r\n\r\nEndTry", .caret = 4},
};
constexpr Row transfers[] = {
    {.name = "pause", .caption = "Pause", .text = "Pause ", .caret = 6},
    {.name = "return", .caption = "Return", .text = "Return ", .caret = 7},
    {.name = "cycle", .caption = "Cycle", .text = "Cycle", .caret = 5},
    {.name = "stop", .caption = "Stop", .text = "Stop", .caret = 4},
    {.name = "exit", .caption = "Exit", .text = "Exit", .caret = 4},
};
constexpr Row control[] = {
    {.name = "fctIf", .caption = "If", .text = "If ", .caret = 3},
    {.name = "fctIt", .caption = "If...Then", .family = Family::Submenu, .rows = fctIt},
    {.name = "fctWhen", .caption = "When(", .text = "When()", .caret = 5},
    {.name = "fctFor", .caption = "For...EndFor", .text = "For \r\n\r\nEndFor", .caret = 4},
    {.name = "fctWhile", .caption = "While...EndWhile", .text = "While \r\n\r\nEndWhile", .caret = 6},
    {.name = "fctLoop", .caption = "Loop...EndLoop", .text = "Loop \r\n\r\nEndLoop", .caret = 5},
    {.name = "fctCustom", .caption = "Custom...EndCustom", .text = "Custom \r\n\r\nEndCustom", .caret = 7},
    {.name = "transfers", .caption = "Transfers", .family = Family::Submenu, .rows = transfers},
    {.name = "Com", .caption = "\xA9", .text = "\xA9", .caret = 1},
};

// Menu "I/O".
constexpr Row dialog[] = {
    {.name = "fctText", .caption = "Text", .text = "Text ", .caret = 5},
    {.name = "fctRequest", .caption = "Request", .text = "Request ", .caret = 8},
    {.name = "fctPopUp", .caption = "PopUp", .text = "PopUp ", .caret = 6},
    {.name = "fctDropDown", .caption = "DropDown", .text = "DropDown ", .caret = 9},
    {.name = "fctDialog", .caption = "Dialog...EndDlog", .text = "Dialog \r\n\r\nEndDlog", .caret = 7},
    {.name = "fctToolBar", .caption = "ToolBar...EndTBar", .text = "ToolBar \r\n\r\nEndTBar", .caret = 8},
    {.name = "fctTitle", .caption = "Title", .text = "Title ", .caret = 6},
    {.name = "fctItem", .caption = "Item", .text = "Item ", .caret = 5},
};
constexpr Row fctLink[] = {
    {.name = "fctSend", .caption = "Send", .text = "Send ", .caret = 5},
    {.name = "fctGet", .caption = "Get", .text = "Get ", .caret = 4},
    {.name = "fctSendCalc", .caption = "SendCalc", .text = "SendCalc ", .caret = 9},
    {.name = "fctGetCalc", .caption = "GetCalc", .text = "GetCalc ", .caret = 8},
    {.name = "fctSendChat", .caption = "SendChat", .text = "SendChat ", .caret = 9},
};
constexpr Row inputOutput[] = {
    {.name = "dialog", .caption = "Dialog", .family = Family::Submenu, .rows = dialog},
    {.name = "fctDisp", .caption = "Disp", .text = "Disp ", .caret = 5},
    {.name = "fctInput", .caption = "Input", .text = "Input ", .caret = 6},
    {.name = "fctInputStr", .caption = "InputStr", .text = "InputStr ", .caret = 9},
    {.name = "fctPrompt", .caption = "Prompt", .text = "Prompt ", .caret = 7},
    {.name = "fctOutput", .caption = "Output", .text = "Output ", .caret = 7},
    {.name = "fctgetKey", .caption = "getKey()", .text = "getKey()", .caret = 8},
    {.name = "fctLink", .caption = "Link", .family = Family::Submenu, .rows = fctLink},
};

// Menu "Var".
constexpr Row var[] = {
    {.name = "fctDefine", .caption = "Define", .text = "Define ", .caret = 7},
    {.name = "fctDelVar", .caption = "DelVar", .text = "DelVar ", .caret = 7},
    {.name = "fctLocal", .caption = "Local", .text = "Local ", .caret = 6},
    {.name = "fctFunc", .caption = "Func...EndFunc", .text = "Func \r\n\r\nEndFunc", .caret = 5},
    {.name = "fctPrgm", .caption = "Prgm...EndPrgm", .text = "Prgm \r\n\r\nEndPrgm", .caret = 5},
    {.name = "fctLock", .caption = "Lock", .text = "Lock ", .caret = 5},
    {.name = "fctUnlock", .caption = "Unlock", .text = "Unlock ", .caret = 7},
    {.name = "fctArchive", .caption = "Archive", .text = "Archive ", .caret = 8},
    {.name = "fctUnarchiv", .caption = "Unarchiv", .text = "Unarchiv ", .caret = 9},
};

// Menu "Mode": the submenu caption is the mode group written into setMode.
constexpr Items graphItems = {"FUNCTION", "PARAMETRIC", "POLAR", "SEQUENCE", "3D", "DIFF EQUATIONS"};
constexpr Items displayDigitsItems = {
    "FIX 0",   "FIX 1",   "FIX 2",   "FIX 3",   "FIX 4",   "FIX 5",   "FIX 6",    "FIX 7",    "FIX 8",
    "FIX 9",   "FIX 10",  "FIX 11",  "FIX 12",  "FLOAT",   "FLOAT 1", "FLOAT 2",  "FLOAT 3",  "FLOAT 4",
    "FLOAT 5", "FLOAT 6", "FLOAT 7", "FLOAT 8", "FLOAT 9", "FLOAT 10", "FLOAT 11", "FLOAT 12",
};
constexpr Items angleItems = {"RADIAN", "DEGREE"};
constexpr Items expFormatItems = {"NORMAL", "SCIENTIFIC", "ENGINEERING"};
constexpr Items complexFormatItems = {"REAL", "RECTANGULAR", "POLAR"};
constexpr Items vectorFormatItems = {"RECTANGULAR", "CYLINDRICAL", "SPHERICAL"};
constexpr Items prettyPItems = {"OFF", "ON"};
constexpr Items splitScreenItems = {"FULL", "TOP-BOTTOM", "LEFT-RIGHT"};
constexpr Items nogItems = {"1", "2"};
constexpr Items eaItems = {"AUTO", "EXACT", "APPROXIMATE"};
constexpr Items baseItems = {"DEC", "HEX", "BIN"};
constexpr Row mode[] = {
    {.name = "fctGraph_", .caption = "Graph", .family = Family::ModeArray, .arrayName = "fctGraph", .items = graphItems},
    {.name = "fctDisplayD_", .caption = "Display Digits", .family = Family::ModeArray, .arrayName = "fctDisplayD", .items = displayDigitsItems},
    {.name = "fctAngle_", .caption = "Angle", .family = Family::ModeArray, .arrayName = "fctAngle", .items = angleItems},
    {.name = "fctExpFormat_", .caption = "Exponential Format", .family = Family::ModeArray, .arrayName = "fctExpFormat", .items = expFormatItems},
    {.name = "fctComplexFormat_", .caption = "Complex Format", .family = Family::ModeArray, .arrayName = "fctComplexFormat", .items = complexFormatItems},
    {.name = "fctVectorFormat_", .caption = "Vector Format", .family = Family::ModeArray, .arrayName = "fctVectorFormat", .items = vectorFormatItems},
    {.name = "fctPrettyP_", .caption = "Pretty Print", .family = Family::ModeArray, .arrayName = "fctPrettyP", .items = prettyPItems},
    {.name = "fctSplitScreen_", .caption = "Split Screen", .family = Family::ModeArray, .arrayName = "fctSplitScreen", .items = splitScreenItems},
    {.name = "fctSplit1_", .caption = "Split 1 App", .family = Family::ModeEmpty},
    {.name = "fctSplit2_", .caption = "Split 2 App", .family = Family::ModeEmpty},
    {.name = "fctNOG_", .caption = "Number of Graphs", .family = Family::ModeArray, .arrayName = "fctNOG", .items = nogItems},
    {.name = "fctGraph2_", .caption = "Graph 2", .family = Family::ModeArray, .arrayName = "fctGraph2", .items = graphItems},
    {.name = "fctEA_", .caption = "Exact/Approx", .family = Family::ModeArray, .arrayName = "fctEA", .items = eaItems},
    {.name = "fctBase_", .caption = "Base", .family = Family::ModeArray, .arrayName = "fctBase", .items = baseItems},
};

// Menu "Flib": the commands of main\flib, each caption inserted as shown, quotes included.
constexpr Items flibGeneral = {
    "main\\flib(", "main\\flib2(", "\"off\"", "\"breakoff\"", "\"beep:\"", "\"beep2:\"", "\"wait:\"", "\"apd:\"",
    "\"error:\"", "\"reset\"", "\"version\"", "\"getcont\"", "\"setcont:\"", "\"+\"", "\"-\"",
};
constexpr Items flibGraph = {
    "\"clrscr\"", "\"gray\"",     "\"gray2\"",    "\"plane:\"",    "\"sprite:\"", "\"savpic:\"", "\"picsize\"",
    "\"rclscr:\"", "\"savscr:\"", "\"rect:\"",    "\"fillrect:\"", "\"fillpoly:\"", "\"filltri:\"", "\"ellipse:\"",
    "\"line:\"",   "\"pix:\"",    "\"pixtest:\"", "\"mkpic:\"",    "\"map:\"",
};
constexpr Items flibText = {
    "\"font:\"", "\"drawstr:\"", "\"drawstrv:\"", "\"pretty:\"", "\"width:\"",      "\"msg:\"",
    "\"menu:\"", "\"numline:\"", "\"getline:\"",  "\"delline:\"", "\"insertline:\"",
};
constexpr Items flibHScores = {"\"mkhs:\"", "\"puths:\"", "\"geths\""};
constexpr Items flibStatL = {"\"slclr\"", "\"slrcl\"", "\"slmsg:\"", "\"busy:\""};
constexpr Items flibKeys = {"\"keywait\"", "\"keylow\"", "\"initdelay:\"", "\"delay:\""};
constexpr Items flibVar = {
    "\"hide:\"",    "\"unhide:\"",  "\"size:\"",    "\"state:\"", "\"folder:\"", "\"getfolder:\"", "\"getfile:\"",
    "\"getbyte:\"", "\"setbyte:\"", "\"memcpy:\"", "\"komp:\"",  "\"kinfo:\"",  "\"group\"",
};
constexpr Row flib[] = {
    {.name = "flibGeneral_", .caption = "G\xE9n\xE9ral", .family = Family::CaptionArray, .arrayName = "flibGeneral", .items = flibGeneral},
    {.name = "flibGraph_", .caption = "Graph", .family = Family::CaptionArray, .arrayName = "flibGraph", .items = flibGraph},
    {.name = "flibText_", .caption = "Text", .family = Family::CaptionArray, .arrayName = "flibText", .items = flibText},
    {.name = "flibHScores_", .caption = "H-Scores", .family = Family::CaptionArray, .arrayName = "flibHScores", .items = flibHScores},
    {.name = "flibStatL_", .caption = "Stat L", .family = Family::CaptionArray, .arrayName = "flibStatL", .items = flibStatL},
    {.name = "flibKeys_", .caption = "Keys", .family = Family::CaptionArray, .arrayName = "flibKeys", .items = flibKeys},
    {.name = "flibVar_", .caption = "Var", .family = Family::CaptionArray, .arrayName = "flibVar", .items = flibVar},
};

// Menu "Vertel": the commands of main\vertel, each a quoted 8-character name.
constexpr Items vertelDrw = {
    "\"drw_clrs\"", "\"drw_crcp\"", "\"drw_crcv\"", "\"drw_line\"", "\"drw_mask\"", "\"drw_pict\"", "\"drw_pixl\"",
    "\"drw_recp\"", "\"drw_recv\"", "\"drw_save\"", "\"drw_size\"", "\"drw_test\"", "\"drw_trip\"", "\"drw_zoom\"",
};
constexpr Items vertelExe = {"\"exe_offp\"", "\"exe_paus\"", "\"exe_retr\"", "\"exe_vers\"", "\"exe_wait\""};
constexpr Items vertelSet = {
    "\"set_apdt\"", "\"set_brek\"", "\"set_busy\"", "\"set_clip\"", "\"set_cntr\"",
    "\"set_gray\"", "\"set_keyi\"", "\"set_keyr\"", "\"set_powr\"", "\"set_time\"",
};
constexpr Items vertelTxt = {"\"txt_draw\"", "\"txt_prty\"", "\"txt_stln\"", "\"txt_wdth\""};
constexpr Items vertelVar = {
    "\"var_bget\"", "\"var_bset\"", "\"var_delt\"", "\"var_hide\"", "\"var_list\"",
    "\"var_make\"", "\"var_size\"", "\"var_srch\"", "\"var_stat\"",
};
constexpr Row vertel[] = {
    {.name = "mainVertel_", .caption = "main\\vertel()", .family = Family::CaptionCall},
    {.name = "fctDrw_", .caption = "drw", .family = Family::CaptionArray, .arrayName = "fctDrw", .items = vertelDrw},
    {.name = "fctExe_", .caption = "exe", .family = Family::CaptionArray, .arrayName = "fctExe", .items = vertelExe},
    {.name = "fctSet_", .caption = "set", .family = Family::CaptionArray, .arrayName = "fctSet", .items = vertelSet},
    {.name = "fctTxt_", .caption = "txt", .family = Family::CaptionArray, .arrayName = "fctTxt", .items = vertelTxt},
    {.name = "fctVar_", .caption = "var", .family = Family::CaptionArray, .arrayName = "fctVar", .items = vertelVar},
};

struct MenuSource {
    std::string_view name;
    std::string_view captionFr;
    std::string_view captionEn;
    std::span<const Row> rows;
};
constexpr MenuSource menuSources[] = {
    {"control", "Contr\xF4le", "Control", control},
    {"InputOutput", "I/O", "I/O", inputOutput},
    {"var", "Var", "Var", var},
    {"mode", "Mode", "Mode", mode},
    {"fctFlib", "Flib", "Flib", flib},
    {"fctVertel", "Vertel", "Vertel", vertel},
};

std::string setModeText(std::string_view group, std::string_view value) {
    return "setMode(\"" + std::string(group) + "\",\"" + std::string(value) + "\")";
}

MenuEntry leaf(std::string_view name, int index, std::string_view caption, std::string text, int caret) {
    MenuEntry entry;
    entry.name = name;
    entry.index = index;
    entry.caption = caption;
    entry.text = std::move(text);
    entry.caret = caret;
    return entry;
}

MenuEntry buildEntry(const Row& row) {
    MenuEntry entry = leaf(row.name, 0, row.caption, {}, 0);
    switch (row.family) {
        case Family::Fixed:
            entry.text = row.text;
            entry.caret = row.caret;
            break;
        case Family::Submenu:
            for (const Row& child : row.rows) entry.submenu.push_back(buildEntry(child));
            break;
        case Family::ModeEmpty:
            entry.text = setModeText(row.caption, "");
            entry.caret = static_cast<int>(entry.text.size()) - 2;
            break;
        case Family::CaptionCall:
            entry.text = row.caption;
            entry.caret = static_cast<int>(entry.text.size()) - 1;
            break;
        case Family::ModeArray:
        case Family::CaptionArray: {
            int index = 1;
            for (std::string_view item : row.items) {
                std::string text = row.family == Family::ModeArray ? setModeText(row.caption, item) : std::string(item);
                const int caret = static_cast<int>(text.size());
                entry.submenu.push_back(leaf(row.arrayName, index++, item, std::move(text), caret));
            }
            break;
        }
    }
    return entry;
}

}  // namespace

const std::vector<CommandMenu>& commandMenus() {
    static const std::vector<CommandMenu> menus = [] {
        std::vector<CommandMenu> built;
        for (const MenuSource& source : menuSources) {
            CommandMenu menu{std::string(source.name), std::string(source.captionFr), std::string(source.captionEn), {}};
            for (const Row& row : source.rows) menu.entries.push_back(buildEntry(row));
            built.push_back(std::move(menu));
        }
        return built;
    }();
    return menus;
}

const std::string& commandMenuCaption(const CommandMenu& menu, const std::string& langue) {
    return langue == "En" ? menu.captionEn : menu.captionFr;
}

}  // namespace korvane
