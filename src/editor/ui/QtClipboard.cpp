#include "editor/ui/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "editor/ui/EditorWidget.h"

namespace korvane {

std::optional<std::string> QtClipboard::text() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) return std::nullopt;
    return EditorWidget::fromDisplay(data->text());
}

void QtClipboard::clear() { QGuiApplication::clipboard()->clear(); }

// Other programs read code 180 as ⁻¹; pasted back, the pair is the one code again.
void QtClipboard::setText(const std::string& text) { QGuiApplication::clipboard()->setText(EditorWidget::toReadable(text)); }

}  // namespace korvane
