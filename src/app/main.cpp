// The Korvane editor.
#include <QApplication>
#include <QDir>

#include "shell/IniStore.h"
#include "shell/ui/FrmP.h"
#include "shell/ui/QtPrompt.h"

int main(int argc, char** argv) {
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
    window.load(commandLine);
    return app.exec();
}
