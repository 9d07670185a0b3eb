#pragma once
// The main window of the link's window tests: a first run's settings file (plus
// `extra` keys) that names a TI-89 on the cable "TiEmu", where the simulated
// calculator answers; closed without saving when the test ends.
#include <QTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/ui/FrmSaveTok.h"
#include "shell/ui/FrmP.h"
#include "support/ScratchDir.h"
#include "ui/support/ModalScript.h"

namespace korvane::test {

// Opens `w` in a new scratch folder `dir`; false when it never became the active window.
inline bool openOnVirtualCable(std::unique_ptr<ScratchDir>& dir, ScriptedPrompt& prompt, std::unique_ptr<FrmP>& w,
                               const std::vector<std::pair<std::string, std::string>>& extra = {}) {
    dir = std::make_unique<ScratchDir>();
    const std::string ini = dir->file("Korvane.INI");
    Settings settings(ini);
    settings.ecrireIni("FirstLoad", "faux");
    settings.ecrireIni("Cable", "tiemu");
    settings.ecrireIni("Calc", "ti89");
    for (const auto& [key, value] : extra) settings.ecrireIni(key, value);
    prompt.shown.clear();
    w = std::make_unique<FrmP>(Settings(ini), prompt);
    w->temporaryFolder = dir->path().string();
    w->load("");
    w->activateWindow();
    return QTest::qWaitForWindowActive(w.get());
}

// Closes `w`, answering "Non" at the save question, so that nothing is written.
inline void closeWithoutSaving(std::unique_ptr<ScratchDir>& dir, std::unique_ptr<FrmP>& w) {
    ModalScript script;
    script.then<FrmSaveTok>([](FrmSaveTok& d) { QTest::mouseClick(d.CmdStop, Qt::LeftButton); });
    w->close();
    w.reset();
    dir.reset();
}

}  // namespace korvane::test
