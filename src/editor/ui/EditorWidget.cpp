#include "editor/ui/EditorWidget.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>
#include <QToolTip>
#include <algorithm>

#include "editor/CharTable.h"
#include "editor/Colouring.h"
#include "editor/WritingHelp.h"
#include "editor/ui/WritingHelpWidgets.h"

namespace korvane {
namespace {

constexpr char16_t kBlockSeparator = 0x2029;

QColor toQColor(Rgb c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

const QColor kErrorTint(255, 228, 228);
// The completion list matches on the one-unit-per-code spelling of its words.
constexpr int kMatchRole = Qt::UserRole + 1;

bool isInversePair(const QString& text, qsizetype i) {
    return text[i].unicode() == kInverseReadable[0] && i + 1 < text.size() &&
           text[i + 1].unicode() == kInverseReadable[1];
}

}  // namespace

EditorWidget::EditorWidget(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setWordWrapMode(QTextOption::NoWrap);
    // The specified colours on white, whatever the desktop theme.
    QPalette p = palette();
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::Text, Qt::black);
    setPalette(p);
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Symbola")});
    f.setStyleHint(QFont::TypeWriter);
    f.setPointSizeF(10);
    QPlainTextEdit::setFont(f);
    colours_.assign(document()->characterCount(), kBlack);
    connect(document(), &QTextDocument::contentsChange, this, &EditorWidget::onContentsChange);
    connect(this, &QPlainTextEdit::selectionChanged, this, [this] { selectionGuard_.handleSelectionChange(*this); });
}

QString EditorWidget::toDisplay(const std::string& calc) {
    QString out;
    out.reserve(static_cast<qsizetype>(calc.size()));
    for (size_t i = 0; i < calc.size(); ++i) {
        const char c = calc[i];
        // Only CR (CR LF) breaks a line; a line feed alone is a calculator character,
        // shown by its stand-in.
        if (c == '\r') {
            out += QChar(u'\n');
            if (i + 1 < calc.size() && calc[i + 1] == '\n') ++i;
        } else {
            out += QChar(unitOfCode(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

std::string EditorWidget::fromDisplay(const QString& shown) {
    std::string out;
    out.reserve(static_cast<size_t>(shown.size()) + static_cast<size_t>(shown.size()) / 16);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        const char16_t u = shown[i].unicode();
        if (u == kBlockSeparator || u == u'\n' || u == u'\r' || u == 0x2028) {
            out += "\r\n";
        } else if (isInversePair(shown, i)) {
            out += static_cast<char>(kInverseCode);
            ++i;
        } else if (auto code = codeOfTypedUnit(u)) {
            out += static_cast<char>(*code);
        }
    }
    return out;
}

QString EditorWidget::sanitized(const QString& incoming) {
    QString out;
    out.reserve(incoming.size());
    for (qsizetype i = 0; i < incoming.size(); ++i) {
        const char16_t u = incoming[i].unicode();
        if (u == u'\r' || u == u'\n' || u == kBlockSeparator || u == 0x2028) {
            out += QChar(u'\n');
            if (u == u'\r' && i + 1 < incoming.size() && incoming[i + 1] == u'\n') ++i;
        } else if (isInversePair(incoming, i)) {
            out += QChar(unitOfCode(kInverseCode));
            ++i;
        } else if (auto code = codeOfTypedUnit(u)) {
            out += QChar(unitOfCode(*code));
        }
    }
    return out;
}

QString EditorWidget::toReadable(const std::string& calc) { return QString::fromStdString(calcToUtf8(calc)); }

std::string EditorWidget::text() const {
    if (!textValid_) {
        cachedText_ = fromDisplay(document()->toRawText());
        textValid_ = true;
    }
    return cachedText_;
}

int EditorWidget::length() const {
    return document()->characterCount() - 1 + document()->blockCount() - 1;
}

int EditorWidget::toModel(int widgetPosition) const {
    const QTextBlock block = document()->findBlock(widgetPosition);
    return widgetPosition + (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

int EditorWidget::toWidget(int modelPosition) const {
    modelPosition = std::clamp(modelPosition, 0, length());
    // The block whose model start is the last one at or before the position.
    int lo = 0;
    int hi = document()->blockCount() - 1;
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (document()->findBlockByNumber(mid).position() + mid <= modelPosition) lo = mid;
        else hi = mid - 1;
    }
    const QTextBlock block = document()->findBlockByNumber(lo);
    const int offset = modelPosition - (block.position() + lo);
    // Between the CR and the LF of a break snaps to before the CR.
    return block.position() + std::min(offset, block.length() - 1);
}

int EditorWidget::selectionStart() const { return toModel(textCursor().selectionStart()); }

int EditorWidget::selectionLength() const {
    const QTextCursor c = textCursor();
    return toModel(c.selectionEnd()) - toModel(c.selectionStart());
}

void EditorWidget::setSelection(int start, int length) {
    QTextCursor c = textCursor();
    c.setPosition(toWidget(start));
    if (length > 0) c.setPosition(toWidget(start + length), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void EditorWidget::replaceRange(int start, int length, const std::string& text) {
    QTextCursor c = textCursor();
    c.setPosition(toWidget(start));
    c.setPosition(toWidget(start + std::max(length, 0)), QTextCursor::KeepAnchor);
    if (joinEdits_ && document()->isUndoAvailable()) c.joinPreviousEditBlock();
    else c.beginEditBlock();
    c.insertText(toDisplay(text));
    c.endEditBlock();
    // A rewrite after a typed key keeps the typing run going; any other edit ends it.
    if (!joinEdits_) typingEnd_ = -1;
    setTextCursor(c);
}

void EditorWidget::setPlainText(const std::string& text) {
    // New and Open recolour the whole text right after.
    colourEditedLines_ = false;
    QPlainTextEdit::setPlainText(toDisplay(text));
    colourEditedLines_ = true;
    // Qt clears the modified flag here; a new text is a change until its owner
    // says it is saved.
    document()->setModified(true);
    // A mark belongs to the text it was found in.
    setErrorMark(0, {});
}

std::vector<int> EditorWidget::toWidgetAscending(const std::vector<int>& modelPositions) const {
    std::vector<int> out;
    out.reserve(modelPositions.size());
    QTextBlock block = document()->firstBlock();
    int number = 0;
    for (int model : modelPositions) {
        for (QTextBlock next = block.next(); next.isValid() && next.position() + number + 1 <= model;
             next = block.next()) {
            block = next;
            ++number;
        }
        const int offset = model - (block.position() + number);
        out.push_back(block.position() + std::clamp(offset, 0, block.length() - 1));
    }
    return out;
}

void EditorWidget::applyColouring(const std::vector<TextRewrite>& rewrites, const std::vector<ColourRun>& runs) {
    bulkEdit_ = true;
    if (!rewrites.empty() && rewritesAllowed_) {
        // Same-length rewrites in one edit that joins the change which caused them,
        // so that one undo takes both back; the view does not scroll meanwhile.
        std::vector<int> bounds;
        bounds.reserve(rewrites.size() * 2);
        for (const auto& r : rewrites) {
            bounds.push_back(r.start);
            bounds.push_back(r.start + static_cast<int>(r.text.size()));
        }
        const std::vector<int> widget = toWidgetAscending(bounds);
        const int h = horizontalScrollBar()->value();
        const int v = verticalScrollBar()->value();
        const QTextCursor saved = textCursor();
        QTextCursor c(document());
        if (document()->isUndoAvailable()) c.joinPreviousEditBlock();
        else c.beginEditBlock();
        for (size_t i = 0; i < rewrites.size(); ++i) {
            c.setPosition(widget[2 * i]);
            c.setPosition(widget[2 * i + 1], QTextCursor::KeepAnchor);
            c.insertText(toDisplay(rewrites[i].text));
        }
        c.endEditBlock();
        shown_ = document()->toRawText();
        setTextCursor(saved);
        horizontalScrollBar()->setValue(h);
        verticalScrollBar()->setValue(v);
    }
    std::vector<int> bounds;
    bounds.reserve(runs.size() * 2);
    for (const auto& run : runs) {
        bounds.push_back(run.start);
        bounds.push_back(run.start + run.length);
    }
    const std::vector<int> widget = toWidgetAscending(bounds);
    const auto size = static_cast<int>(colours_.size());
    for (size_t i = 0; i < runs.size(); ++i)
        std::fill(colours_.begin() + std::min(widget[2 * i], size), colours_.begin() + std::min(widget[2 * i + 1], size),
                  runs[i].colour);
    bulkEdit_ = false;
    refreshFormats(0, document()->characterCount());
}

Rgb EditorWidget::colourAt(int position) const {
    const int w = toWidget(position);
    return w >= 0 && w < static_cast<int>(colours_.size()) ? colours_[w] : kBlack;
}

void EditorWidget::setColour(int start, int length, Rgb colour) {
    const int from = toWidget(start);
    const int to = toWidget(start + std::max(length, 0));
    std::fill(colours_.begin() + std::min<size_t>(from, colours_.size()),
              colours_.begin() + std::min<size_t>(to, colours_.size()), colour);
    refreshFormats(from, to);
}

// Every edit recolours the lines it touched, new text included: it needs no colour
// of its own.
void EditorWidget::setNewTextColour(Rgb) {}

int EditorWidget::lineOfPosition(int position) const {
    return document()->findBlock(toWidget(position)).blockNumber();
}

double EditorWidget::fontSize() const { return font().pointSizeF(); }

void EditorWidget::setFontSize(double points) {
    if (points <= 0) return;
    QFont f = font();
    f.setPointSizeF(points);
    QPlainTextEdit::setFont(f);
}

void EditorWidget::setFocus() { QPlainTextEdit::setFocus(Qt::OtherFocusReason); }

void EditorWidget::onContentsChange(int from, int removed, int added) {
    textValid_ = false;
    // The colouring's own same-length rewrites keep the colours; the text seen is
    // taken once when they are all done.
    if (bulkEdit_) return;
    // The document reports a range that may be wider than what changed (a format
    // change around an insertion counts too): narrow it against the text seen before,
    // so that colours outside the real change stay.
    // Only the reported range is read from the document; the rest of the text seen
    // before is still current.
    const int docLength = document()->characterCount() - 1;
    from = std::clamp(from, 0, static_cast<int>(shown_.size()));
    int oldEnd = std::clamp(from + removed, from, static_cast<int>(shown_.size()));
    const int reportedNewEnd = std::clamp(docLength - (static_cast<int>(shown_.size()) - oldEnd), from, docLength);
    // A large change (a new text) is read whole; a key's change character by character.
    QString segment;
    if (reportedNewEnd - from > 1024) {
        segment = document()->toRawText().mid(from, reportedNewEnd - from);
    } else {
        segment.reserve(reportedNewEnd - from);
        for (int i = from; i < reportedNewEnd; ++i) segment += document()->characterAt(i);
    }
    int newEnd = reportedNewEnd;
    int start = from;
    while (start < oldEnd && start < newEnd && shown_[start] == segment[start - from]) ++start;
    while (oldEnd > start && newEnd > start && shown_[oldEnd - 1] == segment[newEnd - 1 - from]) {
        --oldEnd;
        --newEnd;
    }
    shown_.replace(start, oldEnd - start, segment.mid(start - from, newEnd - start));
    from = start;
    removed = oldEnd - start;
    added = newEnd - start;
    const QString& now = shown_;

    const Rgb colour = from > 0 && now[from - 1] != QChar(kBlockSeparator) ? colours_[from - 1] : kBlack;
    if (removed == added) {
        std::fill(colours_.begin() + from, colours_.begin() + from + removed, colour);
    } else {
        colours_.erase(colours_.begin() + from, colours_.begin() + from + removed);
        colours_.insert(colours_.begin() + from, added, colour);
    }
    colours_.resize(now.size() + 1, kBlack);  // and the separator that ends the document
    // Colouring is line by line: the lines the change touched are all that may
    // colour differently now.
    if (colourEditedLines_) recolourLines(from, from + added);
    else refreshFormats(from, from + added);
}

void EditorWidget::recolourLines(int fromWidget, int toWidget) {
    QTextBlock block = document()->findBlock(std::max(fromWidget, 0));
    if (!block.isValid()) return;
    for (; block.isValid() && block.position() <= toWidget; block = block.next()) {
        const int start = block.position();
        const int size = static_cast<int>(colours_.size());
        for (const ColourRun& run : coloursOfLines(fromDisplay(block.text()))) {
            const int first = std::min(start + run.start, size);
            std::fill(colours_.begin() + first, colours_.begin() + std::min(first + run.length, size), run.colour);
        }
    }
    refreshFormats(fromWidget, toWidget);
}

void EditorWidget::refreshFormats(int fromWidget, int toWidget) {
    QTextBlock block = document()->findBlock(std::max(fromWidget, 0));
    if (!block.isValid()) block = document()->firstBlock();
    for (; block.isValid() && block.position() <= toWidget; block = block.next()) {
        QList<QTextLayout::FormatRange> ranges;
        const int start = block.position();
        const int len = block.length() - 1;
        for (int i = 0; i < len;) {
            const Rgb c = colours_[start + i];
            int j = i + 1;
            while (j < len && colours_[start + j] == c) ++j;
            if (c != kBlack) {
                QTextLayout::FormatRange range;
                range.start = i;
                range.length = j - i;
                range.format.setForeground(toQColor(c));
                ranges.append(range);
            }
            i = j;
        }
        if (QTextLayout* layout = block.layout(); layout && (!ranges.isEmpty() || !layout->formats().isEmpty()))
            layout->setFormats(ranges);
    }
    viewport()->update();
}

void EditorWidget::keyPressEvent(QKeyEvent* event) {
    const bool completing = completer_ && completer_->popup()->isVisible();
    if (completing) {
        switch (event->key()) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Escape:
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
                // The completion list takes them.
                event->ignore();
                return;
            default: break;
        }
    }
    editKey(event);
    if (completing) followCompletion();
}

void EditorWidget::editKey(QKeyEvent* event) {
    static const std::pair<QKeySequence::StandardKey, EditorCommand> commands[] = {
        {QKeySequence::Cut, EditorCommand::Cut},         {QKeySequence::Copy, EditorCommand::Copy},
        {QKeySequence::Paste, EditorCommand::Paste},     {QKeySequence::SelectAll, EditorCommand::SelectAll},
        {QKeySequence::Undo, EditorCommand::Undo},       {QKeySequence::Redo, EditorCommand::Redo},
        {QKeySequence::Find, EditorCommand::Find}};
    for (const auto& [key, command] : commands) {
        if (event->matches(key) || (command == EditorCommand::Redo && event->key() == Qt::Key_Y &&
                                    event->modifiers() == Qt::ControlModifier)) {
            keys_.pressed(*event);
            emit commandRequested(command);
            event->accept();
            return;
        }
    }

    const int code = keys_.pressed(*event);
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    const bool hasText = !typed.isEmpty() && typed.front().unicode() >= 0x20 && typed.front().unicode() != 0x7F;
    const bool printable = plain && hasText;
    // Return with a modifier still breaks the line, through the same rules.
    const bool lineBreak = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const QKeySequence::StandardKey reaches[] = {QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
                                                 QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine};
    const auto reach = std::find_if(std::begin(reaches), std::end(reaches), [&](auto k) { return event->matches(k); });
    const bool deletes = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete || reach != std::end(reaches);
    if (!printable && hasText) {
        // Alt or Meta with a letter types nothing: the key is left to the menus.
        event->ignore();
        return;
    }
    if (lineBreak && openFirstBodyLine(*this)) {
        typingEnd_ = -1;
        event->accept();
        return;
    }
    if (printable || lineBreak || deletes || event->key() == Qt::Key_Tab) {
        const PressEffect guard = guardEditingKey(*this, deletes);
        if (guard != PressEffect::Proceed) {
            typingEnd_ = -1;
            event->accept();
            if (guard == PressEffect::FocusNameField) emit nameFieldWanted();
            return;
        }
    }
    if (handleKeyPress(*this, code) == PressEffect::ReplaceWithHome) {
        QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
        QPlainTextEdit::keyPressEvent(&home);
        return;
    }
    if (reach != std::end(reaches)) {
        deleteReach(*reach);
        event->accept();
        return;
    }
    if (printable || lineBreak || event->key() == Qt::Key_Tab) {
        const QString kept = lineBreak ? QStringLiteral("\n")
                                       : sanitized(event->key() == Qt::Key_Tab ? QStringLiteral("\t") : typed);
        if (!kept.isEmpty()) typeText(kept);
        event->accept();
        return;
    }
    typingEnd_ = -1;
    QPlainTextEdit::keyPressEvent(event);
}

void EditorWidget::deleteReach(QKeySequence::StandardKey key) {
    QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        switch (key) {
            case QKeySequence::DeleteStartOfWord: c.movePosition(QTextCursor::PreviousWord, QTextCursor::KeepAnchor); break;
            case QKeySequence::DeleteEndOfWord: c.movePosition(QTextCursor::NextWord, QTextCursor::KeepAnchor); break;
            case QKeySequence::DeleteCompleteLine:
                c.movePosition(QTextCursor::StartOfBlock);
                c.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
                break;
            default:
                c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
                if (!c.hasSelection()) c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
                break;
        }
    }
    typingEnd_ = -1;
    deleteWithinBody(*this, toModel(c.selectionStart()), toModel(c.selectionEnd()));
}

void EditorWidget::typeText(const QString& text) {
    QTextCursor c = textCursor();
    if (typingEnd_ == c.position() && !c.hasSelection() && document()->isUndoAvailable()) c.joinPreviousEditBlock();
    else c.beginEditBlock();
    c.insertText(text);
    c.endEditBlock();
    setTextCursor(c);
    ensureCursorVisible();
    typingEnd_ = c.position();
    if (!digraphs_ || text.size() != 1 || (text[0] != u'>' && text[0] != u'=')) return;
    const QTextBlock block = c.block();
    const int inBlock = c.position() - block.position();
    const auto digraph = digraphBefore(fromDisplay(block.text().left(inBlock)), inBlock);
    if (!digraph) return;
    // An edit of its own after the typing, so that Undo takes back only this.
    c.setPosition(block.position() + digraph->start);
    c.setPosition(block.position() + inBlock, QTextCursor::KeepAnchor);
    c.beginEditBlock();
    c.insertText(QString(QChar(unitOfCode(digraph->code))));
    c.endEditBlock();
    setTextCursor(c);
    typingEnd_ = -1;
}

void EditorWidget::keyReleaseEvent(QKeyEvent* event) {
    const int code = keys_.released(*event);
    QPlainTextEdit::keyReleaseEvent(event);
    if (event->isAutoRepeat()) return;
    // A keyword rewritten after a typed key is undone together with that key.
    joinEdits_ = true;
    const ReleaseEffect effect = handleKeyRelease(*this, code);
    joinEdits_ = false;
    // The line scan's colours give way to the full colouring's, line and line left.
    if (isColouringTrigger(code)) {
        const QTextBlock current = textCursor().block();
        const QTextBlock left = current.previous().isValid() ? current.previous() : current;
        recolourLines(left.position(), current.position());
    }
    if (effect == ReleaseEffect::FocusNameField) emit nameFieldWanted();
}

void EditorWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    handleDoubleClick(*this);
}

void EditorWidget::dropEvent(QDropEvent* event) {
    // A drop copies: moving text out by drag would cut it outside the Cut rules.
    if (event->dropAction() == Qt::MoveAction) event->setDropAction(Qt::CopyAction);
    QPlainTextEdit::dropEvent(event);
}

QMimeData* EditorWidget::createMimeDataFromSelection() const {
    auto* data = new QMimeData;
    // Through the calculator's codes: line breaks as "\n", the inverse mark as ⁻¹.
    data->setText(toReadable(fromDisplay(textCursor().selectedText())));
    return data;
}

void EditorWidget::inputMethodEvent(QInputMethodEvent* event) {
    if (!event->commitString().isEmpty()) {
        QInputMethodEvent filtered(event->preeditString(), event->attributes());
        filtered.setCommitString(sanitized(event->commitString()), event->replacementStart(),
                                 event->replacementLength());
        QPlainTextEdit::inputMethodEvent(&filtered);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
}

bool EditorWidget::canInsertFromMimeData(const QMimeData* source) const { return source && source->hasText(); }

void EditorWidget::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) return;
    emit pasteRequested(fromDisplay(sanitized(source->text())));
}

}  // namespace korvane

namespace korvane {

void EditorWidget::setErrorMark(int line, const QString& message) {
    QList<QTextEdit::ExtraSelection> marks;
    errorMark_ = QTextCursor();
    errorMessage_.clear();
    const QTextBlock block = document()->findBlockByNumber(line - 1);
    if (line > 0 && block.isValid()) {
        QTextEdit::ExtraSelection tint;
        tint.cursor = QTextCursor(block);
        tint.format.setBackground(kErrorTint);
        tint.format.setProperty(QTextFormat::FullWidthSelection, true);
        // Underline only: the colouring's foreground stays as it is.
        QTextEdit::ExtraSelection wave;
        wave.cursor = QTextCursor(block);
        wave.cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        wave.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        wave.format.setUnderlineColor(Qt::red);
        marks << tint << wave;
        errorMark_ = tint.cursor;
        errorMessage_ = message;
    }
    setExtraSelections(marks);
}

int EditorWidget::errorMarkLine() const { return errorMark_.isNull() ? 0 : errorMark_.blockNumber() + 1; }

bool EditorWidget::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QPlainTextEdit::viewportEvent(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QTextBlock marked = errorMark_.isNull() ? QTextBlock() : errorMark_.block();
    if (marked.isValid() && blockBoundingGeometry(marked).translated(contentOffset()).contains(QPointF(1, help->pos().y())))
        QToolTip::showText(help->globalPos(), errorMessage_, viewport());
    else
        QToolTip::hideText();
    return true;
}

void EditorWidget::offerCompletions(const std::vector<CompletionItem>& items, int start) {
    if (!completer_) {
        completions_ = new QStandardItemModel(this);
        completer_ = new QCompleter(completions_, this);
        completer_->setWidget(this);
        completer_->setCompletionMode(QCompleter::PopupCompletion);
        completer_->setCaseSensitivity(Qt::CaseInsensitive);
        completer_->setCompletionRole(kMatchRole);
        completer_->setMaxVisibleItems(10);
        completer_->popup()->setObjectName(QStringLiteral("LstCompletion"));
        announceChosenItems(*completer_->popup());
        connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this, &EditorWidget::takeCompletion);
    }
    completions_->clear();
    for (const CompletionItem& item : items) {
        auto* row = new QStandardItem(toReadable(item.word));
        row->setData(QByteArray::fromStdString(item.word), Qt::UserRole);
        row->setData(toDisplay(item.word), kMatchRole);
        row->setToolTip(item.tip);
        row->setEditable(false);
        completions_->appendRow(row);
    }
    completionStart_ = toWidget(start);
    followCompletion();
}

void EditorWidget::followCompletion() {
    const QTextCursor c = textCursor();
    const QTextBlock block = document()->findBlock(std::max(completionStart_, 0));
    QString prefix;
    bool open = completer_ && completionStart_ >= 0 && !c.hasSelection() && c.block() == block &&
                c.position() >= completionStart_;
    if (open) {
        prefix = block.text().mid(completionStart_ - block.position(), c.position() - completionStart_);
        for (const QChar ch : prefix) {
            const auto code = codeOfUnit(ch.unicode());
            if (!code || !isWordCode(*code)) open = false;
        }
    }
    if (open) {
        completer_->setCompletionPrefix(prefix);
        open = completer_->completionCount() > 0;
    }
    if (!open) {
        if (completer_) completer_->popup()->hide();
        completionStart_ = -1;
        return;
    }
    QAbstractItemView* list = completer_->popup();
    QTextCursor wordStart(document());
    wordStart.setPosition(completionStart_);
    QRect at = cursorRect(wordStart);
    at.setWidth(list->sizeHintForColumn(0) + list->verticalScrollBar()->sizeHint().width() + 8);
    completer_->complete(at);
    list->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void EditorWidget::takeCompletion(const QModelIndex& index) {
    if (completionStart_ < 0) return;
    const std::string word = index.data(Qt::UserRole).toByteArray().toStdString();
    const int from = toModel(completionStart_);
    const int to = toModel(textCursor().position());
    completionStart_ = -1;
    if (word.empty() || to < from) return;
    replaceRange(from, to - from, word);
    setCaret(from + static_cast<int>(word.size()));
}

void EditorWidget::paintEvent(QPaintEvent* event) {
    QPlainTextEdit::paintEvent(event);
    paintInverseMarks(event);
}

void EditorWidget::paintInverseMarks(QPaintEvent* event) {
    const QChar inverse(unitOfCode(kInverseCode));
    QPainterPath glyphs;
    QPainter painter(viewport());
    const QTextCursor cursor = textCursor();
    const QPointF offset = contentOffset();
    const int marked = errorMark_.isNull() ? -1 : errorMark_.blockNumber();
    for (QTextBlock block = firstVisibleBlock(); block.isValid(); block = block.next()) {
        const QRectF box = blockBoundingGeometry(block).translated(offset);
        if (box.top() > event->rect().bottom()) break;
        const QString text = block.text();
        for (qsizetype i = text.indexOf(inverse); i >= 0; i = text.indexOf(inverse, i + 1)) {
            const QTextLine line = block.layout()->lineForTextPosition(static_cast<int>(i));
            if (!line.isValid()) continue;
            const int at = block.position() + static_cast<int>(i);
            const qreal left = box.left() + line.cursorToX(static_cast<int>(i));
            const qreal width = box.left() + line.cursorToX(static_cast<int>(i) + 1) - left;
            const qreal baseline = box.top() + line.y() + line.ascent();
            const bool selected = at >= cursor.selectionStart() && at < cursor.selectionEnd();
            const QColor back = selected ? palette().color(QPalette::Highlight)
                                : block.blockNumber() == marked ? kErrorTint
                                                                : palette().color(QPalette::Base);
            const QColor ink = selected ? palette().color(QPalette::HighlightedText)
                               : at < static_cast<int>(colours_.size()) ? toQColor(colours_[at])
                                                                        : palette().color(QPalette::Text);
            // The unit's own glyph (an acute accent) lies above the baseline; the
            // caret's line at the cell's left edge stays.
            painter.fillRect(QRectF(left + 1, box.top() + line.y(), width - 1, line.ascent()), back);
            if (glyphs.isEmpty()) glyphs.addText(0, 0, font(), QString::fromUtf16(kInverseReadable, 2));
            const QRectF ink0 = glyphs.boundingRect();
            const qreal scale = std::min<qreal>(1.0, (width - 1) / std::max<qreal>(ink0.width(), 1));
            QTransform place;
            place.translate(left + width / 2, baseline);
            place.scale(scale, 1);
            place.translate(-ink0.center().x(), 0);
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.fillPath(place.map(glyphs), ink);
            painter.restore();
        }
    }
}

}  // namespace korvane
