#pragma once
// The colouring's worked example: six editor lines and the document they give at
// font size 10, written out by hand.
#include <string>

namespace korvane::worked {

inline const std::string kText = "\r\nPrgm\r\nif x>0 then:disp \"if x\"\r\n\xA9 then stop\r\nEndIf\r\nEndPrgm";

inline const std::string kDocument =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Ti-89 JB;}}\r\n"
    "{\\colortbl ;\\red0\\green130\\blue0;\\red0\\green0\\blue255;\\red180\\green100\\blue100;\\red0\\green0\\blue0;}"
    "\r\n"
    "\\viewkind4\\uc1\\pard\\lang1036\\f0\\fs20 \\par \n"
    "\\cf2 Prgm\\cf4 \\par \n"
    "\\cf2 If\\cf4  x>0 \\cf2 Then\\cf4 :\\cf3 Disp\\cf4  \"if x\"\\par \n"
    "\\cf1 \xA9 Then Stop\\cf4 \\par \n"
    "\\cf2 EndIf\\cf4 \\par \n"
    "\\cf2 EndPrgm\\cf4 \\cf0\\fs24\r\n\\par }";

}  // namespace korvane::worked
