// The Korvane editor.
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>

#include "shell/IniStore.h"
#include "shell/Languages.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/QtPrompt.h"

namespace {

const char* const kHelp =
    "usage: korvane [FILE]\n"
    "\n"
    "Korvane, an editor of TI-BASIC programs and functions for the TI-89, TI-92 Plus and\n"
    "Voyage 200 calculators. FILE, a program of the calculator (.89p or .92p), is opened\n"
    "after the file of the last session.\n"
    "\n"
    "  --help     this text\n"
    "  --version  the version\n"
    "\n"
    "The settings are kept in Korvane.INI beside the program when that folder is writable,\n"
    "otherwise in $XDG_CONFIG_HOME/korvane/; KORVANE_INI names another file.\n"
    "Unsaved work is copied to $XDG_STATE_HOME/korvane/ (by default ~/.local/state/korvane/)\n"
    "until it is saved, and offered back by the next start if Korvane did not close normally.\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window or display is needed.
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kHelp, stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Korvane %s\n", korvane::versionNumber().c_str());
        return 0;
    }
    // Docking the tool windows places top-level windows, which Wayland forbids:
    // prefer X11 (also under XWayland) unless a platform was chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));

    // The command line is one text: several arguments name one path.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }

    korvane::QtPrompt prompt;
    korvane::FrmP window(korvane::Settings(korvane::locateCheminIni(QApplication::applicationDirPath().toStdString())),
                         prompt);
    prompt.setParent(&window);
    // Unsaved work survives a crash in $XDG_STATE_HOME/korvane/.
    window.recoveryFolder = korvane::defaultRecoveryFolder();
    window.load(commandLine);
    return app.exec();
}
