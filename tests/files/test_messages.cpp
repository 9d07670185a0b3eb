// The core's messages in both languages: the table itself, and real faults of the
// tokenizer, the readers and the link-text reader told in French once the language
// is set, and in the English of before by default.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

#include "editor/CharTable.h"
#include "files/FileFlows.h"
#include "files/LinkText.h"
#include "files/Messages.h"
#include "files/SyntaxCheck.h"
#include "files/Tokens.h"

namespace korvane {
namespace {

// The placeholders of a text, in order of appearance.
std::vector<std::string> placeholders(std::string_view text) {
    std::vector<std::string> found;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9') found.push_back(std::string(text.substr(i, 2)));
    std::sort(found.begin(), found.end());
    return found;
}

TEST(MessageTable, EveryRowHasBothLanguagesWithTheSamePlaceholders) {
    const auto table = messageTable();
    ASSERT_EQ(table.size(), static_cast<std::size_t>(MessageId::Count));
    std::set<std::string_view> english, french;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const MessageRow& row = table[i];
        EXPECT_EQ(static_cast<std::size_t>(row.id), i);
        EXPECT_FALSE(row.english.empty()) << i;
        EXPECT_FALSE(row.french.empty()) << i;
        EXPECT_EQ(placeholders(row.english), placeholders(row.french)) << row.english;
        // Every placeholder from %1 up to the highest, none skipped.
        const std::vector<std::string> used = placeholders(row.english);
        for (std::size_t n = 0; n < used.size(); ++n) EXPECT_EQ(used[n], "%" + std::to_string(n + 1)) << row.english;
        // The windows show the reasons through the calculator's characters: nothing is lost.
        EXPECT_EQ(calcToUtf8(utf8ToCalc(std::string(row.french))), row.french) << row.french;
        EXPECT_EQ(calcToUtf8(utf8ToCalc(std::string(row.english))), row.english) << row.english;
        EXPECT_TRUE(english.insert(row.english).second) << "twice: " << row.english;
        EXPECT_TRUE(french.insert(row.french).second) << "twice: " << row.french;
    }
}

class Messages : public ::testing::Test {
protected:
    void TearDown() override { setMessageLanguage(MessageLanguage::English); }
    static void french() { setMessageLanguage(MessageLanguage::French); }
    // A reason in calculator codes as the windows show it.
    static std::string shown(const std::string& calc) { return calcToUtf8(calc); }
};

TEST_F(Messages, PlaceholdersTakeTheirArgumentsInTheLanguagesOrder) {
    EXPECT_EQ(messageLanguage(), MessageLanguage::English);
    EXPECT_EQ(message(MessageId::ExpectedSeparatorOrClose, {",", ")", "\"x\""}), "expected ',' or ')', found \"x\"");
    EXPECT_EQ(message(MessageId::DoesNotCloseDefinition, {"EndPrgm", "Func", 4}),
              "EndPrgm does not close the Func defined on line 4");
    french();
    EXPECT_EQ(message(MessageId::DoesNotCloseDefinition, {"EndPrgm", "Func", 4}),
              "EndPrgm ne ferme pas le Func d\u00e9fini \u00e0 la ligne 4");
    // An argument that holds a placeholder of its own is taken as it stands.
    EXPECT_EQ(message(MessageId::TheCommand, {"%2"}), "la commande %2");
    // The calculator-code form carries the accented letters as the calculator's codes.
    EXPECT_EQ(calcMessage(MessageId::DoesNotCloseDefinition, {"EndPrgm", "Func", 4}),
              "EndPrgm ne ferme pas le Func d\xE9" "fini \xE0 la ligne 4");
}

TEST_F(Messages, TheLineIsReadInEitherLanguage) {
    std::string what;
    EXPECT_EQ(lineOfMessage("line 12: it fails", &what), 12);
    EXPECT_EQ(what, "it fails");
    EXPECT_EQ(lineOfMessage("ligne 7 : \xE7" "a \xE9" "choue", &what), 7);
    EXPECT_EQ(what, "\xE7" "a \xE9" "choue");
    EXPECT_EQ(lineOfMessage("the file is cut short", &what), 0);
    EXPECT_EQ(what, "the file is cut short");
    EXPECT_EQ(lineOfMessage("line x: no number"), 0);
    EXPECT_EQ(lineOfMessage("lignes 3 : not a prefix"), 0);
    french();
    EXPECT_EQ(atLine(5, "x"), "ligne 5 : x");
    // A message built in English is still read after the switch.
    EXPECT_EQ(lineOfError("line 4: If ... Then without EndIf"), 4);
    EXPECT_EQ(lineOfError("ligne 4 : If ... Then sans son EndIf"), 4);
}

TEST_F(Messages, TokenizerErrorsInFrenchAndByDefaultInEnglish) {
    const std::string program = "()\rPrgm\rDisp 1\rDisp 3+\rEndPrgm";
    const TokenizeResult english = tokenize(program);
    EXPECT_EQ(english.error, "line 4: expected an expression, found the end of the statement");
    EXPECT_EQ(english.line, 4);

    french();
    const TokenizeResult t = tokenize(program);
    EXPECT_EQ(shown(t.error), "ligne 4 : une expression est attendue ici, pas la fin de l'instruction");
    EXPECT_EQ(t.line, 4);
    // Quoted program text stays as the program holds it, θ included.
    EXPECT_EQ(shown(tokenize("()\rPrgm\rDisp 1)\x88\rEndPrgm").error),
              "ligne 3 : ':' ou la fin de la ligne est attendu ici, pas \")\u03b8\"");
    EXPECT_EQ(shown(tokenize("()\rPrgm\rDisp (1\rEndPrgm").error),
              "ligne 3 : une parenth\u00e8se ')' est attendue ici, pas la fin de la ligne");
    EXPECT_EQ(shown(tokenize("(a,a)\rPrgm\rEndPrgm").error), "ligne 1 : le param\u00e8tre a figure deux fois");
    EXPECT_EQ(shown(tokenize("()\rPrgm\rFor i,1,3\rEndWhile\rEndPrgm").error),
              "ligne 4 : EndWhile ne ferme pas la boucle ouverte ici");

    // The syntax check takes the line off, whatever the language.
    const SyntaxCheck c = checkSyntax({"prog()", "main", "\r\nPrgm\r\nDisp 1\r\nIf x Then\r\nEndPrgm",
                                       newDocumentHeader(), programTrailer()});
    EXPECT_EQ(c.line, 4);
    EXPECT_EQ(shown(c.message), "If ... Then sans son EndIf");
}

TEST_F(Messages, ReaderRefusalsInFrenchAndByDefaultInEnglish) {
    const Bytes shortFile(50, 'x');
    EXPECT_EQ(parseVariableFile(shortFile).error, "the file is too short to be a calculator variable file (50 bytes)");
    EXPECT_EQ(readVariableTable("**TI89**").error, "the file is too short for a calculator file (8 bytes)");

    french();
    EXPECT_EQ(shown(parseVariableFile(shortFile).error),
              "le fichier est trop court pour \u00eatre un fichier de variable de la calculatrice (50 octets)");
    EXPECT_EQ(shown(readVariableTable("**TI89**").error),
              "le fichier est trop court pour un fichier de la calculatrice (8 octets)");
    Bytes unknown(100, '\0');
    unknown.replace(0, 8, "**TI83**");
    EXPECT_EQ(shown(readVariableTable(unknown).error),
              "le fichier n'est pas un fichier de TI-89, TI-92 Plus, Voyage 200 ou TI-92 (signature inconnue)");
    // The windows get the reason as readable text, the path as it is.
    EXPECT_EQ(openFailureMessage("/d/\u00e9t\u00e9.89p", readVariableTable("**TI89**").error),
              "Impossible d'ouvrir le fichier\n/d/\u00e9t\u00e9.89p\n"
              "le fichier est trop court pour un fichier de la calculatrice (8 octets)");
}

TEST_F(Messages, LinkTextRefusalsInFrenchAndByDefaultInEnglish) {
    EXPECT_EQ(readLinkText("hello").error, "not a TI link text file: it does not begin with \\START92\\");
    EXPECT_EQ(readLinkText("\\START92\\\r\n\\NAME=a\r\n()\r\n").error, "the file ends before its \\STOP92\\ line");

    french();
    EXPECT_EQ(readLinkText("hello").error,
              "ce n'est pas un texte export\u00e9 par le logiciel de liaison TI : il ne commence pas par \\START92\\");
    EXPECT_EQ(readLinkText("\\START92\\\r\n\\NAME=a\r\n()\r\n").error,
              "le fichier s'arr\u00eate avant sa ligne \\STOP92\\");
    EXPECT_EQ(readLinkText("\\START92\\\r\n\\NAME=a\r\n\r\n\\STOP92\\\r\n").error,
              "le fichier ne contient aucun programme entre son en-t\u00eate et \\STOP92\\");
}

TEST_F(Messages, TheWindowsFixedMessagesInBothLanguages) {
    EXPECT_EQ(saveFailureMessage("/a/b.89p", "Permission denied"), "Cannot save the file\n/a/b.89p\nPermission denied");
    EXPECT_EQ(message(MessageId::ReplaceQuestion, {"b.89p"}), "Are you sure you want to replace b.89p");
    french();
    EXPECT_EQ(saveFailureMessage("/a/b.89p", "Permission denied"),
              "Impossible d'enregistrer le fichier\n/a/b.89p\nPermission denied");
    // A reason quoting program text (calculator codes) reads as the editor shows it.
    EXPECT_EQ(saveFailureMessage("/a/b.89p", atLine(3, calcMessage(MessageId::ExpectedExpression, {"\"\x88\""}))),
              "Impossible d'enregistrer le fichier\n/a/b.89p\nligne 3 : une expression est attendue ici, pas \"\u03b8\"");
    EXPECT_EQ(message(MessageId::ReplaceQuestion, {"b.89p"}), "Etes-Vous s\u00fbr de vouloir remplacer b.89p");
}

}  // namespace
}  // namespace korvane
