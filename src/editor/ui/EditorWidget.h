#pragma once
// The editor control: a QPlainTextEdit that speaks the core's editor interface.
// The model text is calculator codes with CR LF breaks; the widget holds one
// UTF-16 unit per code (through the character table) and one block per line.
#include <QKeySequence>
#include <QPlainTextEdit>
#include <vector>

#include "editor/TextEditor.h"
#include "editor/TypingColour.h"
#include "editor/ui/VirtualKeys.h"

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
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
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
};

}  // namespace korvane
