#include "insert/ui/CommandMenuBuilder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "editor/CharTable.h"

namespace korvane {
namespace {

void addEntries(QMenu* menu, const std::vector<MenuEntry>& entries, const MenuEntryHandler& onEntry) {
    for (const MenuEntry& entry : entries) {
        if (entry.isSubmenu()) {
            QMenu* submenu = menu->addMenu(menuCaption(entry.caption));
            submenu->setObjectName(QString::fromStdString(entry.name));
            submenu->menuAction()->setObjectName(QString::fromStdString(entry.name));
            addEntries(submenu, entry.submenu, onEntry);
            continue;
        }
        QAction* action = menu->addAction(menuCaption(entry.caption));
        action->setObjectName(QString::fromStdString(entry.name));
        if (entry.index > 0) action->setData(entry.index);
        // The entries live as long as the program: the handler may keep the reference.
        QObject::connect(action, &QAction::triggered, action, [&entry, onEntry] {
            if (onEntry) onEntry(entry);
        });
    }
}

}  // namespace

QString menuCaption(const std::string& calc) {
    QString caption;
    caption.reserve(static_cast<qsizetype>(calc.size()));
    for (const char c : calc) {
        const QChar unit(unitOfCode(static_cast<unsigned char>(c)));
        if (unit == u'&') caption += u'&';
        caption += unit;
    }
    return caption;
}

std::vector<QMenu*> buildCommandMenus(QMenuBar* bar, QAction* before, const std::string& langue,
                                      MenuEntryHandler onEntry) {
    std::vector<QMenu*> built;
    for (const CommandMenu& source : commandMenus()) {
        auto* menu = new QMenu(menuCaption(commandMenuCaption(source, langue)), bar);
        menu->setObjectName(QString::fromStdString(source.name));
        menu->menuAction()->setObjectName(QString::fromStdString(source.name));
        addEntries(menu, source.entries, onEntry);
        bar->insertMenu(before, menu);
        built.push_back(menu);
    }
    return built;
}

void retitleCommandMenus(const std::vector<QMenu*>& menus, const std::string& langue) {
    const auto& sources = commandMenus();
    for (size_t i = 0; i < menus.size() && i < sources.size(); ++i) {
        if (menus[i]) menus[i]->setTitle(menuCaption(commandMenuCaption(sources[i], langue)));
    }
}

}  // namespace korvane
