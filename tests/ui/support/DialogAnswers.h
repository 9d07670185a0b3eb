#pragma once
// Stand-ins for the modal loop of the main window's dialogs, for window tests.
#include <QDialog>
#include <QPushButton>

#include "files/ui/FrmSaveTok.h"

namespace korvane::test {

// Answers the save question "Non"; true when `dialog` was that question.
inline bool declineSaveQuestion(QDialog& dialog) {
    auto* question = qobject_cast<FrmSaveTok*>(&dialog);
    if (!question) return false;
    question->CmdStop->click();
    return true;
}

}  // namespace korvane::test
