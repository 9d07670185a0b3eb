#include "shell/Startup.h"

#include <charconv>
#include <cmath>

namespace korvane {

namespace {

std::string_view trimBlanks(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool equalsIgnoringCase(std::string_view a, std::string_view lowerWord) {
    if (a.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}

// The second character of a caption stored between two letters "a"; `fallback`
// when the stored text is too short to hold one.
std::string wrappedCaption(const std::string& stored, const char* fallback) {
    return stored.size() >= 2 ? stored.substr(1, 1) : std::string(fallback);
}

std::string captionOr(std::string stored, const char* fallback) {
    return stored == "1" ? std::string(fallback) : stored;
}

}  // namespace

std::optional<float> textToSingle(std::string_view text) {
    const std::string_view t = trimBlanks(text);
    std::string number;
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') number += '-';
        ++i;
    }
    std::size_t digits = 0;
    for (; i < t.size() && isDigit(t[i]); ++i, ++digits) number += t[i];
    if (i < t.size() && (t[i] == '.' || t[i] == ',')) {
        number += '.';
        for (++i; i < t.size() && isDigit(t[i]); ++i, ++digits) number += t[i];
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        number += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) number += t[i++];
        std::size_t expDigits = 0;
        for (; i < t.size() && isDigit(t[i]); ++i, ++expDigits) number += t[i];
        if (expDigits == 0) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;
    float value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    return value;
}

std::optional<bool> textToBoolean(std::string_view text) {
    const std::string_view t = trimBlanks(text);
    if (equalsIgnoringCase(t, "true") || equalsIgnoringCase(t, "vrai")) return true;
    if (equalsIgnoringCase(t, "false") || equalsIgnoringCase(t, "faux")) return false;
    if (const auto n = textToSingle(t)) return *n != 0.0f;
    return std::nullopt;
}

std::string singleToText(float value) {
    char buf[32];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value);
    return ec == std::errc() ? std::string(buf, end) : std::string("0");
}

bool firstRunPending(const Settings& settings) {
    return textToBoolean(settings.lireIni("FirstLoad")).value_or(false);
}

void markFirstRunDone(Settings& settings) {
    settings.ecrireIni("FirstLoad", "faux");
}

StartupSettings readStartupSettings(const Settings& settings) {
    StartupSettings s;
    s.firstLoad = firstRunPending(settings);
    s.langue = settings.lireIni("Langue");
    // The list index takes the number rounded half to even, as the Basic runtime
    // assigned a text to an integer property; an index off the list is refused.
    if (const auto n = textToSingle(settings.lireIni("TaillePolice"))) {
        const float index = std::nearbyint(*n);
        if (index >= 0 && index <= 7) s.taillePolice = static_cast<int>(index);
    }
    s.catalogOpen = settings.chargerOption("CatalogOpen");
    s.charSpecialOpen = settings.chargerOption("CharSpecialOpen");
    s.prgmFunc = settings.chargerOption("PrgmFunc");
    s.openChxPrgmFunc = settings.chargerOption("OpenChxPrgmFunc ");
    s.chemin = settings.lireIni("Chemin");
    s.lockCat = settings.chargerOption("LockCat");
    s.lockChar = settings.chargerOption("LockChar");
    s.hauteurCat = textToSingle(settings.lireIni("HauteurCat"));
    s.xCat = textToSingle(settings.lireIni("XCat"));
    s.yCat = textToSingle(settings.lireIni("YCat"));
    s.xChar = textToSingle(settings.lireIni("XChar"));
    s.yChar = textToSingle(settings.lireIni("YChar"));
    s.cmdGreek = captionOr(settings.lireIni("CmdGreek"), "\x88");
    s.cmdMath = wrappedCaption(settings.lireIni("CmdMath"), "\x96");
    s.cmdPonctuation = captionOr(settings.lireIni("CmdPonctuation"), "~");
    s.cmdSpecial = wrappedCaption(settings.lireIni("CmdSpecial"), "\x16");
    s.cmdCatalogue = captionOr(settings.lireIni("CmdCatalogue"), "Disp");
    // A missing left means the geometry was never stored: the other three are not read.
    const std::string left = settings.lireIni("XFrmP");
    if (left != "1") {
        WindowGeometry g;
        g.left = textToSingle(left);
        g.top = textToSingle(settings.lireIni("YFrmP"));
        g.width = textToSingle(settings.lireIni("LargeurFrmP"));
        g.height = textToSingle(settings.lireIni("HauteurFrmP"));
        s.mainWindow = g;
    }
    return s;
}

ShutdownSettings applyStartupSettings(const StartupSettings& read, ShutdownSettings current) {
    ShutdownSettings& w = current;
    w.langue = read.langue;
    w.taillePolice = read.taillePolice.value_or(w.taillePolice);
    w.catalogOpen = read.catalogOpen;
    w.charSpecialOpen = read.charSpecialOpen;
    w.prgmFunc = read.prgmFunc;
    w.openChxPrgmFunc = read.openChxPrgmFunc;
    // "1" is the missing-key answer: no last file to reopen.
    w.chemin = read.chemin == "1" ? std::string() : read.chemin;
    w.lockCat = read.lockCat;
    w.lockChar = read.lockChar;
    w.hauteurCat = read.hauteurCat.value_or(w.hauteurCat);
    w.xCat = read.xCat.value_or(w.xCat);
    w.yCat = read.yCat.value_or(w.yCat);
    w.xChar = read.xChar.value_or(w.xChar);
    w.yChar = read.yChar.value_or(w.yChar);
    w.cmdGreek = read.cmdGreek;
    w.cmdMath = read.cmdMath;
    w.cmdPonctuation = read.cmdPonctuation;
    w.cmdSpecial = read.cmdSpecial;
    w.cmdCatalogue = read.cmdCatalogue;
    if (read.mainWindow) {
        w.xFrmP = read.mainWindow->left.value_or(w.xFrmP);
        w.yFrmP = read.mainWindow->top.value_or(w.yFrmP);
        w.largeurFrmP = read.mainWindow->width.value_or(w.largeurFrmP);
        w.hauteurFrmP = read.mainWindow->height.value_or(w.hauteurFrmP);
    }
    return current;
}

void writeShutdownSettings(Settings& settings, const ShutdownSettings& state) {
    settings.ecrireIni("TaillePolice", std::to_string(state.taillePolice));
    settings.sauverOption("CatalogOpen", state.catalogOpen);
    settings.sauverOption("CharSpecialOpen", state.charSpecialOpen);
    settings.sauverOption("PrgmFunc", state.prgmFunc);
    settings.sauverOption("OpenChxPrgmFunc ", state.openChxPrgmFunc);
    settings.ecrireIni("Chemin", state.chemin);
    settings.sauverOption("LockCat", state.lockCat);
    settings.sauverOption("LockChar", state.lockChar);
    settings.ecrireIni("HauteurCat", singleToText(state.hauteurCat));
    settings.ecrireIni("XCat", singleToText(state.xCat));
    settings.ecrireIni("Ycat", singleToText(state.yCat));
    settings.ecrireIni("XChar", singleToText(state.xChar));
    settings.ecrireIni("YChar", singleToText(state.yChar));
    settings.ecrireIni("CmdGreek", state.cmdGreek);
    // The letters "a" around these two keep a blank or control character intact.
    settings.ecrireIni("CmdMath", "a" + state.cmdMath + "a");
    settings.ecrireIni("CmdPonctuation", state.cmdPonctuation);
    settings.ecrireIni("CmdSpecial", "a" + state.cmdSpecial + "a");
    settings.ecrireIni("CmdCatalogue", state.cmdCatalogue);
    settings.ecrireIni("XFrmP", singleToText(state.xFrmP));
    settings.ecrireIni("YFrmP", singleToText(state.yFrmP));
    settings.ecrireIni("LargeurFrmP", singleToText(state.largeurFrmP));
    settings.ecrireIni("HauteurFrmP", singleToText(state.hauteurFrmP));
    settings.ecrireIni("Langue", state.langue);
}

}  // namespace korvane
