#include "files/TokenTable.h"

#include <algorithm>
#include <array>

namespace korvane::tokens {
namespace {

using S = Shape;
constexpr std::uint8_t kMany = 255;

// Entry builders, one per way of writing an item. Operand counts are the number
// of source arguments; with kEndList, an END tag closes the operands in memory.
constexpr TagInfo fn(Space sp, std::uint8_t v, std::string_view s, std::uint8_t lo = 1, std::uint8_t hi = 1,
                     std::uint8_t flags = 0) {
    return {sp, v, s, S::Function, lo, hi, kAtom, flags};
}
constexpr TagInfo fnEnd(Space sp, std::uint8_t v, std::string_view s, std::uint8_t lo, std::uint8_t hi) {
    return {sp, v, s, S::Function, lo, hi, kAtom, kEndList};
}
constexpr TagInfo word(Space sp, std::uint8_t v, std::string_view s, std::uint8_t flags = 0) {
    return {sp, v, s, S::Word, 0, 0, kAtom, flags};
}
constexpr TagInfo command(std::uint8_t v, std::string_view s, std::uint8_t lo, std::uint8_t hi) {
    return {Space::Command, v, s, S::Command, lo, hi, kStatement, 0};
}
constexpr TagInfo commandEnd(std::uint8_t v, std::string_view s, std::uint8_t lo, std::uint8_t hi) {
    return {Space::Command, v, s, S::Command, lo, hi, kStatement, kEndList};
}
constexpr TagInfo special(Space sp, std::uint8_t v, std::string_view s, std::uint8_t flags = 0) {
    return {sp, v, s, S::Special, 0, 0, kAtom, flags};
}
constexpr TagInfo op(Space sp, std::uint8_t v, std::string_view s, Shape shape, std::uint8_t prec,
                     std::uint8_t flags = 0) {
    const std::uint8_t n = (shape == S::Prefix || shape == S::Postfix) ? 1 : 2;
    return {sp, v, s, shape, n, n, prec, flags};
}

constexpr Space P = Space::Primary;
constexpr Space X = Space::Secondary;
constexpr Space Y = Space::System;

const TagInfo kTable[] = {
    // One-letter variables: r..z are 02..0A, a..q are 0B..1B (01 is an unused alias of q).
    special(P, 0x01, "q", kInternal), special(P, 0x02, "r"), special(P, 0x03, "s"), special(P, 0x04, "t"),
    special(P, 0x05, "u"), special(P, 0x06, "v"), special(P, 0x07, "w"), special(P, 0x08, "x"),
    special(P, 0x09, "y"), special(P, 0x0A, "z"), special(P, 0x0B, "a"), special(P, 0x0C, "b"),
    special(P, 0x0D, "c"), special(P, 0x0E, "d"), special(P, 0x0F, "e"), special(P, 0x10, "f"),
    special(P, 0x11, "g"), special(P, 0x12, "h"), special(P, 0x13, "i"), special(P, 0x14, "j"),
    special(P, 0x15, "k"), special(P, 0x16, "l"), special(P, 0x17, "m"), special(P, 0x18, "n"),
    special(P, 0x19, "o"), special(P, 0x1A, "p"), special(P, 0x1B, "q"),
    special(P, 0x1D, "@"), special(P, 0x1E, "@n"),
    word(P, 0x24, "\x8C"), word(P, 0x25, "\x96"), word(P, 0x26, "\x97"),
    word(P, 0x27, "\xAD\xBE", kInternal), word(P, 0x28, "\xBE"), word(P, 0x29, "\xB1\xBE", kInternal),
    word(P, 0x2A, "undef"), word(P, 0x2B, "false"), word(P, 0x2C, "true"),
    fn(P, 0x2F, "cosh\xB4("), fn(P, 0x30, "sinh\xB4("), fn(P, 0x31, "tanh\xB4("),
    fn(P, 0x32, "sech\xB4("), fn(P, 0x33, "csch\xB4("), fn(P, 0x34, "coth\xB4("),
    fn(P, 0x35, "cosh("), fn(P, 0x36, "sinh("), fn(P, 0x37, "tanh("),
    fn(P, 0x38, "sech("), fn(P, 0x39, "csch("), fn(P, 0x3A, "coth("),
    fn(P, 0x3B, "cos\xB4("), fn(P, 0x3C, "sin\xB4("), fn(P, 0x3D, "tan\xB4("),
    fn(P, 0x3E, "sec\xB4("), fn(P, 0x3F, "csc\xB4("), fn(P, 0x40, "cot\xB4("),
    fn(P, 0x41, "cos\xB4(", 1, 1, kInternal), fn(P, 0x42, "sin\xB4(", 1, 1, kInternal),
    fn(P, 0x43, "tan\xB4(", 1, 1, kInternal),
    fn(P, 0x44, "cos("), fn(P, 0x45, "sin("), fn(P, 0x46, "tan("),
    fn(P, 0x47, "sec("), fn(P, 0x48, "csc("), fn(P, 0x49, "cot("), fn(P, 0x4A, "tan(", 1, 1, kInternal),
    fn(P, 0x4B, "abs("), fn(P, 0x4C, "angle("), fn(P, 0x4D, "ceiling("), fn(P, 0x4E, "floor("),
    fn(P, 0x4F, "int("), fn(P, 0x50, "sign("), fn(P, 0x51, "\xA8("), fn(P, 0x52, "\x96^("),
    fn(P, 0x53, "ln("), fn(P, 0x54, "log("), fn(P, 0x55, "fPart("), fn(P, 0x56, "iPart("),
    fn(P, 0x57, "conj("), fn(P, 0x58, "imag("), fn(P, 0x59, "real("), fn(P, 0x5A, "approx("),
    fn(P, 0x5B, "tExpand("), fn(P, 0x5C, "tCollect("), fn(P, 0x5D, "getDenom("), fn(P, 0x5E, "getNum("),
    fn(P, 0x60, "cumSum("), fn(P, 0x61, "det("), fn(P, 0x62, "colNorm("), fn(P, 0x63, "rowNorm("),
    fn(P, 0x64, "norm("), fn(P, 0x65, "mean("), fn(P, 0x66, "median("), fn(P, 0x67, "product("),
    fn(P, 0x68, "stdDev("), fn(P, 0x69, "sum("), fn(P, 0x6A, "variance("), fn(P, 0x6B, "unitV("),
    fn(P, 0x6C, "dim("), fn(P, 0x6D, "mat\x12list("), fn(P, 0x6E, "newList("), fn(P, 0x6F, "rref("),
    fn(P, 0x70, "ref("), fn(P, 0x71, "identity("), fn(P, 0x72, "diag("), fn(P, 0x73, "colDim("),
    fn(P, 0x74, "rowDim("),
    op(P, 0x75, "\x99", S::Postfix, kPostfix), op(P, 0x76, "!", S::Postfix, kPostfix),
    op(P, 0x77, "%", S::Postfix, kPostfix), op(P, 0x78, "\x98", S::Postfix, kPostfix),
    op(P, 0x79, "not", S::Prefix, kNot), op(P, 0x7A, "\xAD", S::Prefix, kNegate),
    op(P, 0x7F, "\x16", S::InfixLeftLow, kStore, kInternal), op(P, 0x80, "\x16", S::InfixLeftLow, kStore),
    op(P, 0x81, "|", S::InfixLeftHigh, kWith), op(P, 0x82, "xor", S::InfixLeftHigh, kOr),
    op(P, 0x83, "or", S::InfixLeftHigh, kOr), op(P, 0x84, "and", S::InfixLeftHigh, kAnd),
    op(P, 0x85, "<", S::InfixLeftHigh, kRelation), op(P, 0x86, "\x9C", S::InfixLeftHigh, kRelation),
    op(P, 0x87, "=", S::InfixLeftHigh, kRelation), op(P, 0x88, "\x9E", S::InfixLeftHigh, kRelation),
    op(P, 0x89, ">", S::InfixLeftHigh, kRelation), op(P, 0x8A, "\x9D", S::InfixLeftHigh, kRelation),
    op(P, 0x8B, "+", S::InfixLeftLow, kAdd), op(P, 0x8C, ".+", S::InfixLeftLow, kAdd),
    op(P, 0x8D, "-", S::InfixLeftLow, kAdd), op(P, 0x8E, ".-", S::InfixLeftLow, kAdd),
    op(P, 0x8F, "*", S::InfixLeftLow, kMultiply), op(P, 0x90, ".*", S::InfixLeftLow, kMultiply),
    op(P, 0x91, "/", S::InfixLeftLow, kMultiply), op(P, 0x92, "./", S::InfixLeftLow, kMultiply),
    op(P, 0x93, "^", S::InfixLeftHigh, kPower), op(P, 0x94, ".^", S::InfixLeftHigh, kPower),
    fn(P, 0x96, "solve(", 2, 2), fn(P, 0x97, "cSolve(", 2, 2), fn(P, 0x98, "nSolve(", 2, 2),
    fn(P, 0x99, "zeros(", 2, 2), fn(P, 0x9A, "cZeros(", 2, 2), fn(P, 0x9B, "fMin(", 2, 2),
    fn(P, 0x9C, "fMax(", 2, 2), fn(P, 0x9E, "polyEval(", 2, 2), fn(P, 0x9F, "randPoly(", 2, 2),
    fn(P, 0xA0, "crossP(", 2, 2), fn(P, 0xA1, "dotP(", 2, 2), fn(P, 0xA2, "gcd(", 2, 2),
    fn(P, 0xA3, "lcm(", 2, 2), fn(P, 0xA4, "mod(", 2, 2), fn(P, 0xA5, "intDiv(", 2, 2),
    fn(P, 0xA6, "remain(", 2, 2), fn(P, 0xA7, "nCr(", 2, 2), fn(P, 0xA8, "nPr(", 2, 2),
    fn(P, 0xA9, "P\x12Rx(", 2, 2), fn(P, 0xAA, "P\x12Ry(", 2, 2), fn(P, 0xAB, "R\x12P\x88(", 2, 2),
    fn(P, 0xAC, "R\x12Pr(", 2, 2), fn(P, 0xAD, "augment(", 2, 2), fn(P, 0xAE, "newMat(", 2, 2),
    fn(P, 0xAF, "randMat(", 2, 2), fn(P, 0xB0, "simult(", 2, 2), fnEnd(P, 0xB1, "part(", 1, 2),
    fn(P, 0xB2, "exp\x12list(", 2, 2), fn(P, 0xB3, "randNorm(", 2, 2), fnEnd(P, 0xB4, "mRow(", 3, 3),
    fnEnd(P, 0xB5, "rowAdd(", 3, 3), fnEnd(P, 0xB6, "rowSwap(", 3, 3), fnEnd(P, 0xB7, "arcLen(", 4, 4),
    fnEnd(P, 0xB8, "nInt(", 4, 4), fnEnd(P, 0xB9, "\x8B(", 4, 4), fnEnd(P, 0xBA, "\x8E(", 4, 4),
    fnEnd(P, 0xBB, "mRowAdd(", 4, 4), fnEnd(P, 0xBC, "ans(", 0, 1), fnEnd(P, 0xBD, "entry(", 0, 1),
    fnEnd(P, 0xBE, "exact(", 1, 2), fn(P, 0xBF, "log(", 2, 2), fnEnd(P, 0xC0, "comDenom(", 1, 2),
    fnEnd(P, 0xC1, "expand(", 1, 2), fnEnd(P, 0xC2, "factor(", 1, 2), fnEnd(P, 0xC3, "cFactor(", 1, 2),
    fnEnd(P, 0xC4, "\xBD(", 2, 4), fnEnd(P, 0xC5, "\xBC(", 2, 3), fnEnd(P, 0xC6, "avgRC(", 2, 3),
    fnEnd(P, 0xC7, "nDeriv(", 2, 3), fnEnd(P, 0xC8, "taylor(", 3, 4), fnEnd(P, 0xC9, "limit(", 3, 4),
    fnEnd(P, 0xCA, "propFrac(", 1, 2), fnEnd(P, 0xCB, "when(", 2, 4), fnEnd(P, 0xCC, "round(", 1, 2),
    special(P, 0xCD, "\xB0"), fnEnd(P, 0xCE, "left(", 1, 2), fnEnd(P, 0xCF, "right(", 1, 2),
    fnEnd(P, 0xD0, "mid(", 2, 3), fnEnd(P, 0xD1, "shift(", 1, 2), fnEnd(P, 0xD2, "seq(", 4, 5),
    fnEnd(P, 0xD3, "list\x12mat(", 1, 2), fnEnd(P, 0xD4, "subMat(", 1, 5), special(P, 0xD5, "["),
    fnEnd(P, 0xD6, "rand(", 0, 1), fnEnd(P, 0xD7, "min(", 1, 2), fnEnd(P, 0xD8, "max(", 1, 2),
    special(P, 0xD9, "{"), special(P, 0xDA, "("),
    fn(P, 0xED, "eigVc("), fn(P, 0xEE, "eigVl("), op(P, 0xEF, "'", S::Postfix, kPostfix),
    fnEnd(P, 0xF1, "deSolve(", 3, 3), fn(P, 0xF4, "isPrime("), fnEnd(P, 0xF9, "rotate(", 1, 2),

    special(X, 0x01, "#"), fnEnd(X, 0x02, "getKey(", 0, 0), fnEnd(X, 0x03, "getFold(", 0, 0),
    fnEnd(X, 0x04, "switch(", 0, 1), op(X, 0x05, "\x12", S::InfixLeftLow, kConvert),
    fn(X, 0x06, "ord("), fn(X, 0x07, "expr("), fn(X, 0x08, "char("), fn(X, 0x09, "string("),
    fn(X, 0x0A, "getType("), fn(X, 0x0B, "getMode("), fn(X, 0x0C, "setFold("), fn(X, 0x0D, "ptTest(", 2, 2),
    fn(X, 0x0E, "pxlTest(", 2, 2), fn(X, 0x0F, "setGraph(", 2, 2), fn(X, 0x10, "setTable(", 2, 2),
    fnEnd(X, 0x11, "setMode(", 1, 2), fnEnd(X, 0x12, "format(", 1, 2), fnEnd(X, 0x13, "inString(", 2, 3),
    op(X, 0x14, "&", S::InfixLeftLow, kConcat),
    op(X, 0x15, "\x12" "DD", S::Postfix, kConvert), op(X, 0x16, "\x12" "DMS", S::Postfix, kConvert),
    op(X, 0x17, "\x12Rect", S::Postfix, kConvert), op(X, 0x18, "\x12Polar", S::Postfix, kConvert),
    op(X, 0x19, "\x12" "Cylind", S::Postfix, kConvert), op(X, 0x1A, "\x12Sphere", S::Postfix, kConvert),
    special(X, 0x26, "\x9F"), fn(X, 0x27, "tmpCnv(", 2, 2), fn(X, 0x28, "\x84tmpCnv(", 2, 2),
    fnEnd(X, 0x29, "getUnits(", 0, 0), fn(X, 0x2A, "setUnits("), special(X, 0x2B, "0b"),
    special(X, 0x2C, "0h"),
    op(X, 0x2D, "\x12" "Bin", S::Postfix, kConvert), op(X, 0x2E, "\x12" "Dec", S::Postfix, kConvert),
    op(X, 0x2F, "\x12Hex", S::Postfix, kConvert),
    fn(X, 0x30, "det(", 2, 2), fn(X, 0x31, "ref(", 2, 2), fn(X, 0x32, "rref(", 2, 2), fn(X, 0x33, "simult(", 3, 3),
    fnEnd(X, 0x34, "getConfg(", 0, 0), fn(X, 0x35, "augment(", 2, 2, kSemicolon), fn(X, 0x36, "mean(", 2, 2),
    fnEnd(X, 0x37, "product(", 2, 3), fn(X, 0x38, "stdDev(", 2, 2), fnEnd(X, 0x39, "sum(", 2, 3),
    fn(X, 0x3A, "variance(", 2, 2), fn(X, 0x3B, "\x84List("),
    fnEnd(X, 0x46, "isClkOn(", 0, 0), fnEnd(X, 0x47, "getDate(", 0, 0), fnEnd(X, 0x48, "getTime(", 0, 0),
    fnEnd(X, 0x49, "getTmZn(", 0, 0), fnEnd(X, 0x4A, "setDate(", 3, 3), fnEnd(X, 0x4B, "setTime(", 3, 3),
    fn(X, 0x4C, "setTmZn("), fnEnd(X, 0x4D, "dayOfWk(", 3, 3), fnEnd(X, 0x4E, "startTmr(", 0, 0),
    fn(X, 0x4F, "checkTmr("), fn(X, 0x50, "timeCnv("), fnEnd(X, 0x51, "getDtFmt(", 0, 0),
    fnEnd(X, 0x52, "getTmFmt(", 0, 0), fnEnd(X, 0x53, "getDtStr(", 0, 1), fnEnd(X, 0x54, "getTmStr(", 0, 1),
    fnEnd(X, 0x55, "setDtFmt(", 0, 1), fnEnd(X, 0x56, "setTmFmt(", 0, 1), fn(X, 0x57, "root(", 2, 2),
    fn(X, 0x58, "exprIO("), fnEnd(X, 0x59, "impDif(", 3, 4), fnEnd(X, 0x5A, "stDevPop(", 1, 2),
    fn(X, 0x5B, "isVar("), fn(X, 0x5C, "isLocked("), fn(X, 0x5D, "isArchiv("),
    op(X, 0x5F, "\x12Grad", S::Postfix, kConvert), op(X, 0x60, "\x12Rad", S::Postfix, kConvert),
    op(X, 0x61, "\x12ln", S::Postfix, kConvert), fn(X, 0x62, "\x12logbase(", 2, 2),

    word(Space::Command, 0x01, "ClrDraw"), word(Space::Command, 0x02, "ClrGraph"),
    word(Space::Command, 0x03, "ClrHome"), word(Space::Command, 0x04, "ClrIO"),
    word(Space::Command, 0x05, "ClrTable"), word(Space::Command, 0x06, "Custom"),
    word(Space::Command, 0x07, "Cycle", kJump), word(Space::Command, 0x08, "Dialog"),
    word(Space::Command, 0x09, "DispG"), word(Space::Command, 0x0A, "DispTbl"),
    word(Space::Command, 0x0B, "Else"), word(Space::Command, 0x0C, "EndCustm"),
    // The command menu and the keyword list spell it in full.
    word(Space::Command, 0x0C, "EndCustom", kSpellingOnly),
    word(Space::Command, 0x0D, "EndDlog"), word(Space::Command, 0x0E, "EndFor", kJump),
    word(Space::Command, 0x0F, "EndFunc"), word(Space::Command, 0x10, "EndIf"),
    word(Space::Command, 0x11, "EndLoop", kJump), word(Space::Command, 0x12, "EndPrgm"),
    word(Space::Command, 0x13, "EndTBar"), word(Space::Command, 0x14, "EndTry"),
    word(Space::Command, 0x15, "EndWhile", kJump), word(Space::Command, 0x16, "Exit", kJump),
    word(Space::Command, 0x17, "Func"), word(Space::Command, 0x18, "Loop"),
    word(Space::Command, 0x19, "Prgm"), word(Space::Command, 0x1A, "ShowStat"),
    word(Space::Command, 0x1B, "Stop"), word(Space::Command, 0x1C, "Then"),
    word(Space::Command, 0x1D, "Toolbar"), word(Space::Command, 0x1E, "Trace"),
    word(Space::Command, 0x1F, "Try"), word(Space::Command, 0x20, "ZoomBox"),
    word(Space::Command, 0x21, "ZoomData"), word(Space::Command, 0x22, "ZoomDec"),
    word(Space::Command, 0x23, "ZoomFit"), word(Space::Command, 0x24, "ZoomIn"),
    word(Space::Command, 0x25, "ZoomInt"), word(Space::Command, 0x26, "ZoomOut"),
    word(Space::Command, 0x27, "ZoomPrev"), word(Space::Command, 0x28, "ZoomRcl"),
    word(Space::Command, 0x29, "ZoomSqr"), word(Space::Command, 0x2A, "ZoomStd"),
    word(Space::Command, 0x2B, "ZoomSto"), word(Space::Command, 0x2C, "ZoomTrig"),
    command(0x2D, "DrawFunc", 1, 1), command(0x2E, "DrawInv", 1, 1), command(0x2F, "Goto", 1, 1),
    command(0x30, "Lbl", 1, 1), command(0x31, "Get", 1, 1), command(0x32, "Send", 1, 1),
    command(0x33, "GetCalc", 1, 1), command(0x34, "SendCalc", 1, 1), command(0x35, "NewFold", 1, 1),
    command(0x36, "PrintObj", 1, 1), command(0x37, "RclGDB", 1, 1), command(0x38, "StoGDB", 1, 1),
    command(0x39, "ElseIf", 1, 1), command(0x3A, "If", 1, 1), command(0x3B, "If", 1, 1),
    command(0x3C, "RandSeed", 1, 1), command(0x3D, "While", 1, 1), command(0x3E, "LineTan", 2, 2),
    command(0x3F, "CopyVar", 2, 2), command(0x40, "Rename", 2, 2), command(0x41, "Style", 2, 2),
    command(0x42, "Fill", 2, 2), command(0x43, "Request", 2, 2), command(0x44, "PopUp", 2, 2),
    command(0x45, "PtChg", 2, 2), command(0x46, "PtOff", 2, 2), command(0x47, "PtOn", 2, 2),
    command(0x48, "PxlChg", 2, 2), command(0x49, "PxlOff", 2, 2), command(0x4A, "PxlOn", 2, 2),
    command(0x4B, "MoveVar", 3, 3), command(0x4C, "DropDown", 3, 3), command(0x4D, "Output", 3, 3),
    command(0x4E, "PtText", 3, 3), command(0x4F, "PxlText", 3, 3), command(0x50, "DrawSlp", 3, 3),
    commandEnd(0x51, "Pause", 0, 1), commandEnd(0x52, "Return", 0, 1), commandEnd(0x53, "Input", 0, 2),
    commandEnd(0x54, "PlotsOff", 0, 9), commandEnd(0x55, "PlotsOn", 0, 9), commandEnd(0x56, "Title", 1, 2),
    commandEnd(0x57, "Item", 1, 2), commandEnd(0x58, "InputStr", 1, 2), commandEnd(0x59, "LineHorz", 1, 2),
    commandEnd(0x5A, "LineVert", 1, 2), commandEnd(0x5B, "PxlHorz", 1, 2), commandEnd(0x5C, "PxlVert", 1, 2),
    commandEnd(0x5D, "AndPic", 1, 3), commandEnd(0x5E, "RclPic", 1, 3), commandEnd(0x5F, "RplcPic", 1, 3),
    commandEnd(0x60, "XorPic", 1, 3), commandEnd(0x61, "DrawPol", 0, 4), commandEnd(0x62, "Text", 1, 1),
    commandEnd(0x63, "OneVar", 0, 4), commandEnd(0x64, "StoPic", 1, 5), commandEnd(0x65, "Graph", 1, 4),
    commandEnd(0x66, "Table", 1, 3), commandEnd(0x67, "NewPic", 2, 4), commandEnd(0x68, "DrawParm", 2, 5),
    commandEnd(0x69, "CyclePic", 2, 5), commandEnd(0x6A, "CubicReg", 2, 5), commandEnd(0x6B, "ExpReg", 2, 5),
    commandEnd(0x6C, "LinReg", 2, 5), commandEnd(0x6D, "LnReg", 2, 5), commandEnd(0x6E, "MedMed", 2, 5),
    commandEnd(0x6F, "PowerReg", 2, 5), commandEnd(0x70, "QuadReg", 2, 5), commandEnd(0x71, "QuartReg", 2, 5),
    commandEnd(0x72, "TwoVar", 2, 5), commandEnd(0x73, "Shade", 2, 6), commandEnd(0x74, "For", 3, 4),
    commandEnd(0x75, "Circle", 3, 4), commandEnd(0x76, "PxlCrcl", 3, 4), commandEnd(0x77, "NewPlot", 3, 9),
    commandEnd(0x78, "Line", 4, 5), commandEnd(0x79, "PxlLine", 4, 5), commandEnd(0x7A, "Disp", 0, kMany),
    commandEnd(0x7B, "FnOff", 0, 99), commandEnd(0x7C, "FnOn", 0, 99), commandEnd(0x7D, "Local", 1, kMany),
    commandEnd(0x7E, "DelFold", 1, kMany), commandEnd(0x7F, "DelVar", 1, kMany), commandEnd(0x80, "Lock", 1, kMany),
    commandEnd(0x81, "Prompt", 1, kMany), commandEnd(0x82, "SortA", 1, kMany), commandEnd(0x83, "SortD", 1, kMany),
    commandEnd(0x84, "Unlock", 1, kMany), commandEnd(0x85, "NewData", 1, kMany), command(0x86, "Define", 2, 2),
    word(Space::Command, 0x87, "Else"), word(Space::Command, 0x88, "ClrErr"),
    word(Space::Command, 0x89, "PassErr"), word(Space::Command, 0x8A, "DispHome"),
    commandEnd(0x8B, "Exec", 1, kMany), commandEnd(0x8C, "Archive", 1, kMany),
    commandEnd(0x8D, "Unarchiv", 1, kMany), commandEnd(0x8E, "LU", 4, 5), commandEnd(0x8F, "QR", 3, 4),
    commandEnd(0x90, "BldData", 0, 1), command(0x91, "DrwCtour", 1, 1), word(Space::Command, 0x92, "NewProb"),
    commandEnd(0x93, "SinReg", 2, 6), commandEnd(0x94, "Logistic", 2, 6), word(Space::Command, 0x95, "CustmOn"),
    word(Space::Command, 0x96, "CustmOff"), command(0x97, "SendChat", 1, 1), commandEnd(0x99, "Request", 3, 3),
    word(Space::Command, 0x9A, "ClockOn"), word(Space::Command, 0x9B, "ClockOff"),
    command(0x9C, "SendCalc", 2, 2), command(0x9D, "GetCalc", 2, 2), command(0x9E, "DelType", 1, 1),
    commandEnd(0x9F, "Data\x12Mat", 2, 6), commandEnd(0xA0, "Mat\x12" "Data", 2, 6),

    word(Y, 0x01, "\x9A"), word(Y, 0x02, "\x9B"), word(Y, 0x03, "\x8Ex"), word(Y, 0x04, "\x8Ex\xB2"),
    word(Y, 0x05, "\x8Ey"), word(Y, 0x06, "\x8Ey\xB2"), word(Y, 0x07, "\x8Exy"), word(Y, 0x08, "Sx"),
    word(Y, 0x09, "Sy"), word(Y, 0x0A, "\x8Fx"), word(Y, 0x0B, "\x8Fy"), word(Y, 0x0C, "nStat"),
    word(Y, 0x0D, "minX"), word(Y, 0x0E, "minY"), word(Y, 0x0F, "q1"), word(Y, 0x10, "medStat"),
    word(Y, 0x11, "q3"), word(Y, 0x12, "maxX"), word(Y, 0x13, "maxY"), word(Y, 0x14, "corr"),
    word(Y, 0x15, "R\xB2"), word(Y, 0x16, "medx1"), word(Y, 0x17, "medx2"), word(Y, 0x18, "medx3"),
    word(Y, 0x19, "medy1"), word(Y, 0x1A, "medy2"), word(Y, 0x1B, "medy3"), word(Y, 0x1C, "xc"),
    word(Y, 0x1D, "yc"), word(Y, 0x1E, "zc"), word(Y, 0x1F, "tc"), word(Y, 0x20, "rc"),
    word(Y, 0x21, "\x88" "c"), word(Y, 0x22, "nc"), word(Y, 0x23, "xfact"), word(Y, 0x24, "yfact"),
    word(Y, 0x25, "zfact"), word(Y, 0x26, "xmin"), word(Y, 0x27, "xmax"), word(Y, 0x28, "xscl"),
    word(Y, 0x29, "ymin"), word(Y, 0x2A, "ymax"), word(Y, 0x2B, "yscl"), word(Y, 0x2C, "\x84x"),
    word(Y, 0x2D, "\x84y"), word(Y, 0x2E, "xres"), word(Y, 0x2F, "xgrid"), word(Y, 0x30, "ygrid"),
    word(Y, 0x31, "zmin"), word(Y, 0x32, "zmax"), word(Y, 0x33, "zscl"), word(Y, 0x34, "eye\x88"),
    word(Y, 0x35, "eye\x91"), word(Y, 0x36, "\x88min"), word(Y, 0x37, "\x88max"), word(Y, 0x38, "\x88step"),
    word(Y, 0x39, "tmin"), word(Y, 0x3A, "tmax"), word(Y, 0x3B, "tstep"), word(Y, 0x3C, "nmin"),
    word(Y, 0x3D, "nmax"), word(Y, 0x3E, "plotStrt"), word(Y, 0x3F, "plotStep"), word(Y, 0x40, "zxmin"),
    word(Y, 0x41, "zxmax"), word(Y, 0x42, "zxscl"), word(Y, 0x43, "zymin"), word(Y, 0x44, "zymax"),
    word(Y, 0x45, "zyscl"), word(Y, 0x46, "zxres"), word(Y, 0x47, "z\x88min"), word(Y, 0x48, "z\x88max"),
    word(Y, 0x49, "z\x88step"), word(Y, 0x4A, "ztmin"), word(Y, 0x4B, "ztmax"), word(Y, 0x4C, "ztstep"),
    word(Y, 0x4D, "zxgrid"), word(Y, 0x4E, "zygrid"), word(Y, 0x4F, "zzmin"), word(Y, 0x50, "zzmax"),
    word(Y, 0x51, "zzscl"), word(Y, 0x52, "zeye\x88"), word(Y, 0x53, "zeye\x91"), word(Y, 0x54, "znmin"),
    word(Y, 0x55, "znmax"), word(Y, 0x56, "zpltstep"), word(Y, 0x57, "zpltstrt"), word(Y, 0x58, "seed1"),
    word(Y, 0x59, "seed2"), word(Y, 0x5A, "ok"), word(Y, 0x5B, "errornum"), word(Y, 0x5C, "sysMath"),
    word(Y, 0x5D, "sysData"), word(Y, 0x5E, "regEq"), word(Y, 0x5F, "regCoef"), word(Y, 0x60, "tblInput"),
    word(Y, 0x61, "tblStart"), word(Y, 0x62, "\x84tbl"), word(Y, 0x63, "fldpic"), word(Y, 0x64, "eye\x92"),
    word(Y, 0x65, "tplot"), word(Y, 0x66, "diftol"), word(Y, 0x67, "zeye\x92"), word(Y, 0x68, "t0"),
    word(Y, 0x69, "dtime"), word(Y, 0x6A, "ncurves"), word(Y, 0x6B, "fldres"), word(Y, 0x6C, "Estep"),
    word(Y, 0x6D, "zt0de"), word(Y, 0x6E, "ztmaxde"), word(Y, 0x6F, "ztstepde"), word(Y, 0x70, "ztplotde"),
    word(Y, 0x71, "ncontour"),
};

struct Index {
    std::array<std::array<const TagInfo*, 256>, 4> bySpace{};
    Index() {
        for (const TagInfo& t : kTable)
            if (!t.has(kSpellingOnly)) bySpace[static_cast<int>(t.space)][t.value] = &t;
    }
};

}  // namespace

std::span<const TagInfo> allTags() { return kTable; }

const TagInfo* findTag(Space space, std::uint8_t value) {
    static const Index index;
    return index.bySpace[static_cast<int>(space)][value];
}

}  // namespace korvane::tokens
