#include "shell/Languages.h"

#include <array>

namespace korvane {
namespace {

// "Caractères Spéciaux" / "Special characters" followed by the calculator code 20
// (0x14), which the calculator font draws.
constexpr std::array<LanguageText, 54> kTable{{
    {"FrmP", "LblRep", 0, "R\u00e9pertoire :", "Folder :"},
    {"FrmP", "Label6", 0, "Taille :", "Size :"},
    {"FrmP", "ChkChar", 0, "Caract\u00e8res Sp\u00e9ciaux\x14", "Special characters\x14"},
    {"FrmP", "cmdColor", 0, "Actualiser la colorisation", "Colors actualization"},
    {"FrmP", "fichier", 0, "Fichier", "File"},
    {"FrmP", "nouveau", 0, "Nouveau", "New"},
    {"FrmP", "ouvrir", 0, "Ouvrir", "Open"},
    {"FrmP", "enregistrer", 0, "Enregistrer", "Save"},
    {"FrmP", "enregistrerSous", 0, "Enregistrer sous", "Save as..."},
    {"FrmP", "imprimer", 0, "Imprimer", "Print"},
    {"FrmP", "quitter", 0, "Quitter", "Exit"},
    {"FrmP", "edition", 0, "Edition", "Edit"},
    {"FrmP", "copier", 0, "Copier", "Copy"},
    {"FrmP", "couper", 0, "Couper", "Cut"},
    {"FrmP", "coller", 0, "Coller", "Paste"},
    {"FrmP", "selectall", 0, "Tout s\u00e9lectionner", "Select all"},
    {"FrmP", "rechercher", 0, "Rechercher", "Find"},
    {"FrmP", "control", 0, "Contr\u00f4le", "Control"},
    {"FrmP", "aide", 0, "Aide", "Help"},
    {"FrmP", "about", 0, "A propos", "About"},

    {"FrmOption", "LblLangage", 0, "Langue :", "Language :"},
    {"FrmOption", "LblParam", 0, "Param\u00e8tre par d\u00e9fault lors d'un nouveau projet :",
     "Default parameter for new project :"},
    {"FrmOption", "Opt1", 0, "Programme", "Program"},
    {"FrmOption", "Opt1", 1, "Fonction", "Function"},
    {"FrmOption", "Check1", 0, "Afficher le choix avant d'ouvrir un nouveau projet.",
     "Show the choice before opening a new project."},
    {"FrmOption", "CmdFermer", 0, "Fermer", "Exit"},

    {"FrmSaveTok", "Option1", 0, "Tok\u00e9nis\u00e9", "Tokenized"},
    {"FrmSaveTok", "Option1", 1, "Normal (non tok\u00e9nis\u00e9)", "Normal (no  tokenized)"},
    {"FrmSaveTok", "Label1", 0, "Enregistrer ?", "Save ?"},
    {"FrmSaveTok", "CmdSave", 0, "Oui", "Yes"},
    {"FrmSaveTok", "CmdStop", 0, "Non", "No"},

    {"FrmParcourir", "", 0, "Parcourir", "Open"},
    {"FrmParcourir", "CmdSelectOK", 0, "Ouvrir", "Open"},
    {"FrmParcourir", "CmdQuitter", 0, "Quitter", "Exit"},

    {"FrmEnregistrer", "", 0, "Enregistrer", "Save"},
    {"FrmEnregistrer", "Label1", 0, "Nom du fichier :", "Filename :"},
    {"FrmEnregistrer", "CmdSelectOK", 0, "Enregistrer", "Save"},
    {"FrmEnregistrer", "CmdQuitter", 0, "Annuler", "Cancel"},

    {"FrmChxPrgmFunc", "", 0, "Prgm ou Fonction ?", "Prgm or Function ?"},
    {"FrmChxPrgmFunc", "Label1", 0, "Vous d\u00e9sirez commencer un nouveau Programme ou une nouvelle Fonction ?",
     "You wish to begin a new Program or a new Function? "},
    {"FrmChxPrgmFunc", "Opt1", 0, "Programme", "Program"},
    {"FrmChxPrgmFunc", "Opt1", 1, "Fonction", "Function"},
    {"FrmChxPrgmFunc", "Check1", 0, "Ne plus afficher.", "Not to show more."},

    {"FrmChar", "", 0, "Caract\u00e8res Sp\u00e9ciaux", "Special characters"},

    {"FrmAbout1", "", 0, "A propos de Korvane", "About of Korvane"},
    {"FrmAbout1", "lblDescription", 0, "Editeur de programme ti89 en tibasic pour PC.",
     "Editor of program ti89 in tibasic for PC."},
    {"FrmAbout1", "LblAuteur", 0, "Ecrit par l'\u00e9quipe Korvane.", "Written by the Korvane team."},
    {"FrmAbout1", "Label1", 0,
     "Merci aux auteurs du tokeniseur et du d\u00e9tokeniseur des fichiers de la calculatrice.",
     "Thanks to the authors of the calculator files' tokenizer and detokenizer."},
    {"FrmAbout1", "lblDisclaimer", 0,
     "Version b\u00eata. Korvane est un logiciel libre sous licence GNU GPL, version 3 ou ult\u00e9rieure.",
     "Beta version. Korvane is free software under the GNU GPL, version 3 or later."},

    {"FrmImprime", "", 0, "Imprimer", "Print"},
    {"FrmImprime", "LblImprimer", 0, "Imprimante :", "Printer :"},
    {"FrmImprime", "LblTaille", 0, "Taille du texte :", "Size of text :"},
    {"FrmImprime", "CmdImprimer", 0, "Imprimer", "Print"},
    {"FrmImprime", "CmdAnnuler", 0, "Annuler", "Cancel"},
}};

constexpr LanguageText kAdded[] = {
    {"FrmP", "annuler", 0, "Annuler", "Undo"},
    {"FrmP", "retablir", 0, "R\u00e9tablir", "Redo"},
    {"FrmP", "verifierSyntaxe", 0, "V\u00e9rifier la syntaxe", "Check syntax"},
    {"FrmP", "importer", 0, "Importer un texte TI...", "Import TI text..."},
    {"FrmP", "option_", 0, "Option", "Option"},
    {"FrmOption", "", 0, "Option", "Option"},
    {"FrmOption", "CmdAppliquer", 0, "OK", "OK"},
    {"FrmAbout1", "cmdOK", 0, "OK", "OK"},
    {"FrmSaveTok", "CmdAnnuler", 0, "Annuler", "Cancel"},
    {"FrmImprime", "LblImpression", 0, "Impression :", "Impression :"},
    // Messages of the syntax check and of the import, not captions of a control.
    {"FrmP", "messageSyntaxOk", 0, "Le programme est valide pour la calculatrice.", "The program is valid for the calculator."},
    {"FrmP", "messageSyntaxLine", 0, "Ligne %1 : %2", "Line %1: %2"},
    {"FrmP", "messageImportFailed", 0, "Impossible d'importer le fichier\n%1\n%2", "The file cannot be imported\n%1\n%2"},
    {"FrmP", "importFilter", 0, "Textes TI (*.txt *.TXT);;Tous les fichiers (*)", "TI texts (*.txt *.TXT);;All files (*)"},
    // Help while writing: the Go to menu, completion, F1's help, the status bar.
    {"FrmP", "allerA", 0, "Aller \u00e0", "Go to"},
    {"FrmP", "allerLigne", 0, "Ligne...", "Line..."},
    {"FrmP", "completerMot", 0, "Compl\u00e9ter le mot", "Complete word"},
    {"FrmP", "aideCommande", 0, "Aide sur la commande", "Command help"},
    {"FrmP", "statusPosition", 0, "Ligne %1, Col %2", "Line %1, Col %2"},
    {"FrmP", "helpNoCommand", 0, "Aucune commande au curseur.", "No command at the caret."},
    {"FrmAllerLigne", "", 0, "Aller \u00e0 la ligne", "Go to line"},
    {"FrmAllerLigne", "LblLigne", 0, "Num\u00e9ro de ligne :", "Line number:"},
    {"FrmAllerLigne", "CmdAnnuler", 0, "Annuler", "Cancel"},
    {"FrmCatalogue", "searchHint", 0, "Rechercher", "Search"},
    // The completion list's window, as screen readers name it.
    {"LstCompletion", "", 0, "Mots propos\u00e9s", "Suggested words"},
    {"FrmOption", "ChkDigraphes", 0, "Remplacer -> >= <= /= par \u2192 \u2265 \u2264 \u2260",
     "Replace -> >= <= /= with \u2192 \u2265 \u2264 \u2260"},
    // Sending to the calculator and receiving from it.
    {"FrmOption", "FraLiaison", 0, "Liaison", "Link"},
    {"FrmOption", "LblCalc", 0, "Calculatrice :", "Calculator:"},
    {"FrmOption", "LblCable", 0, "C\u00e2ble :", "Cable:"},
    {"FrmOption", "LblPort", 0, "Port :", "Port:"},
    {"FrmOption", "LblDelaiEcran", 0, "D\u00e9lai avant l'\u00e9cran (0 : aucun) :", "Delay before the screen (0: none):"},
    {"FrmOption", "ChkCouleursLcd", 0, "Couleurs de l'\u00e9cran LCD", "LCD colours"},
    // %1 the port TiEmu's end takes, %2 Korvane's.
    {"FrmOption", "tiemuPlace", 0,
     "Dans TiEmu, choisir le c\u00e2ble \u00ab TiEmu \u00bb sur le port %1 (Korvane est sur le port %2).",
     "In TiEmu, choose the cable \"TiEmu\" on port %1 (Korvane is on port %2)."},
    // Running on the calculator, its screen, its variables, its backups.
    {"FrmP", "envoyerExecuter", 0, "Envoyer et ex\u00e9cuter", "Send and run"},
    {"FrmP", "ecranCalc", 0, "\u00c9cran de la calculatrice", "Calculator screen"},
    {"FrmP", "variablesCalc", 0, "Variables de la calculatrice", "Calculator variables"},
    {"FrmP", "sauvegarderCalc", 0, "Sauvegarder la calculatrice...", "Back up the calculator..."},
    {"FrmP", "restaurerCalc", 0, "Restaurer...", "Restore..."},
    {"FrmP", "linkRunning", 0, "Ex\u00e9cution de %1...", "Running %1..."},
    {"FrmP", "linkRan", 0, "%1 ex\u00e9cut\u00e9.", "%1 run."},
    {"FrmP", "linkTakingScreen", 0, "Lecture de l'\u00e9cran de la calculatrice...", "Reading the calculator's screen..."},
    {"FrmP", "linkScreenTaken", 0, "%1 ex\u00e9cut\u00e9, \u00e9cran re\u00e7u.", "%1 run, screen received."},
    {"FrmP", "linkScreenReceived", 0, "\u00c9cran de la calculatrice re\u00e7u.", "Calculator screen received."},
    {"FrmP", "linkBackingUp", 0, "Sauvegarde de la calculatrice... %1 %", "Backing up the calculator... %1%"},
    {"FrmP", "linkBackedUp", 0, "Calculatrice sauvegard\u00e9e dans %1 en %2 s", "Calculator backed up to %1 in %2 s"},
    {"FrmP", "linkRestoring", 0, "Restauration de %1... %2 %", "Restoring %1... %2%"},
    {"FrmP", "linkRestored", 0, "%1 variables restaur\u00e9es en %2 s", "%1 variables restored in %2 s"},
    {"FrmP", "restoreQuestion", 0, "%1 existe d\u00e9j\u00e0 sur la calculatrice. Le remplacer ?",
     "%1 already exists on the calculator. Replace it?"},
    {"FrmP", "restoreAll", 0, "Tout remplacer", "Replace all"},
    {"FrmP", "indenter", 0, "Indenter le programme", "Indent the program"},
    {"FrmP", "restoreEmpty", 0, "Ce fichier ne contient aucune variable.", "This file holds no variable."},
    {"FrmArguments", "", 0, "Arguments", "Arguments"},
    {"FrmArguments", "argumentsOf", 0, "Arguments de %1 :", "Arguments of %1:"},
    {"FrmArguments", "CmdExecuter", 0, "Ex\u00e9cuter", "Run"},
    {"FrmArguments", "CmdAnnuler", 0, "Annuler", "Cancel"},
    {"FrmEcran", "", 0, "\u00c9cran de la calculatrice", "Calculator screen"},
    {"FrmEcran", "CmdActualiser", 0, "Actualiser", "Refresh"},
    {"FrmEcran", "CmdCopier", 0, "Copier", "Copy"},
    {"FrmEcran", "CmdEnregistrer", 0, "Enregistrer...", "Save..."},
    {"FrmEcran", "LblZoom", 0, "Taille :", "Size:"},
    {"FrmEcran", "noScreen", 0, "Aucun \u00e9cran re\u00e7u.", "No screen received."},
    {"FrmEcran", "saveTitle", 0, "Enregistrer l'\u00e9cran", "Save the screen"},
    {"FrmVariables", "", 0, "Variables de la calculatrice", "Calculator variables"},
    {"FrmVariables", "CmdActualiser", 0, "Actualiser", "Refresh"},
    {"FrmVariables", "CmdOuvrir", 0, "Ouvrir", "Open"},
    {"FrmVariables", "CmdRecevoir", 0, "Recevoir...", "Receive..."},
    {"FrmVariables", "CmdSupprimer", 0, "Supprimer", "Delete"},
    {"FrmVariables", "LblDepot", 0, "D\u00e9poser des fichiers ici pour les envoyer.", "Drop files here to send them."},
    {"FrmVariables", "colName", 0, "Nom", "Name"},
    {"FrmVariables", "colType", 0, "Type", "Type"},
    {"FrmVariables", "colSize", 0, "Taille", "Size"},
    {"FrmVariables", "colFlags", 0, "Attributs", "Flags"},
    {"FrmVariables", "locked", 0, "verrouill\u00e9e", "locked"},
    {"FrmVariables", "archived", 0, "archiv\u00e9e", "archived"},
    {"FrmVariables", "listing", 0, "Lecture des variables de la calculatrice...", "Reading the calculator's variables..."},
    {"FrmVariables", "listed", 0, "%1 variables", "%1 variables"},
    {"FrmVariables", "deleteQuestion", 0, "Supprimer %1 de la calculatrice ?", "Delete %1 from the calculator?"},
    {"FrmVariables", "deleted", 0, "%1 supprim\u00e9e.", "%1 deleted."},
    {"FrmVariables", "receiving", 0, "R\u00e9ception de %1... %2 %", "Receiving %1... %2%"},
    {"FrmVariables", "received", 0, "%1 re\u00e7ue dans %2", "%1 received into %2"},
    {"FrmVariables", "sending", 0, "Envoi de %1... %2 %", "Sending %1... %2%"},
    {"FrmVariables", "sent", 0, "%1 variables envoy\u00e9es.", "%1 variables sent."},
    {"FrmVariables", "saveTitle", 0, "Recevoir dans le fichier", "Receive into the file"},
    {"FrmP", "envoyer", 0, "Envoyer \u00e0 la calculatrice", "Send to calculator"},
    {"FrmP", "recevoir", 0, "Recevoir de la calculatrice...", "Receive from calculator..."},
    {"FrmP", "CmdStopLink", 0, "Annuler", "Cancel"},
    // %1 the variable, %2 the percentage done; then %2 its bytes, %3 the seconds taken.
    {"FrmP", "linkSending", 0, "Envoi de %1... %2 %", "Sending %1... %2%"},
    {"FrmP", "linkSent", 0, "%1 envoy\u00e9 : %2 octets en %3 s", "%1 sent: %2 bytes in %3 s"},
    {"FrmP", "linkListing", 0, "Lecture des programmes de la calculatrice...", "Reading the calculator's programs..."},
    {"FrmP", "linkReceiving", 0, "R\u00e9ception de %1... %2 %", "Receiving %1... %2%"},
    {"FrmP", "linkReceived", 0, "%1 re\u00e7u : %2 octets en %3 s", "%1 received: %2 bytes in %3 s"},
    {"FrmP", "linkCancelled", 0, "Transfert annul\u00e9.", "Transfer cancelled."},
    {"FrmP", "linkEmpty", 0, "La calculatrice ne contient aucun programme ni aucune fonction.",
     "The calculator holds no program or function."},
    // The question "which program or function?" of a file holding several, and of
    // the calculator's list when receiving.
    {"FrmChoixVariable", "fileQuestion", 0,
     "Ce fichier contient plusieurs programmes et fonctions. Lequel voulez-vous ouvrir ?",
     "This file holds several programs and functions. Which one do you want to open?"},
    {"FrmChoixVariable", "fileList", 0, "Programmes et fonctions du fichier", "Programs and functions of the file"},
    {"FrmChoixVariable", "fileTake", 0, "Ouvrir", "Open"},
    {"FrmChoixVariable", "calculatorQuestion", 0, "Quel programme ou fonction recevoir de la calculatrice ?",
     "Which program or function do you want to receive from the calculator?"},
    {"FrmChoixVariable", "calculatorList", 0, "Programmes et fonctions de la calculatrice",
     "Programs and functions of the calculator"},
    {"FrmChoixVariable", "calculatorTake", 0, "Recevoir", "Receive"},
    {"FrmChoixVariable", "CmdAnnuler", 0, "Annuler", "Cancel"},
    {"FrmChoixVariable", "kindProgram", 0, "programme", "program"},
    {"FrmChoixVariable", "kindFunction", 0, "fonction", "function"},
    {"FrmChoixVariable", "formText", 0, "texte", "text"},
    {"FrmChoixVariable", "formTokenized", 0, "tok\u00e9nis\u00e9", "tokenized"},
    {"FrmChoixVariable", "bytes", 0, "%1 octets", "%1 bytes"},
    // The buttons of message boxes.
    {"QtPrompt", "promptOk", 0, "OK", "OK"},
    {"QtPrompt", "promptYes", 0, "Oui", "Yes"},
    {"QtPrompt", "promptNo", 0, "Non", "No"},
    {"QtPrompt", "promptCancel", 0, "Annuler", "Cancel"},
};

// Controls whose tooltip says more than their name get a name only here (kToolTips).
constexpr AccessibleText kAccessible[] = {
    {"FrmP", "CmdNouveau", "Nouveau document", "New document", true},
    {"FrmP", "CmdOuvrir", "Ouvrir un fichier", "Open a file", true},
    {"FrmP", "CmdSauver", "Enregistrer", "Save", true},
    {"FrmP", "CmdCouper", "Couper", "Cut", true},
    {"FrmP", "CmdCopier", "Copier", "Copy", true},
    {"FrmP", "CmdColler", "Coller", "Paste", true},
    {"FrmP", "TxtRep", "R\u00e9pertoire de la calculatrice", "Calculator folder", true},
    {"FrmP", "TxtNomFichier", "Nom du programme et arguments", "Program name and arguments", true},
    {"FrmP", "CboTaille", "Taille du texte", "Text size", false},
    {"FrmP", "RichTxt1", "Programme", "Program", false},
    {"FrmP", "PrgsBar", "Progression", "Progress", false},
    {"FrmP", "ChkCat", "Catalogue", "Catalogue", false},
    {"FrmP", "ChkChar", "Caract\u00e8res sp\u00e9ciaux", "Special characters", false},
    // The configurable buttons are named by what they insert: %1 is their caption.
    {"FrmP", "CmdGreek", "Greek : %1", "Greek: %1", false},
    {"FrmP", "CmdMath", "Math : %1", "Math: %1", false},
    {"FrmP", "CmdPonctuation", "Ponctuation : %1", "Punctuation: %1", false},
    {"FrmP", "CmdSpecial", "Special : %1", "Special: %1", false},
    {"FrmP", "CmdCatalog", "Catalogue : %1", "Catalog: %1", false},
    {"FrmCatalogue", "LstCat", "Commandes du catalogue", "Catalogue commands", false},
    {"FrmCatalogue", "TxtCherche", "Rechercher une commande du catalogue", "Search the catalogue's commands", false},
    {"FrmAllerLigne", "TxtLigne", "Num\u00e9ro de ligne", "Line number", false},
    {"FrmParcourir", "Drive1", "Lecteurs", "Drives", false},
    {"FrmParcourir", "Dir1", "Dossiers", "Folders", false},
    {"FrmParcourir", "File1", "Fichiers", "Files", false},
    {"FrmParcourir", "TxtChemin", "Chemin du fichier", "File path", false},
    {"FrmEnregistrer", "Drive1", "Lecteurs", "Drives", false},
    {"FrmEnregistrer", "Dir1", "Dossiers", "Folders", false},
    {"FrmEnregistrer", "File1", "Fichiers", "Files", false},
    {"FrmEnregistrer", "TxtChemin", "Chemin du fichier", "File path", false},
    {"FrmEnregistrer", "TxtNom", "Nom du fichier", "File name", false},
    {"FrmEnregistrer", "CboType", "Type de fichier", "File type", false},
};

constexpr LanguageText kToolTips[] = {
    {"FrmP", "CboTaille", 0, "Changer la taille du texte", "Change the text size"},
    {"FrmP", "ChkCat", 0, "Ouvrir et fermer le catalogue", "Open and close the catalogue"},
    {"FrmP", "ChkChar", 0, "Ouvrir et fermer Les Caract\u00e8res Sp\u00e9ciaux", "Open and close the special characters"},
    {"FrmP", "CmdGreek", 0, "Bouton param\u00e9trable : clique droit sur un caract\u00e8re Greek pour modifier ce bouton",
     "Configurable button: right-click a Greek character to change this button"},
    {"FrmP", "CmdMath", 0, "Bouton param\u00e9trable : clique droit sur un caract\u00e8re Math pour modifier ce bouton",
     "Configurable button: right-click a Math character to change this button"},
    {"FrmP", "CmdPonctuation", 0,
     "Bouton param\u00e9trable : clique droit sur un caract\u00e8re Ponctuation pour modifier ce bouton",
     "Configurable button: right-click a Ponctuation character to change this button"},
    {"FrmP", "CmdSpecial", 0, "Bouton param\u00e9trable : clique droit sur un caract\u00e8re Special pour modifier ce bouton",
     "Configurable button: right-click a Special character to change this button"},
    {"FrmP", "CmdCatalog", 0, "Bouton param\u00e9trable : clique droit sur un mot cl\u00e9 du Catalogue pour modifier ce bouton",
     "Configurable button: right-click a Catalogue keyword to change this button"},
    {"FrmImprime", "CboTaille", 0, "Changer la taille du texte", "Change the text size"},
};

}  // namespace

std::span<const AccessibleText> accessibleTexts() { return kAccessible; }
std::span<const LanguageText> toolTipTexts() { return kToolTips; }

std::span<const LanguageText> languageTable() { return kTable; }
std::span<const LanguageText> addedCaptions() { return kAdded; }

bool isEnglish(const std::string& langue) { return langue == "En"; }

std::string_view textOf(const LanguageText& row, const std::string& langue) {
    return isEnglish(langue) ? row.english : row.french;
}

std::string languageText(std::string_view window, std::string_view control, int index, const std::string& langue) {
    for (const auto table : {languageTable(), addedCaptions()})
        for (const LanguageText& row : table)
            if (row.window == window && row.control == control && row.index == index)
                return std::string(textOf(row, langue));
    return {};
}

std::string versionNumber() {
    constexpr int kMajor = 1, kMinor = 1, kRevision = 90;
    return std::to_string(kMajor) + "." + std::to_string(kMinor) + "." + std::to_string(kRevision);
}

std::string versionText() { return "Version " + versionNumber(); }

}  // namespace korvane
