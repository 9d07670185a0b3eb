// Opening and saving in the main window, on the offscreen platform: the save
// question, the save-as and open browsers, start-up and shutdown, drops, shortcuts,
// and what happens to the user's file and text when something goes wrong.
#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include <filesystem>

#include "editor/CharTable.h"
#include "editor/Colouring.h"
#include "editor/MemoryEditor.h"
#include "editor/ui/EditorWidget.h"
#include "files/Detokenizer.h"
#include "files/FileFlows.h"
#include "files/ui/FrmEnregistrer.h"
#include "files/ui/FrmParcourir.h"
#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "support/Samples.h"
#include "support/ScratchDir.h"

using namespace korvane;
namespace fs = std::filesystem;
using test::ScratchDir;

namespace {

// Plays the user's part in each dialog the main window shows, and counts them.
// Without a handler the save question is answered "Non" and any other dialog fails.
struct DialogScript {
    std::function<void(FrmSaveTok&)> saveTok;
    std::function<void(FrmEnregistrer&)> enregistrer;
    std::function<void(FrmParcourir&)> parcourir;
    int saveTokShown = 0;
    int enregistrerShown = 0;
    int parcourirShown = 0;

    void run(QDialog& dialog) {
        dialog.show();  // on screen while the user answers, as in the modal loop
        if (auto* d = qobject_cast<FrmSaveTok*>(&dialog)) {
            ++saveTokShown;
            if (saveTok) saveTok(*d);
            else d->CmdStop->click();
        } else if (auto* d = qobject_cast<FrmEnregistrer*>(&dialog)) {
            ++enregistrerShown;
            QVERIFY2(enregistrer, "unexpected save-as browser");
            enregistrer(*d);
        } else if (auto* d = qobject_cast<FrmParcourir*>(&dialog)) {
            ++parcourirShown;
            QVERIFY2(parcourir, "unexpected open browser");
            parcourir(*d);
        } else {
            QFAIL("unexpected dialog");
        }
        QVERIFY2(!dialog.isVisible(), "the dialog is still open");
    }
    void attach(FrmP& w) {
        w.runModal = [this](QDialog& d) { run(d); };
    }
};

void answerYes(FrmSaveTok& d) { d.CmdSave->click(); }
void answerYesNormal(FrmSaveTok& d) {
    d.Option1[1]->click();
    d.CmdSave->click();
}

std::function<void(FrmEnregistrer&)> saveAs(const std::string& folder, const QString& name, int type = 0) {
    return [folder, name, type](FrmEnregistrer& d) {
        QCOMPARE(d.Dir1->setPath(QString::fromStdString(folder)), QString());
        d.TxtNom->setText(name);
        d.CboType->setCurrentIndex(type);
        d.CmdSelectOK->click();
    };
}

std::function<void(FrmParcourir&)> pick(const std::string& folder, const QString& file) {
    return [folder, file](FrmParcourir& d) {
        QCOMPARE(d.Dir1->setPath(QString::fromStdString(folder)), QString());
        const auto found = d.File1->findItems(file, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        d.File1->setCurrentItem(found.front());
        QCOMPARE(QString::fromStdString(d.path()), QString::fromStdString(folder) + "/" + file);
        d.CmdSelectOK->click();
    };
}

const std::string kNewProgram = "\r\nPrgm\r\n\r\nEndPrgm";

VariableFileInput programFile(const std::string& name, const std::string& body) {
    return {name, "main", "\r\nPrgm\r\n" + body + "\r\nEndPrgm", newDocumentHeader(), programTrailer()};
}

bool isTokenizedFile(const std::string& path) {
    const DetokenizerAnswer start = Detokenizer().DataStart(path);
    return start.ok() && !isTextForm(start.value);
}

// What the open routine should show for a file: the component's own print of it,
// after the full recolouring that gives keywords their canonical form.
struct Shown {
    std::string nameField;
    std::string folder;
    std::string text;
};
Shown expectedFor(const fs::path& file) {
    const Bytes bytes = samples::bytesOf(file);
    const std::string printed = Detokenizer().ProgramText(file.string()).value;
    const size_t close = printed.find(')');
    MemoryEditor recoloured(normaliseLineBreaks(printed.substr(close + 1)));
    int caret = 0;
    colorierTout(recoloured, caret, "10");
    return {std::string(bytes.substr(64, 8).c_str()) + printed.substr(0, close + 1),
            std::string(bytes.substr(10, 8).c_str()), recoloured.text()};
}

// Drags `file` over `target` and drops it there.
void sendDrop(QWidget* target, const QString& file) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
}

}  // namespace

class TestOpenSave : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<ScratchDir> scratch;
    std::unique_ptr<ScratchDir> temp;
    std::string folder() const { return scratch->path().string(); }
    std::string ini() const { return scratch->file("Korvane.INI"); }
    std::string file(const std::string& name) const { return scratch->file(name); }

    // A main window started with the scratch settings file; tokenized files are
    // opened through the scratch temporary folder.
    std::unique_ptr<FrmP> start(PromptService& prompt, DialogScript& script, const std::string& commandLine = {}) {
        auto w = std::make_unique<FrmP>(Settings(ini()), prompt);
        script.attach(*w);
        w->temporaryFolder = temp->path().string();
        w->load(commandLine);
        return w;
    }

private slots:
    void init() {
        scratch = std::make_unique<ScratchDir>();
        temp = std::make_unique<ScratchDir>();
        // Not the first run: no first-run message among the ones checked.
        Settings(ini()).ecrireIni("FirstLoad", "faux");
    }
    void cleanup() {
        QVERIFY(fs::is_empty(temp->path()));
        temp.reset();
        scratch.reset();
    }

    void newDocumentSavedThroughTheToolButtonThenWithoutTheBrowser() {
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        QCOMPARE(w->windowTitle(), QString("Korvane"));
        QVERIFY(!w->enregistrer->isEnabled());

        script.saveTok = [](FrmSaveTok& d) {
            QVERIFY(d.Option1[0]->isChecked());  // "Tokénisé" offered first
            QCOMPARE(d.Option1[1]->text(), QString("Normal (non tokénisé)"));
            answerYes(d);
        };
        script.enregistrer = [this](FrmEnregistrer& d) {
            QCOMPARE(d.windowTitle(), QString("Enregistrer"));
            QCOMPARE(d.CboType->count(), 5);
            QCOMPARE(d.CboType->currentText(), QString("Format Ti-89 (*.89p)"));
            QCOMPARE(d.CboType->itemText(1), QString("Format Ti-92 (*.92p)"));
            QCOMPARE(d.CboType->itemText(2), QString("Format Ti-92 Plus (*.9xp)"));
            QCOMPARE(d.CboType->itemText(3), QString("Format Voyage 200 (*.v2p)"));
            QCOMPARE(d.Dir1->setPath(QString::fromStdString(folder())), QString());
            // Without a file, the name box starts with the variable's name.
            QCOMPARE(d.TxtNom->text(), QString("nouveau"));
            // No name: the message, and the browser stays.
            d.TxtNom->clear();
            d.CmdSelectOK->click();
            QVERIFY(!d.confirmed);
            d.TxtNom->setText("prog");
            d.CmdSelectOK->click();
        };
        w->CmdSauver->click();
        QCOMPARE(prompt.shown.size(), size_t(1));
        QCOMPARE(prompt.shown[0].text, std::string("Entrer un nom de fichier"));
        QCOMPARE(script.enregistrerShown, 1);
        QCOMPARE(w->document.path, file("prog.89p"));
        QVERIFY(isTokenizedFile(file("prog.89p")));
        QVERIFY(w->enregistrer->isEnabled());
        QCOMPARE(w->windowTitle(), QString("Korvane - prog.89p"));
        QCOMPARE(Settings(ini()).lireIni("Dir"), folder());
        QCOMPARE(Settings(ini()).lireIni("File"), folder());

        // Again: written to the same path, no browser; the mode chosen last stays.
        w->RichTxt1->replaceRange(8, 0, "Disp 42");
        script.saveTok = [](FrmSaveTok& d) {
            QVERIFY(d.Option1[0]->isChecked());
            answerYesNormal(d);
        };
        w->CmdSauver->click();
        QCOMPARE(script.enregistrerShown, 1);
        QCOMPARE(ScratchDir::read(file("prog.89p")),
                 buildVariableFile(programFile("nouveau()", "Disp 42")).bytes);
        // "Non" writes nothing.
        w->RichTxt1->replaceRange(8, 0, "Disp 1\r\n");
        const Bytes before = ScratchDir::read(file("prog.89p"));
        script.saveTok = [](FrmSaveTok& d) {
            QVERIFY(d.Option1[1]->isChecked());
            d.CmdStop->click();
        };
        w->CmdSauver->click();
        QCOMPARE(ScratchDir::read(file("prog.89p")), before);
        QCOMPARE(script.saveTokShown, 3);
        script.saveTok = nullptr;
        w->close();
        QCOMPARE(Settings(ini()).lireIni("Chemin"), file("prog.89p"));

        // The next run's open browser starts where the save-as browser closed.
        DialogScript next;
        auto w2 = start(prompt, next);
        FrmParcourir& browser = w2->frmParcourir();
        QCOMPARE(browser.Dir1->path().toStdString(), folder());
        QCOMPARE(browser.File1->path().toStdString(), folder());
        QCOMPARE(browser.File1->count(), 1);
        QCOMPARE(browser.Drive1->itemText(0), QString("/"));
        w2->close();
    }

    void menuSaveSaveAsAndTheSaveModeDialog() {
        const std::string path = file("text.89p");
        const VariableFileInput input = programFile("text()", "Disp 2");
        QCOMPARE(writeVariableFile(input, path), std::string());
        Settings(ini()).ecrireIni("Chemin", path);
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        QCOMPARE(w->document.path, path);
        QVERIFY(!isTokenizedFile(path));

        // Menu Save asks nothing and keeps the file's text form.
        w->RichTxt1->replaceRange(8, 0, "Disp 3\r\n");
        w->enregistrer->trigger();
        QCOMPARE(script.saveTokShown + script.enregistrerShown, 0);
        QCOMPARE(ScratchDir::read(path), buildVariableFile(programFile("text()", "Disp 3\r\nDisp 2")).bytes);
        w->RichTxt1->replaceRange(8, 8, "");

        // Save as, "Normal (non tokénisé)": exactly the writer's bytes, at the new path.
        script.saveTok = answerYesNormal;
        script.enregistrer = saveAs(folder(), "copie", 1);
        w->enregistrerSous->trigger();
        QCOMPARE(w->document.path, file("copie.92p"));
        QCOMPARE(ScratchDir::read(file("copie.92p")), buildVariableFile(input).bytes);

        // Cancelling the browser writes nothing and keeps the path.
        script.saveTok = answerYes;
        script.enregistrer = [](FrmEnregistrer& d) { d.CmdQuitter->click(); };
        w->enregistrerSous->trigger();
        QCOMPARE(w->document.path, file("copie.92p"));
        script.enregistrer = [](FrmEnregistrer& d) {
            QTest::keyClick(&d, Qt::Key_Escape);
            QVERIFY(!d.confirmed);
        };
        w->enregistrerSous->trigger();
        QCOMPARE(script.enregistrerShown, 3);
        QCOMPARE(w->document.path, file("copie.92p"));
        int files = 0;
        for (const auto& e : fs::directory_iterator(folder())) files += e.path().extension() != ".INI";
        QCOMPARE(files, 2);

        // The mode starts on the form of the Document's file, whatever was chosen
        // last; Escape saves nothing.
        script.saveTok = [](FrmSaveTok& d) {
            QVERIFY(d.Option1[1]->isChecked());
            QVERIFY(!d.tokenize);
            QVERIFY(d.CmdAnnuler->isHidden());  // no command behind this question
            d.Option1[0]->click();
            QTest::keyClick(&d, Qt::Key_Escape);
        };
        script.enregistrer = nullptr;
        w->enregistrerSous->trigger();
        QVERIFY(w->frmSaveTok().answer == FrmSaveTok::Answer::Cancel);
        QCOMPARE(ScratchDir::read(file("copie.92p")), buildVariableFile(input).bytes);
        script.saveTok = [](FrmSaveTok& d) {
            QVERIFY(d.Option1[1]->isChecked());
            d.Option1[0]->click();
            answerYes(d);
        };
        w->CmdSauver->click();
        QVERIFY(isTokenizedFile(file("copie.92p")));
        script.saveTok = [](FrmSaveTok& d) {
            QVERIFY(d.Option1[0]->isChecked());
            d.CmdStop->click();
        };
        w->CmdSauver->click();
        QCOMPARE(script.saveTokShown, 6);
        script.saveTok = nullptr;
        w->close();
    }

    void functionDocumentOffersFunctionTypesAndTheListShowsPrograms() {
        for (const char* name : {"a.89p", "b.92p", "c.89f", "d.txt", "E.92P"}) ScratchDir::write(file(name), "x");
        Settings settings(ini());
        settings.sauverOption("PrgmFunc", false);
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nFunc\r\n\r\nEndFunc"));

        script.saveTok = answerYesNormal;
        script.enregistrer = [this](FrmEnregistrer& d) {
            QCOMPARE(d.CboType->itemText(0), QString("Format Ti-89 (*.89f)"));
            QCOMPARE(d.CboType->itemText(1), QString("Format Ti-92 (*.92f)"));
            QCOMPARE(d.Dir1->setPath(QString::fromStdString(folder())), QString());
            QStringList listed;
            for (int i = 0; i < d.File1->count(); ++i) listed << d.File1->item(i)->text();
            // Every program and function file is listed, whatever the Document's kind.
            QCOMPARE(listed, QStringList({"a.89p", "b.92p", "c.89f", "E.92P"}));
            d.CboType->setCurrentIndex(1);
            d.TxtNom->setText("fn");
            d.CmdSelectOK->click();
        };
        w->CmdSauver->click();
        QCOMPARE(w->document.path, file("fn.92f"));
        QCOMPARE(readVariableFile(file("fn.92f")).content.trailer, functionTrailer());

        // Double-click on a listed file: the replace question names it; the type
        // list still decides the extension.
        prompt.answers = {PromptAnswer::Yes};
        script.enregistrer = [](FrmEnregistrer& d) {
            d.CboType->setCurrentIndex(0);
            QListWidgetItem* b = d.File1->findItems("b.92p", Qt::MatchExactly).front();
            d.File1->setCurrentItem(b);
            QCOMPARE(d.TxtNom->text(), QString("b"));
            emit d.File1->itemDoubleClicked(b);
            QVERIFY(d.confirmed);
        };
        w->enregistrerSous->trigger();
        QCOMPARE(prompt.shown.back().text, std::string("Etes-Vous sûr de vouloir remplacer b.92p"));
        QCOMPARE(prompt.shown.back().buttons, PromptButtons::YesNo);
        QCOMPARE(w->document.path, file("b.89f"));
        QCOMPARE(ScratchDir::read(file("b.92p")), std::string("x"));
        // Enter in the directory list opens the folder and does not save.
        // A folder that can no longer be listed: a message, and the lists stay.
        fs::create_directory(file("inner"));
        fs::create_directory(file("sub"));
        script.enregistrer = [this](FrmEnregistrer& d) {
            QCOMPARE(d.Dir1->setPath(QString::fromStdString(folder())), QString());
            d.TxtNom->setText("nom");
            d.Dir1->setCurrentItem(d.Dir1->findItems("inner", Qt::MatchEndsWith).front());
            QTest::keyClick(d.Dir1, Qt::Key_Return);
            QCOMPARE(d.Dir1->path().toStdString(), file("inner"));
            QCOMPARE(d.File1->path().toStdString(), file("inner"));
            QVERIFY(d.isVisible());
            QCOMPARE(d.Dir1->setPath(QString::fromStdString(folder())), QString());
            const auto sub = d.Dir1->findItems("sub", Qt::MatchEndsWith);
            QCOMPARE(sub.size(), 1);
            fs::remove(file("sub"));
            emit d.Dir1->itemActivated(sub.front());
            QCOMPARE(d.Dir1->path().toStdString(), folder());
            d.CmdQuitter->click();
        };
        w->enregistrerSous->trigger();
        QVERIFY(prompt.shown.back().text.rfind("Impossible d'ouvrir le dossier\n" + file("sub"), 0) == 0);
        script.saveTok = nullptr;
        w->close();
    }

    void dialogTextsInBothLanguages() {
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        FrmSaveTok& mode = w->frmSaveTok();
        FrmEnregistrer& save = w->frmEnregistrer();
        FrmParcourir& open = w->frmParcourir();
        mode.appliquerEn();
        save.appliquerEn();
        open.appliquerEn();
        QCOMPARE(mode.Option1[1]->text(), QString("Normal (no  tokenized)"));
        QCOMPARE(mode.Label1->text(), QString("Save ?"));
        QCOMPARE(save.Label1->text(), QString("Filename :"));
        QCOMPARE(open.windowTitle(), QString("Open"));
        QCOMPARE(open.CmdQuitter->text(), QString("Exit"));
        mode.appliquerFr();
        save.appliquerFr();
        open.appliquerFr();
        QCOMPARE(mode.Option1[0]->text(), QString("Tokénisé"));
        QCOMPARE(mode.Label1->text(), QString("Enregistrer ?"));
        QCOMPARE(mode.CmdSave->text(), QString("&Oui"));
        QCOMPARE(mode.CmdStop->text(), QString("&Non"));
        QCOMPARE(save.windowTitle(), QString("Enregistrer"));
        QCOMPARE(save.CmdQuitter->text(), QString("Annuler"));
        QCOMPARE(save.LblType->text(), QString("Type :"));
        QCOMPARE(open.windowTitle(), QString("Parcourir"));
        QCOMPARE(open.CmdSelectOK->text(), QString("Ouvrir"));
        QCOMPARE(open.CmdQuitter->text(), QString("Quitter"));
        w->close();
    }

    void opensEverySampleThroughTheBrowser() {
        if (!samples::available()) QSKIP(samples::missingMessage());
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        const std::string samplesFolder = fs::canonical(samples::folder()).string();

        // Confirming with no file selected: the message, and the browser stays.
        script.parcourir = [samplesFolder](FrmParcourir& d) {
            QCOMPARE(d.windowTitle(), QString("Parcourir"));
            QCOMPARE(d.Dir1->setPath(QString::fromStdString(samplesFolder)), QString());
            d.CmdSelectOK->click();
            QVERIFY(!d.confirmed);
            d.CmdQuitter->click();
        };
        w->CmdOuvrir->click();
        QCOMPARE(prompt.shown.back().text, std::string("Veuillez sélectionner un fichier."));
        QCOMPARE(w->RichTxt1->text(), kNewProgram);
        QCOMPARE(script.saveTokShown, 0);  // an unchanged Document is replaced without a question

        // Every sample opens, tokenized functions included.
        int opened = 0;
        for (const fs::path& sample : samples::singleVariableFiles()) {
            const QString name = QString::fromStdString(sample.filename().string());
            const Shown before{w->nameField(), w->folderField(), w->RichTxt1->text()};
            const size_t messages = prompt.shown.size();
            const int questions = script.saveTokShown;
            if (matchesPattern(sample.filename().string(), kBrowserPattern)) {
                script.parcourir = pick(samplesFolder, name);
                w->ouvrir->trigger();
                QCOMPARE(script.saveTokShown, questions);
            } else {
                w->openRoutine(true, sample.string());
            }
            const Shown expected = expectedFor(sample);
            ++opened;
            QCOMPARE(prompt.shown.size(), messages);
            QCOMPARE(w->nameField(), expected.nameField);
            QCOMPARE(w->folderField(), expected.folder);
            QCOMPARE(w->RichTxt1->text(), expected.text);
            QVERIFY(fs::equivalent(w->document.path, sample));
            QVERIFY(w->enregistrer->isEnabled());
            // Opening, colouring included, is no change.
            QTRY_COMPARE(w->windowTitle(), "Korvane - " + name);
            QVERIFY(fs::is_empty(temp->path()));
        }
        QCOMPARE(opened, static_cast<int>(samples::singleVariableFiles().size()));

        // Cancelling the browser leaves the Document as it was.
        const std::string text = w->RichTxt1->text();
        script.parcourir = [](FrmParcourir& d) { d.CmdQuitter->click(); };
        w->CmdOuvrir->click();
        QCOMPARE(w->RichTxt1->text(), text);
        QVERIFY(!w->document.path.empty());
        w->close();
    }

    void startUpReopensTheLastFileThenTheCommandLine() {
        const std::string last = file("last.89p");
        const std::string given = file("given.89p");
        QCOMPARE(writeVariableFile(programFile("last()", "Disp 1"), last), std::string());
        QCOMPARE(writeVariableFile(programFile("given(x)", "Disp x"), given), std::string());
        {
            Settings(ini()).ecrireIni("Chemin", last);
            ScriptedPrompt prompt;
            DialogScript script;
            auto w = start(prompt, script);
            QCOMPARE(w->nameField(), std::string("last()"));
            QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 1\r\nEndPrgm"));
            QCOMPARE(w->windowTitle(), QString("Korvane - last.89p"));
            QVERIFY(prompt.shown.empty());
            w->close();
        }
        {
            ScriptedPrompt prompt;
            DialogScript script;
            auto w = start(prompt, script, given);
            QCOMPARE(w->nameField(), std::string("given(x)"));
            QCOMPARE(w->document.path, given);
            w->close();
            QCOMPARE(Settings(ini()).lireIni("Chemin"), given);
        }
        {
            Settings(ini()).ecrireIni("Chemin", "");
            ScriptedPrompt prompt;
            DialogScript script;
            auto w = start(prompt, script, file("notes.txt"));
            QCOMPARE(prompt.shown.size(), size_t(1));
            QCOMPARE(prompt.shown[0].text, std::string("Le fichier n'est pas un fichier ti89"));
            QCOMPARE(prompt.shown[0].icon, PromptIcon::Information);
            QCOMPARE(w->RichTxt1->text(), kNewProgram);
            QVERIFY(w->document.path.empty());
            w->close();
        }
        {
            const std::string capital = file("CAPS.89P");
            fs::copy_file(given, capital);
            ScriptedPrompt prompt;
            DialogScript script;
            auto w = start(prompt, script, "\"" + capital + "\"");
            QVERIFY(prompt.shown.empty());
            QCOMPARE(w->document.path, capital);
            QCOMPARE(w->nameField(), std::string("given(x)"));
            w->close();
        }
        {
            // A stored file that is gone: a message naming it, and the new Document.
            Settings(ini()).ecrireIni("Chemin", file("gone.89p"));
            ScriptedPrompt prompt;
            DialogScript script;
            auto w = start(prompt, script);
            QCOMPARE(prompt.shown.size(), size_t(1));
            QVERIFY(prompt.shown[0].text.find(file("gone.89p")) != std::string::npos);
            QCOMPARE(w->RichTxt1->text(), kNewProgram);
            w->close();
            QCOMPARE(Settings(ini()).lireIni("Chemin"), std::string());
        }
    }

    void noWorkIsLost() {
        const std::string path = file("keep.89p");
        QCOMPARE(writeVariableFile(programFile("keep()", "Disp 1"), path), std::string());
        const Bytes original = ScratchDir::read(path);
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        Settings(ini()).ecrireIni("Chemin", path);
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        QCOMPARE(w->document.path, path);

        // Over a read-only file: the message, the old file, the same path and Save item.
        w->RichTxt1->replaceRange(8, 0, "Disp 2\r\n");
        w->enregistrer->trigger();
        QCOMPARE(prompt.shown.size(), size_t(1));
        QVERIFY(prompt.shown[0].text.rfind("Impossible d'enregistrer le fichier\n" + path + "\n", 0) == 0);
        QCOMPARE(ScratchDir::read(path), original);
        QCOMPARE(w->document.path, path);
        QVERIFY(w->enregistrer->isEnabled());

        // A program that does not tokenize: the parser's line, nothing written.
        fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
        w->RichTxt1->replaceRange(8, 0, "For i,1\r\n");
        script.saveTok = [](FrmSaveTok& d) {
            d.Option1[0]->click();
            answerYes(d);
        };
        w->CmdSauver->click();
        QVERIFY(prompt.shown.back().text.find("ligne 3 :") != std::string::npos);
        QCOMPARE(ScratchDir::read(path), original);

        // Into a folder that vanished while the browser was open.
        const std::string gone = file("gone");
        fs::create_directory(gone);
        script.saveTok = answerYesNormal;
        script.enregistrer = [gone](FrmEnregistrer& d) {
            QCOMPARE(d.Dir1->setPath(QString::fromStdString(gone)), QString());
            fs::remove(gone);
            d.TxtNom->setText("x");
            d.CmdSelectOK->click();
        };
        w->enregistrerSous->trigger();
        QVERIFY(prompt.shown.back().text.rfind("Impossible d'enregistrer le fichier\n" + gone + "/x.89p\n", 0) == 0);
        QCOMPARE(w->document.path, path);

        // A damaged file: a message naming it, and the Document as it was.
        const std::string damaged = file("damaged.89p");
        ScratchDir::write(damaged, original.substr(0, 60));
        const std::string text = w->RichTxt1->text();
        script.saveTok = nullptr;
        script.parcourir = pick(folder(), "damaged.89p");
        w->ouvrir->trigger();
        QVERIFY(prompt.shown.back().text.find(damaged) != std::string::npos);
        QCOMPARE(prompt.shown.back().icon, PromptIcon::Error);
        QCOMPARE(w->RichTxt1->text(), text);
        QCOMPARE(w->nameField(), std::string("keep()"));
        QCOMPARE(w->document.path, path);

        // Quitting with a save that fails keeps the window and the text.
        fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        w->RichTxt1->setPlainText(std::string("\r\nPrgm\r\nDisp 3\r\nEndPrgm"));
        script.saveTok = answerYes;
        QVERIFY(!w->close());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 3\r\nEndPrgm"));
        script.saveTok = nullptr;
        QVERIFY(w->close());
        QCOMPARE(ScratchDir::read(path), original);
    }

    void droppedFilesOpenThroughTheOpenRoutine() {
        const std::string function = file("fn.89f");
        QCOMPARE(writeVariableFile({"fn(a)", "main", "\r\nFunc\r\nReturn a\r\nEndFunc", newDocumentHeader(),
                                    functionTrailer()},
                                   function),
                 std::string());
        const std::string program = file("prog.92p");
        QCOMPARE(saveProgramFile(programFile("prog()", "Disp 5"), program, true, Detokenizer()), std::string());
        const std::string tokenizedFunction = file("tfn.89f");
        QCOMPARE(saveProgramFile({"tfn()", "main", "\r\nFunc\r\nReturn 1\r\nEndFunc", newDocumentHeader(),
                                  functionTrailer()},
                                 tokenizedFunction, true, Detokenizer()),
                 std::string());
        ScratchDir::write(file("notes.txt"), "hello");

        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        sendDrop(w->RichTxt1->viewport(), QString::fromStdString(function));
        QTRY_COMPARE(w->document.path, function);
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nFunc\r\nReturn a\r\nEndFunc"));
        QCOMPARE(w->nameField(), std::string("fn(a)"));
        QCOMPARE(script.saveTokShown, 0);

        // On the window itself; the Document has unsaved changes, so the save question comes first.
        w->RichTxt1->replaceRange(8, 0, "Return 2\r\n");
        sendDrop(w.get(), QString::fromStdString(program));
        QTRY_COMPARE(w->document.path, program);
        QCOMPARE(script.saveTokShown, 1);
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nPrgm\r\nDisp 5\r\nEndPrgm"));

        // A tokenized function opens like a program.
        sendDrop(w->TxtNomFichier, QString::fromStdString(tokenizedFunction));
        QTRY_COMPARE(w->document.path, tokenizedFunction);
        QVERIFY(prompt.shown.empty());
        QCOMPARE(w->RichTxt1->text(), std::string("\r\nFunc\r\nReturn 1\r\nEndFunc"));

        sendDrop(w->RichTxt1->viewport(), QString::fromStdString(file("notes.txt")));
        QCoreApplication::processEvents();
        QCOMPARE(w->document.path, tokenizedFunction);
        w->close();
    }

    void shortcutsAndTitle() {
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QWidget* focus = w->RichTxt1;

        // Ctrl+S without a file: the tool button's question.
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(script.saveTokShown, 1);
        script.saveTok = answerYesNormal;
        script.enregistrer = saveAs(folder(), "raccourci");
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(w->document.path, file("raccourci.89p"));
        QCOMPARE(w->windowTitle(), QString("Korvane - raccourci.89p"));

        // Ctrl+S with a file: written at once.
        w->RichTxt1->replaceRange(8, 0, "Disp 7");
        QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(script.saveTokShown, 2);
        QCOMPARE(ScratchDir::read(file("raccourci.89p")),
                 buildVariableFile(programFile("nouveau()", "Disp 7")).bytes);

        QCOMPARE(w->windowTitle(), QString("Korvane - raccourci.89p"));

        // Typing marks the title, and Ctrl+O then asks first.
        w->activateWindow();  // the save-as browser was the active window
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        w->RichTxt1->setCaret(8);
        QTest::keyClick(focus, Qt::Key_X);
        QTRY_COMPARE(w->windowTitle(), QString("Korvane - raccourci.89p *"));
        script.saveTok = nullptr;
        script.parcourir = [](FrmParcourir& d) { d.CmdQuitter->click(); };
        QTest::keyClick(focus, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(script.parcourirShown, 1);
        QCOMPARE(script.saveTokShown, 3);

        // Undoing back to the saved text is no change: no "*", no question.
        w->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(w.get()));
        QTest::keyClick(focus, Qt::Key_Z, Qt::ControlModifier);
        QTRY_COMPARE(w->windowTitle(), QString("Korvane - raccourci.89p"));
        w->OpenChxPrgmFunc = false;  // no kind question
        QTest::keyClick(focus, Qt::Key_N, Qt::ControlModifier);
        QCOMPARE(script.saveTokShown, 3);
        QCOMPARE(w->RichTxt1->text(), kNewProgram);
        QCOMPARE(w->windowTitle(), QString("Korvane"));
        QVERIFY(!w->enregistrer->isEnabled());

        QTest::keyClick(focus, Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(script.saveTokShown, 3);
        QVERIFY(!w->isVisible());
        QCOMPARE(Settings(ini()).lireIni("Chemin"), std::string());
    }

    void typedProgramComesBackAfterARestart() {
        fs::remove(ini());  // a fresh settings file: first run
        const std::vector<std::string> statements = {"Local i", "For i,1,3", "Disp i", "EndFor"};
        {
            ScriptedPrompt prompt;
            DialogScript script;
            auto w = start(prompt, script);
            w->RichTxt1->setFocus();
            QCOMPARE(w->RichTxt1->caret(), 8);
            for (size_t i = 0; i < statements.size(); ++i) {
                if (i > 0) QTest::keyClick(w->RichTxt1, Qt::Key_Return);
                QTest::keyClicks(w->RichTxt1, QString::fromStdString(statements[i]));
            }
            script.saveTok = answerYes;
            script.enregistrer = saveAs(folder(), "boucle");
            w->CmdSauver->click();
            QVERIFY(isTokenizedFile(file("boucle.89p")));
            script.saveTok = nullptr;
            w->quitter->trigger();
        }
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        QVERIFY(prompt.shown.empty());
        QCOMPARE(w->document.path, file("boucle.89p"));
        const std::string printed = Detokenizer().ProgramText(file("boucle.89p")).value;
        QCOMPARE(w->RichTxt1->text(), normaliseLineBreaks(printed.substr(printed.find(')') + 1)));
        std::string expected = "\r\nPrgm";
        for (const auto& s : statements) expected += "\r\n" + s;
        QCOMPARE(w->RichTxt1->text(), expected + "\r\nEndPrgm");
        w->close();
    }

    void everySampleComesBackFromSaveAs_data() {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<bool>("tokenized");
        if (!samples::available()) QSKIP(samples::missingMessage());
        for (const fs::path& sample : samples::singleVariableFiles()) {
            const QString path = QString::fromStdString(sample.string());
            const std::string name = sample.filename().string();
            QTest::addRow("%s text", name.c_str()) << path << false;
            QTest::addRow("%s tokenized", name.c_str()) << path << true;
        }
    }

    // Opened, saved as in the chosen form, opened again: the same name, folder and text.
    void everySampleComesBackFromSaveAs() {
        QFETCH(QString, sample);
        QFETCH(bool, tokenized);
        ScriptedPrompt prompt;
        DialogScript script;
        auto w = start(prompt, script);
        w->openRoutine(true, sample.toStdString());
        QVERIFY2(prompt.shown.empty(), prompt.shown.empty() ? "" : prompt.shown[0].text.c_str());
        const Shown opened{w->nameField(), w->folderField(), w->RichTxt1->text()};

        script.saveTok = [tokenized](FrmSaveTok& d) {
            d.Option1[tokenized ? 0 : 1]->click();
            answerYes(d);
        };
        script.enregistrer = saveAs(folder(), "copie");
        w->enregistrerSous->trigger();
        QVERIFY2(prompt.shown.empty(), prompt.shown.empty() ? "" : prompt.shown[0].text.c_str());
        QCOMPARE(script.enregistrerShown, 1);
        const std::string copy = w->document.path;
        QCOMPARE(isTokenizedFile(copy), tokenized);

        w->RichTxt1->setPlainText(std::string(kNewProgram));
        w->openRoutine(true, copy);
        QVERIFY2(prompt.shown.empty(), prompt.shown.empty() ? "" : prompt.shown[0].text.c_str());
        QCOMPARE(w->document.path, copy);
        QCOMPARE(w->nameField(), opened.nameField);
        QCOMPARE(w->folderField(), opened.folder);
        QCOMPARE(w->RichTxt1->text(), opened.text);
        script.saveTok = nullptr;
        w->close();
    }
};

QTEST_MAIN(TestOpenSave)
#include "tst_opensave.moc"
