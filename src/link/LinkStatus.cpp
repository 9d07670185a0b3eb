#include "link/LinkStatus.h"

#include <array>
#include <cstdio>

namespace korvane::link {
namespace {

// Each sentence alone and with its subject ("%s"); one line, no final period, so
// that a detail can follow after a colon.
struct Sentence {
    MessageId id;
    const char* english;
    const char* french;
    const char* englishWith;
    const char* frenchWith;
};

constexpr std::array kSentences{
    Sentence{MessageId::Ok, "Done", "Terminé", "Done: %s", "Terminé : %s"},
    Sentence{MessageId::CableUnavailable,
             "Cannot open the link cable: check that it is plugged in. libticables installs udev rules that give "
             "access to it: unplug and replug it after installing them, and check that your user is in the right "
             "group (dialout for a serial cable, lp for a parallel one)",
             "Impossible d'ouvrir le câble de liaison : vérifiez qu'il est branché. libticables installe des règles "
             "udev qui en donnent l'accès : débranchez-le et rebranchez-le après leur installation, et vérifiez que "
             "votre utilisateur est dans le bon groupe (dialout pour un câble série, lp pour un câble parallèle)",
             "Cannot open the link cable (%s): check that it is plugged in. libticables installs udev rules that give "
             "access to it: unplug and replug it after installing them, and check that your user is in the right "
             "group (dialout for a serial cable, lp for a parallel one)",
             "Impossible d'ouvrir le câble de liaison (%s) : vérifiez qu'il est branché. libticables installe des "
             "règles udev qui en donnent l'accès : débranchez-le et rebranchez-le après leur installation, et vérifiez "
             "que votre utilisateur est dans le bon groupe (dialout pour un câble série, lp pour un câble parallèle)"},
    Sentence{MessageId::NoCalculator,
             "No calculator on the virtual cable: first start the emulator, or the program playing the calculator, "
             "on the other end",
             "Aucune calculatrice au bout du câble virtuel : lancez d'abord l'émulateur, ou le programme qui tient le "
             "rôle de la calculatrice, à l'autre bout",
             "No calculator on the virtual cable (%s): first start the emulator, or the program playing the "
             "calculator, on the other end",
             "Aucune calculatrice au bout du câble virtuel (%s) : lancez d'abord l'émulateur, ou le programme qui "
             "tient le rôle de la calculatrice, à l'autre bout"},
    Sentence{MessageId::NoAnswer,
             "The calculator did not answer in time: check that it is on, on its home screen rather than busy in "
             "another one, and that the cable is plugged in at both ends",
             "La calculatrice n'a pas répondu à temps : vérifiez qu'elle est allumée, sur son écran principal plutôt "
             "qu'occupée dans un autre, et que le câble est branché aux deux bouts",
             "The calculator did not answer in time (%s): check that it is on, on its home screen rather than busy "
             "in another one, and that the cable is plugged in at both ends",
             "La calculatrice n'a pas répondu à temps (%s) : vérifiez qu'elle est allumée, sur son écran principal "
             "plutôt qu'occupée dans un autre, et que le câble est branché aux deux bouts"},
    Sentence{MessageId::NotReady,
             "The calculator is busy: leave the current screen (HOME key) and try again",
             "La calculatrice est occupée : quittez l'écran en cours (touche HOME) et réessayez",
             "The calculator is busy (%s): leave the current screen (HOME key) and try again",
             "La calculatrice est occupée (%s) : quittez l'écran en cours (touche HOME) et réessayez"},
    Sentence{MessageId::Refused,
             "The calculator refused the variable: its memory may be full, or a locked or archived variable of that "
             "name is there",
             "La calculatrice a refusé la variable : sa mémoire est peut-être pleine, ou une variable verrouillée ou "
             "archivée porte ce nom",
             "The calculator refused %s: its memory may be full, or a locked or archived variable of that name is "
             "there",
             "La calculatrice a refusé %s : sa mémoire est peut-être pleine, ou une variable verrouillée ou archivée "
             "porte ce nom"},
    Sentence{MessageId::Cut,
             "The transfer was cut midway: the calculator stopped answering (cable pulled out, or calculator "
             "turned off)",
             "Le transfert a été coupé en cours de route : la calculatrice ne répond plus (câble débranché, ou "
             "calculatrice éteinte)",
             "The transfer of %s was cut midway: the calculator stopped answering (cable pulled out, or calculator "
             "turned off)",
             "Le transfert de %s a été coupé en cours de route : la calculatrice ne répond plus (câble débranché, ou "
             "calculatrice éteinte)"},
    Sentence{MessageId::Cancelled, "The transfer was cancelled", "Le transfert a été annulé",
             "The transfer of %s was cancelled", "Le transfert de %s a été annulé"},
    Sentence{MessageId::NoSuchVariable, "The calculator holds no variable of that name",
             "La calculatrice ne contient aucune variable de ce nom",
             "The calculator holds no variable named %s",
             "La calculatrice ne contient aucune variable nommée %s"},
    Sentence{MessageId::Garbled, "The calculator's answer was garbled (a transmission error): try again",
             "La réponse de la calculatrice est illisible (une erreur de transmission) : réessayez",
             "The calculator's answer about %s was garbled (a transmission error): try again",
             "La réponse de la calculatrice pour %s est illisible (une erreur de transmission) : réessayez"},
    Sentence{MessageId::WrongCable,
             "Only the TI-89 Titanium has a DirectLink USB port: use a SilverLink or GrayLink cable",
             "Seule la TI-89 Titanium a un port USB DirectLink : utilisez un câble SilverLink ou GrayLink",
             "The %s has no DirectLink USB port, only the TI-89 Titanium has one: use a SilverLink or GrayLink cable",
             "La %s n'a pas de port USB DirectLink, seule la TI-89 Titanium en a un : utilisez un câble SilverLink "
             "ou GrayLink"},
    Sentence{MessageId::Busy, "Another transfer with the calculator is already under way",
             "Un autre transfert avec la calculatrice est déjà en cours",
             "Another transfer with the calculator is already under way (%s)",
             "Un autre transfert avec la calculatrice est déjà en cours (%s)"},
    Sentence{MessageId::BadName, "A variable's folder and name must each have 1 to 8 characters",
             "Le dossier et le nom d'une variable doivent avoir chacun de 1 à 8 caractères",
             "%s cannot be sent: its folder and name must each have 1 to 8 characters",
             "%s ne peut pas être envoyée : son dossier et son nom doivent avoir chacun de 1 à 8 caractères"},
    Sentence{MessageId::TooLarge, "The variable is too large for the calculator (65533 bytes of data at most)",
             "La variable est trop grande pour la calculatrice (65533 octets de données au plus)",
             "%s is too large for the calculator (65533 bytes of data at most)",
             "%s est trop grande pour la calculatrice (65533 octets de données au plus)"},
    Sentence{MessageId::Malformed, "The calculator sent malformed data (their size does not match): try again",
             "La calculatrice a envoyé des données mal formées (leur taille ne correspond pas) : réessayez",
             "The calculator sent malformed data for %s (their size does not match): try again",
             "La calculatrice a envoyé des données mal formées pour %s (leur taille ne correspond pas) : réessayez"},
    Sentence{MessageId::AmbiguousName,
             "Several folders of the calculator hold a variable of that name: name its folder (FOLDER\\NAME)",
             "Plusieurs dossiers de la calculatrice contiennent une variable de ce nom : indiquez son dossier "
             "(DOSSIER\\NOM)",
             "Several folders of the calculator hold %s: name its folder (FOLDER\\NAME)",
             "Plusieurs dossiers de la calculatrice contiennent %s : indiquez son dossier (DOSSIER\\NOM)"},
    Sentence{MessageId::Failed, "The link with the calculator failed", "La liaison avec la calculatrice a échoué",
             "The link with the calculator failed (%s)", "La liaison avec la calculatrice a échoué (%s)"},
};

const Sentence& sentenceOf(MessageId id) {
    for (const Sentence& s : kSentences)
        if (s.id == id) return s;
    return kSentences.back();
}

std::string hexCode(int code) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(code) & 0xFFu);
    return text;
}

std::string withSubject(const char* pattern, const std::string& subject) {
    std::string out = pattern;
    if (const auto at = out.find("%s"); at != std::string::npos) out.replace(at, 2, subject);
    return out;
}

// A refusal names what the code means when the code is a known one.
std::string refusal(const LinkStatus& s, Language language) {
    const bool en = language == Language::English;
    const std::string what = s.subject.empty() ? (en ? "the variable" : "la variable") : s.subject;
    const std::string code = hexCode(s.code);
    switch (s.code) {
    case kSkipLockedOrArchived:
        return en ? "The calculator refused " + what + ": a locked or archived variable of that name is there (code " +
                        code + ")"
                  : "La calculatrice a refusé " + what + " : une variable verrouillée ou archivée porte ce nom (code " +
                        code + ")";
    case kSkipInvalidName:
        return en ? "The calculator refused " + what + ": the name is not a valid variable name (code " + code + ")"
                  : "La calculatrice a refusé " + what + " : ce nom n'est pas un nom de variable valide (code " + code +
                        ")";
    default:
        return en ? "The calculator refused " + what + " (code " + code +
                        "): its memory may be full, or a locked or archived variable of that name is there"
                  : "La calculatrice a refusé " + what + " (code " + code +
                        ") : sa mémoire est peut-être pleine, ou une variable verrouillée ou archivée porte ce nom";
    }
}

}  // namespace

std::string groupedCount(std::uint64_t count, Language language) {
    const std::string digits = std::to_string(count);
    const char separator = language == Language::English ? ',' : ' ';
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

std::string tenthsOfSeconds(double seconds, Language language) {
    const long long tenths = seconds > 0 ? static_cast<long long>(seconds * 10 + 0.5) : 0;
    return groupedCount(static_cast<std::uint64_t>(tenths / 10), language) +
           (language == Language::English ? "." : ",") + std::to_string(tenths % 10);
}

Language languageOf(const std::string& langue) { return langue == "En" ? Language::English : Language::French; }

std::string linkMessage(MessageId id, Language language) {
    const Sentence& s = sentenceOf(id);
    return language == Language::English ? s.english : s.french;
}

std::string LinkStatus::message(Language language) const {
    std::string line;
    if (id == MessageId::Refused && code != 0) {
        line = refusal(*this, language);
    } else if (subject.empty()) {
        line = linkMessage(id, language);
    } else {
        const Sentence& s = sentenceOf(id);
        line = withSubject(language == Language::English ? s.englishWith : s.frenchWith, subject);
    }
    if (!detail.empty()) line += (language == Language::English ? ": " : " : ") + detail;
    // One line, whatever the libraries' texts hold.
    for (char& c : line)
        if (c == '\n' || c == '\r') c = ' ';
    return line;
}

}  // namespace korvane::link
