#pragma once
// The editor control: a QPlainTextEdit that speaks the core's editor interface.
// The model text is calculator codes with CR LF breaks; the widget holds one
// UTF-16 unit per code (through the character table) and one block per line.
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <vector>

#include "editor/TextEditor.h"
#include "editor/TypingColour.h"
#include "editor/ui/VirtualKeys.h"

class QCompleter;
class QModelIndex;
class QStandardItemModel;

namespace korvane {

// The editing commands that the editor's own keys and mouse ask the main window
// to run, so that they follow the same rules as the Edit menu.
enum class EditorCommand { Cut, Copy, Paste, SelectAll, Undo, Redo, Find };

class EditorWidget : public QPlainTextEdit, public TextEditor {
    Q_OBJECT
public:
    explicit EditorWidget(QWidget* parent = nullptr);

    std::string text() const override;
    int length() const override;
    int selectionStart() const override;
    int selectionLength() const override;
    void setSelection(int start, int length) override;
    void replaceRange(int start, int length, const std::string& text) override;
    void setPlainText(const std::string& text) override;
    void applyColouring(const std::vector<TextRewrite>& rewrites, const std::vector<ColourRun>& runs) override;
    Rgb colourAt(int position) const override;
    void setColour(int start, int length, Rgb colour) override;
    void setNewTextColour(Rgb colour) override;
    int lineOfPosition(int position) const override;
    double fontSize() const override;
    void setFontSize(double points) override;
    void setFocus() override;

    // Position conversions between the model (CR LF counts two) and the widget.
    int toWidget(int modelPosition) const;
    int toModel(int widgetPosition) const;

    // Calculator text as the widget shows it, and back. Units outside the
    // character table take their plain stand-in or are dropped.
    static QString toDisplay(const std::string& calc);
    static std::string fromDisplay(const QString& shown);
    // Incoming text (typing, paste, drop) reduced to units the table knows.
    static QString sanitized(const QString& incoming);
    // Calculator text for a list or the clipboard: as toDisplay, but code 180 reads
    // ⁻¹ (two units), which fromDisplay and sanitized read back as the one code.
    static QString toReadable(const std::string& calc);

    // Typed in code or in a comment, -> >= <= /= != become → ≥ ≤ ≠ in an edit of
    // their own, so that one Undo gives the two typed characters back.
    void setDigraphsEnabled(bool on) { digraphs_ = on; }
    bool digraphsEnabled() const { return digraphs_; }

    // The line of the live syntax check's first error (1-based, as the check counts;
    // 0 clears): a tint and a wavy red underline over the colouring, `message` as the
    // tooltip over that line. The mark follows its line through edits.
    void setErrorMark(int line, const QString& message);
    int errorMarkLine() const;
    QString errorMarkMessage() const { return errorMessage_; }

    // A popup list of words for the word from model position `start` to the caret;
    // typing on narrows it, Return or a click replaces that word with the chosen one.
    struct CompletionItem {
        std::string word;  // calculator codes
        QString tip;
    };
    void offerCompletions(const std::vector<CompletionItem>& items, int start);
    QCompleter* completer() const { return completer_; }

    // While false, the colouring sets colours only and rewrites no text (after an
    // undo or a redo, where a rewrite would be a new edit and wipe the redo stack).
    void setRewritesAllowed(bool allowed) { rewritesAllowed_ = allowed; }

signals:
    void commandRequested(korvane::EditorCommand command);
    // Text brought in by a middle click or a drop, in calculator codes, to be pasted
    // by the Paste rules.
    void pasteRequested(const std::string& text);
    // The caret was in the opening lines: the name field takes the focus.
    void nameFieldWanted();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void editKey(QKeyEvent* event);
    // Narrows the completion list to the word typed so far, or closes it when the
    // caret left that word.
    void followCompletion();
    void takeCompletion(const QModelIndex& index);
    // Code 180's unit is drawn as ⁻¹, squeezed into its one character cell.
    void paintInverseMarks(QPaintEvent* event);
    void onContentsChange(int from, int removed, int added);
    void refreshFormats(int fromWidget, int toWidget);
    // Gives the lines from the one holding `fromWidget` to the one holding
    // `toWidget` the full colouring's colours.
    void recolourLines(int fromWidget, int toWidget);
    // A key that deletes a word or a line deletes what it reaches inside the body.
    void deleteReach(QKeySequence::StandardKey key);
    // Inserts typed text; a run of typing at one place is one undo step.
    void typeText(const QString& text);
    // Widget positions of ascending model positions, found in one walk over the blocks.
    std::vector<int> toWidgetAscending(const std::vector<int>& modelPositions) const;

    std::vector<Rgb> colours_;  // one per widget character, block separators included
    QString shown_;             // the widget text as of the last change seen
    mutable std::string cachedText_;
    mutable bool textValid_ = false;
    VirtualKeyTracker keys_;
    SelectionGuard selectionGuard_;
    bool joinEdits_ = false;       // edits made while a key is handled join the key's edit
    int typingEnd_ = -1;           // where the current run of typing ends, -1 for none
    bool rewritesAllowed_ = true;
    bool colourEditedLines_ = true;
    bool bulkEdit_ = false;  // many edits at once: formats are refreshed once at the end
    bool digraphs_ = true;
    QTextCursor errorMark_;  // at the marked line while there is one
    QString errorMessage_;
    QCompleter* completer_ = nullptr;
    QStandardItemModel* completions_ = nullptr;
    int completionStart_ = -1;  // widget position where the completed word begins
};

}  // namespace korvane
