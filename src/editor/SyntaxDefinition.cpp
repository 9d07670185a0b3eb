#include "editor/SyntaxDefinition.h"

#include <cstdio>
#include <string_view>

#include "editor/CharTable.h"
#include "editor/Colouring.h"
#include "files/ProgramTextFile.h"

namespace korvane {
namespace {

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else if (c == '"') out += "&quot;";
        else out += c;
    }
    return out;
}

std::string keywordList(const char* name, std::string_view list) {
    std::string out = std::string("    <list name=\"") + name + "\">\n";
    for (const std::string& word : keywordWords(list)) {
        out += "      <item>" + escaped(calcToUtf8(word)) + "</item>\n";
        // The calculator spells it EndCustm, as real files hold it; Korvane's lists say EndCustom.
        if (word == "EndCustom") out += "      <item>EndCustm</item>\n";
    }
    return out + "    </list>\n";
}

std::string hex(Rgb colour) {
    char text[8];
    std::snprintf(text, sizeof text, "#%06x", static_cast<unsigned>(colour));
    return text;
}

}  // namespace

std::string syntaxDefinition() {
    const ColourTable colours;
    const std::string comment = calcToUtf8(std::string(1, '\xA9'));
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE language>\n"
        "<!-- Made by korvane-tool syntax from Korvane's colouring: do not edit. -->\n"
        "<language name=\"TI-BASIC (TI-89, TI-92 Plus)\" section=\"Sources\" version=\"1\" kateversion=\"5.0\" "
        "extensions=\"*" + std::string(kProgramTextExtension) + "\" mimetype=\"text/x-ti68k-basic\" "
        "casesensitive=\"0\" author=\"Korvane\" license=\"GPL-3.0-or-later\">\n"
        "  <highlighting>\n";
    xml += keywordList("blocks", motsBloc);
    xml += keywordList("instructions", motsInstr);
    xml +=
        "    <contexts>\n"
        "      <context name=\"Normal\" attribute=\"Normal Text\" lineEndContext=\"#stay\">\n"
        "        <DetectChar char=\"" + comment + "\" attribute=\"Comment\" context=\"Comment\"/>\n"
        "        <DetectChar char=\"&quot;\" attribute=\"String\" context=\"String\"/>\n"
        "        <keyword String=\"blocks\" attribute=\"Block\" context=\"#stay\"/>\n"
        "        <keyword String=\"instructions\" attribute=\"Instruction\" context=\"#stay\"/>\n"
        "        <Float attribute=\"Number\" context=\"#stay\"/>\n"
        "        <Int attribute=\"Number\" context=\"#stay\"/>\n"
        "      </context>\n"
        "      <context name=\"Comment\" attribute=\"Comment\" lineEndContext=\"#pop\"/>\n"
        "      <context name=\"String\" attribute=\"String\" lineEndContext=\"#pop\">\n"
        "        <DetectChar char=\"&quot;\" attribute=\"String\" context=\"#pop\"/>\n"
        "      </context>\n"
        "    </contexts>\n"
        "    <itemDatas>\n"
        "      <itemData name=\"Normal Text\" defStyleNum=\"dsNormal\"/>\n"
        "      <itemData name=\"Block\" defStyleNum=\"dsControlFlow\" color=\"" + hex(colours.bloc) + "\"/>\n"
        "      <itemData name=\"Instruction\" defStyleNum=\"dsKeyword\" color=\"" + hex(colours.instr) + "\"/>\n"
        "      <itemData name=\"Comment\" defStyleNum=\"dsComment\" color=\"" + hex(colours.comment) + "\"/>\n"
        "      <itemData name=\"String\" defStyleNum=\"dsString\"/>\n"
        "      <itemData name=\"Number\" defStyleNum=\"dsDecVal\"/>\n"
        "    </itemDatas>\n"
        "  </highlighting>\n"
        "  <general>\n"
        "    <comments>\n"
        "      <comment name=\"singleLine\" start=\"" + comment + "\"/>\n"
        "    </comments>\n"
        "    <keywords casesensitive=\"0\"/>\n"
        "  </general>\n"
        "</language>\n";
    return xml;
}

}  // namespace korvane
