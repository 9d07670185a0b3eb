// The main window's File menu entry Print and its dialog, which stays open beside
// the main window without blocking it.
#include <QAction>
#include <QMenu>

#include "editor/ui/EditorWidget.h"
#include "editor/ui/FrmImprime.h"
#include "shell/ui/FrmP.h"

namespace korvane {

void FrmP::buildPrintControls() {
    imprimer = new QAction(this);
    imprimer->setObjectName(QStringLiteral("imprimer"));
    imprimer->setShortcut(QKeySequence::Print);
    // Print comes last before the separator above Quit.
    const QList<QAction*> items = fichier->actions();
    const qsizetype quit = items.indexOf(quitter);
    fichier->insertAction(quit > 0 && items[quit - 1]->isSeparator() ? items[quit - 1] : quitter, imprimer);
    connect(imprimer, &QAction::triggered, this, &FrmP::imprimer_Click);
}

void FrmP::imprimer_Click() {
    if (!printWindow)
        printWindow = new FrmImprime([this] { return RichTxt1->text(); }, [this] { return Langue; }, prompt_, this);
    printWindow->show();
    printWindow->raise();
    printWindow->activateWindow();
}

}  // namespace korvane
