#include "files/Messages.h"

#include <array>
#include <atomic>
#include <cstdlib>

#include "editor/CharTable.h"

namespace korvane {
namespace {

using enum MessageId;

std::atomic<MessageLanguage> currentLanguage{MessageLanguage::English};

constexpr MessageRow kRows[] = {
    {AtLine, "line %1: %2", "ligne %1 : %2"},
    {TheEndOfTheLine, "the end of the line", "la fin de la ligne"},
    {TheEndOfTheStatement, "the end of the statement", "la fin de l'instruction"},
    {TheCommand, "the command %1", "la commande %1"},
    {NestsTooDeeply, "the expression nests too deeply", "l'expression est imbriquée trop profondément"},
    {ExpectedExpression, "expected an expression, found %1", "une expression est attendue ici, pas %1"},
    {ExpectedClosingParenthesis, "expected ')', found %1", "une parenthèse ')' est attendue ici, pas %1"},
    {ExpectedEqualsAfterName, "expected '=' after the defined name, found %1",
     "le signe '=' est attendu après le nom défini, pas %1"},
    {ExpectedMatrixClose, "expected ']' closing the matrix, found %1",
     "le crochet ']' qui ferme la matrice est attendu ici, pas %1"},
    {ExpectedSeparatorOrClose, "expected '%1' or '%2', found %3", "'%1' ou '%2' est attendu ici, pas %3"},
    {ExpectedCommaOrCloseIn, "expected ',' or ')' in %1...), found %2", "',' ou ')' est attendu dans %1...), pas %2"},
    {ExpectedMatrixSeparator, "expected ',', ';' or ']' in a matrix, found %1",
     "',', ';' ou ']' est attendu dans une matrice, pas %1"},
    {NameTooLong, "the name %1 is longer than 8 characters", "le nom %1 dépasse 8 caractères"},
    {SubscriptIndices, "a subscript takes one or two indices", "un accès par crochets prend un ou deux indices"},
    {ExpectedExponentDigits, "expected the digits of an exponent", "les chiffres de l'exposant manquent"},
    {NumberOutOfRange, "a number out of the calculator's range", "un nombre hors des limites de la calculatrice"},
    {UnclosedString, "a string without its closing '\"'", "une chaîne sans son '\"' de fin"},
    {ExpectedArbitraryConstant, "expected the number of an arbitrary constant after '@'",
     "le numéro d'une constante arbitraire est attendu après '@'"},
    {WrongArgumentCount, "%1 does not take %2 arguments", "le nombre d'arguments de %1 ne peut pas être %2"},
    {NothingAfterEndFunc, "nothing may follow the EndFunc that ends the function",
     "rien ne peut suivre le EndFunc qui termine la fonction"},
    {NothingAfterEndPrgm, "nothing may follow the EndPrgm that ends the program",
     "rien ne peut suivre le EndPrgm qui termine le programme"},
    {ExpectedColonOrEndOfLine, "expected ':' or the end of the line, found %1",
     "':' ou la fin de la ligne est attendu ici, pas %1"},
    {ExpectedAtTheEnd, "expected %1 at the end", "%1 est attendu à la fin"},
    {IfWithoutEndIf, "If ... Then without EndIf", "If ... Then sans son EndIf"},
    {TryWithoutEndTry, "Try without EndTry", "Try sans son EndTry"},
    {LoopWithoutEnd, "a loop without its end", "une boucle sans sa fin"},
    {FuncWithoutEndFunc, "Define ... Func without its EndFunc", "Define ... Func sans son EndFunc"},
    {PrgmWithoutEndPrgm, "Define ... Prgm without its EndPrgm", "Define ... Prgm sans son EndPrgm"},
    {ThenWithoutIf, "Then without If", "Then sans If"},
    {OnlyAfterDefine, "%1 stands only after Define name(...)=", "%1 ne se place qu'après Define nom(...)="},
    {ExpectedFound, "expected %1, found %2", "%1 est attendu ici, pas %2"},
    {DoesNotCloseDefinition, "%1 does not close the %2 defined on line %3",
     "%1 ne ferme pas le %2 défini à la ligne %3"},
    {EndWithout, "%1 without %2", "%1 sans %2"},
    {DoesNotCloseLoop, "%1 does not close the loop that is open here", "%1 ne ferme pas la boucle ouverte ici"},
    {OutsideLoop, "%1 outside a loop", "%1 hors d'une boucle"},
    {ExpectedLocalName, "expected a variable name in Local, found %1",
     "un nom de variable est attendu dans Local, pas %1"},
    {TakesNoArguments, "%1 takes no arguments, found %2", "%1 ne prend aucun argument : %2 est en trop"},
    {ExpectedNameAfterDefine, "expected a name after Define, found %1", "un nom est attendu après Define, pas %1"},
    {DefinitionNeedsParentheses, "a defined Func or Prgm needs its parameters in parentheses, such as %1()",
     "un Func ou un Prgm défini prend ses paramètres entre parenthèses, comme %1()"},
    {BlocksTooDeep, "blocks nest too deeply", "les blocs sont imbriqués trop profondément"},
    {ExpectedArgumentList, "expected the argument list in parentheses, such as () or (a,b)",
     "la liste des arguments est attendue entre parenthèses, comme () ou (a,b)"},
    {NotParameterName, "\"%1\" is not a parameter name", "\"%1\" n'est pas un nom de paramètre"},
    {ParameterTwice, "the parameter %1 is listed twice", "le paramètre %1 figure deux fois"},
    {TooManyParameters, "more than 255 parameters", "plus de 255 paramètres"},
    {EndsBeforeEnd, "the program ends before EndPrgm or EndFunc", "le programme s'arrête avant EndPrgm ou EndFunc"},
    {ExpectedPrgmOrFunc, "expected Prgm or Func", "Prgm ou Func est attendu ici"},
    {NulCharacter, "the character 00 cannot stand in a program",
     "le caractère 00 ne peut pas figurer dans un programme"},
    {TokenizedTooLong, "the tokenized program is too long for a variable file",
     "le programme tokénisé est trop long pour un fichier de variable"},
    {IntegerTooLarge, "an integer too large for the calculator", "un entier trop grand pour la calculatrice"},
    {LoopTooLong, "a loop too long to jump over", "une boucle trop longue pour être sautée"},

    {HeaderNot88Bytes, "the variable header is not 88 bytes long", "l'en-tête de la variable ne fait pas 88 octets"},
    {TrailerNot12Bytes, "the variable trailer is not 12 bytes long", "la fin de la variable ne fait pas 12 octets"},
    {NoName, "the program has no name", "le programme n'a pas de nom"},
    {NameRule, "a name starts with a letter and holds only letters, digits and _, at most 8 characters",
     "un nom commence par une lettre et ne contient que des lettres, des chiffres et _, 8 caractères au plus"},
    {InvalidVariableName, "\"%1\" is not a variable name: %2", "\"%1\" n'est pas un nom de variable : %2"},
    {InvalidFolderName, "\"%1\" is not a folder name: %2", "\"%1\" n'est pas un nom de dossier : %2"},
    {ProgramTooLong, "the program is too long for a calculator file (%1 bytes, at most 65535)",
     "le programme est trop long pour un fichier de la calculatrice (%1 octets, 65535 au plus)"},
    {TooShortForVariableFile, "the file is too short to be a calculator variable file (%1 bytes)",
     "le fichier est trop court pour être un fichier de variable de la calculatrice (%1 octets)"},
    {NoTextProgram, "the file holds no text program: no \")\" closes its argument list",
     "le fichier ne contient pas de programme en texte : aucune \")\" ne ferme sa liste d'arguments"},
    {IsAFolder, "it is a folder, not a file", "c'est un dossier, pas un fichier"},
    {CouldNotBeRead, "it could not be read", "sa lecture a échoué"},
    {FolderOfThatName, "a folder of that name exists", "un dossier porte déjà ce nom"},

    {TooShortForCalculatorFile, "the file is too short for a calculator file (%1 bytes)",
     "le fichier est trop court pour un fichier de la calculatrice (%1 octets)"},
    {UnknownSignature, "the file is not a TI-89, TI-92 Plus, Voyage 200 or TI-92 file (unknown signature)",
     "le fichier n'est pas un fichier de TI-89, TI-92 Plus, Voyage 200 ou TI-92 (signature inconnue)"},
    {NoVariableInTable, "the file's table holds no variable", "la table du fichier ne contient aucune variable"},
    {TableRunsPastEnd, "the file is cut short: its table of %1 entries runs past its end",
     "le fichier est tronqué : sa table de %1 entrées dépasse sa fin"},
    {SizeRunsPastEnd, "the file is cut short: it names %1 bytes and holds %2",
     "le fichier est tronqué : il annonce %1 octets et en contient %2"},
    {TheEntry, "the entry %1 (%2)", "l'entrée %1 (%2)"},
    {EntryOutsideFile, "%1 points outside the file", "%1 pointe hors du fichier"},
    {EntryRunsPastEnd, "the file is cut short: %1 holds %2 bytes that run past its end",
     "le fichier est tronqué : %1 contient %2 octets qui dépassent sa fin"},
    {OnlyFolderEntries, "the file holds only folder entries, no variable",
     "le fichier ne contient que des entrées de dossier, aucune variable"},
    {NoProgramNamed, "the file holds no program or function named %1",
     "le fichier ne contient aucun programme ni aucune fonction du nom de %1"},
    {NoProgramOrFunction, "the file holds no program or function",
     "le fichier ne contient aucun programme ni aucune fonction"},
    {ChooseWithVar, "the file holds %1 programs and functions; choose one with --var: %2",
     "le fichier contient %1 programmes et fonctions ; choisissez-en un avec --var : %2"},

    {NotLinkText, "not a TI link text file: it does not begin with \\START92\\",
     "ce n'est pas un texte exporté par le logiciel de liaison TI : il ne commence pas par \\START92\\"},
    {EndsBeforeStop, "the file ends before its \\STOP92\\ line", "le fichier s'arrête avant sa ligne \\STOP92\\"},
    {NoProgramBeforeStop, "the file holds no program between its header and \\STOP92\\",
     "le fichier ne contient aucun programme entre son en-tête et \\STOP92\\"},
    {NoCalculatorCode, "line %1, column %2: the character %3 (%4) has no calculator code",
     "ligne %1, colonne %2 : le caractère %3 (%4) n'a pas de code de la calculatrice"},

    {TemporaryFileFailed, "the temporary file could not be created in %1: %2",
     "le fichier temporaire n'a pas pu être créé dans %1 : %2"},
    {FileTooLarge, "the file is too large to be a calculator variable (%1 bytes)",
     "le fichier est trop grand pour être une variable de la calculatrice (%1 octets)"},
    // The program's own French texts, kept word for word.
    {NotTi89File, "The file is not a TI-89 file", "Le fichier n'est pas un fichier ti89"},
    {DetokenizationFailed, "Error while detokenizing, check that the file is not read-only",
     "Erreur lors de la détokénisation,vérifié que le fichier n'est pas en lecture seul"},
    {SelectFile, "Please select a file.", "Veuillez sélectionner un fichier."},
    {EnterName, "Enter a file name", "Entrer un nom de fichier"},
    {ReplaceQuestion, "Are you sure you want to replace %1", "Etes-Vous sûr de vouloir remplacer %1"},
    {SaveFailed, "Cannot save the file\n%1\n%2", "Impossible d'enregistrer le fichier\n%1\n%2"},
    {OpenFailed, "Cannot open the file\n%1\n%2", "Impossible d'ouvrir le fichier\n%1\n%2"},
    {FolderOpenFailed, "Cannot open the folder\n%1\n%2", "Impossible d'ouvrir le dossier\n%1\n%2"},
    {FileDoesNotExist, "The file %1 does not exist.", "Le fichier %1 n'existe pas."},
    {ChangedOnDiskReplace, "%1 was changed by another program since it was opened. Replace it?",
     "%1 a été modifié par un autre programme depuis son ouverture. Le remplacer ?"},
    {ChangedOnDiskReload, "%1 was changed by another program. Read it again and discard your changes?",
     "%1 a été modifié par un autre programme. Le relire et abandonner vos modifications ?"},
    {CatalogueUnreadable, "Cannot read the command catalogue: %1\nThe catalogue stays empty.",
     "Impossible de lire le catalogue des commandes : %1\nLe catalogue reste vide."},
    {FirstRun,
     "This program runs for the first time; restart the computer after installing it so that it works properly.",
     "Ce programme est exécuté pour la première fois,il est important de redémarrer le pc "
     "après l'installation de ce logiciel pour le bon fonctionnement."},
    {RecoveryOffer, "Korvane did not close normally. Recover the unsaved program %1, as it stood on %2?",
     "Korvane ne s'est pas fermé normalement. Récupérer le programme non enregistré %1, tel qu'il était le %2 ?"},
    {RecoveryDamaged, "A recovery copy of unsaved work is damaged and cannot be restored. It is kept aside as\n%1",
     "Une copie de récupération d'un travail non enregistré est endommagée et ne peut pas être restaurée. "
     "Elle est mise de côté sous\n%1"},
    {RecoveryWriteFailed, "The recovery copy of the unsaved program cannot be written:\n%1\n%2",
     "La copie de récupération du programme non enregistré ne peut pas être écrite :\n%1\n%2"},
    {LabelNotDefined, "the label %1 is not defined", "l'étiquette %1 n'est pas définie"},
    {LabelDefinedTwice, "the label %1 is defined twice", "l'étiquette %1 est définie deux fois"},
    {LocalNeverUsed, "the local name %1 is never used", "le nom local %1 n'est jamais utilisé"},
};

static_assert(std::size(kRows) == static_cast<std::size_t>(Count), "one row per message");

constexpr bool inIdOrder() {
    for (std::size_t i = 0; i < std::size(kRows); ++i)
        if (static_cast<std::size_t>(kRows[i].id) != i) return false;
    return true;
}
static_assert(inIdOrder(), "the rows follow the order of MessageId");

// `text` with each %1...%9 replaced by its argument; a placeholder without one stays.
std::string substituted(std::string_view text, std::initializer_list<MessageArg> args) {
    std::string out;
    out.reserve(text.size() + 16 * args.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(text[i + 1] - '1');
            if (n < args.size()) {
                out += (args.begin() + n)->text();
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

void setMessageLanguage(MessageLanguage language) { currentLanguage.store(language, std::memory_order_relaxed); }

MessageLanguage messageLanguage() { return currentLanguage.load(std::memory_order_relaxed); }

std::span<const MessageRow> messageTable() { return kRows; }

std::string_view messageTemplate(MessageId id, MessageLanguage language) {
    const MessageRow& row = kRows[static_cast<std::size_t>(id)];
    return language == MessageLanguage::French ? row.french : row.english;
}

std::string message(MessageId id, std::initializer_list<MessageArg> args) {
    return substituted(messageTemplate(id, messageLanguage()), args);
}

std::string calcMessage(MessageId id, std::initializer_list<MessageArg> args) {
    return substituted(utf8ToCalc(std::string(messageTemplate(id, messageLanguage()))), args);
}

std::string atLine(int line, const std::string& what) { return calcMessage(AtLine, {line, what}); }

int lineOfMessage(std::string_view text, std::string* what) {
    for (const MessageLanguage language : {MessageLanguage::English, MessageLanguage::French}) {
        // The row reads "<before>%1<between>%2".
        const std::string_view row = messageTemplate(AtLine, language);
        const std::size_t first = row.find("%1"), second = row.find("%2");
        const std::string_view before = row.substr(0, first);
        const std::string_view between = row.substr(first + 2, second - first - 2);
        if (text.substr(0, before.size()) != before) continue;
        std::size_t end = before.size();
        while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
        if (end == before.size() || end - before.size() > 9) continue;
        if (what) {
            *what = text.substr(end, between.size()) == between ? std::string(text.substr(end + between.size()))
                                                                  : std::string(text);
        }
        return std::atoi(std::string(text.substr(before.size(), end - before.size())).c_str());
    }
    if (what) *what = std::string(text);
    return 0;
}

}  // namespace korvane
