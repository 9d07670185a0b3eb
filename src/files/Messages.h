#pragma once
// What the core tells the user, in English and in French: the tokenizer's errors,
// the refusals of the file readers and writers, and the fixed messages the windows
// show. One row per message; its variable parts are numbered %1, %2... so that
// each language puts them where its sentence needs them. A fragment used inside
// other messages ("the end of the line") is a row of its own.
#include <concepts>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace korvane {

enum class MessageLanguage { English, French };

// The language of every message built from then on, for the whole process. English
// until the windows apply the interface's language, so that korvane-tool and
// scripts reading its output get the same texts whatever the settings say.
void setMessageLanguage(MessageLanguage language);
MessageLanguage messageLanguage();

enum class MessageId {
    // The tokenizer.
    AtLine,
    TheEndOfTheLine,
    TheEndOfTheStatement,
    TheCommand,
    NestsTooDeeply,
    ExpectedExpression,
    ExpectedClosingParenthesis,
    ExpectedEqualsAfterName,
    ExpectedMatrixClose,
    ExpectedSeparatorOrClose,
    ExpectedCommaOrCloseIn,
    ExpectedMatrixSeparator,
    NameTooLong,
    SubscriptIndices,
    ExpectedExponentDigits,
    NumberOutOfRange,
    UnclosedString,
    ExpectedArbitraryConstant,
    WrongArgumentCount,
    NothingAfterEndFunc,
    NothingAfterEndPrgm,
    ExpectedColonOrEndOfLine,
    ExpectedAtTheEnd,
    IfWithoutEndIf,
    TryWithoutEndTry,
    LoopWithoutEnd,
    FuncWithoutEndFunc,
    PrgmWithoutEndPrgm,
    ThenWithoutIf,
    OnlyAfterDefine,
    ExpectedFound,
    DoesNotCloseDefinition,
    EndWithout,
    DoesNotCloseLoop,
    OutsideLoop,
    ExpectedLocalName,
    TakesNoArguments,
    ExpectedNameAfterDefine,
    DefinitionNeedsParentheses,
    BlocksTooDeep,
    ExpectedArgumentList,
    NotParameterName,
    ParameterTwice,
    TooManyParameters,
    EndsBeforeEnd,
    ExpectedPrgmOrFunc,
    NulCharacter,
    TokenizedTooLong,
    IntegerTooLarge,
    LoopTooLong,
    // The variable file and its fields.
    HeaderNot88Bytes,
    TrailerNot12Bytes,
    NoName,
    NameRule,
    InvalidVariableName,
    InvalidFolderName,
    ProgramTooLong,
    TooShortForVariableFile,
    NoTextProgram,
    IsAFolder,
    CouldNotBeRead,
    FolderOfThatName,
    // The variable table.
    TooShortForCalculatorFile,
    UnknownSignature,
    NoVariableInTable,
    TableRunsPastEnd,
    SizeRunsPastEnd,
    TheEntry,
    EntryOutsideFile,
    EntryRunsPastEnd,
    OnlyFolderEntries,
    NoProgramNamed,
    NoProgramOrFunction,
    ChooseWithVar,
    // The link software's text export.
    NotLinkText,
    EndsBeforeStop,
    NoProgramBeforeStop,
    NoCalculatorCode,
    // Opening and saving.
    TemporaryFileFailed,
    FileTooLarge,
    NotTi89File,
    DetokenizationFailed,
    SelectFile,
    EnterName,
    ReplaceQuestion,
    SaveFailed,
    OpenFailed,
    FolderOpenFailed,
    FileDoesNotExist,
    ChangedOnDiskReplace,
    ChangedOnDiskReload,
    CatalogueUnreadable,
    FirstRun,
    // The recovery copy of unsaved work.
    RecoveryOffer,
    RecoveryDamaged,
    RecoveryWriteFailed,
    // What the calculator would only say when the program runs.
    LabelNotDefined,
    LabelDefinedTwice,
    LocalNeverUsed,
    Count
};

struct MessageRow {
    MessageId id;
    std::string_view english;  // UTF-8
    std::string_view french;   // UTF-8; beyond ASCII only letters that the calculator has too
};

// Every row, in the order of MessageId.
std::span<const MessageRow> messageTable();

// The text of a row in `language`, placeholders as they stand.
std::string_view messageTemplate(MessageId id, MessageLanguage language);

// One variable part of a message: a text, or a number written in decimal.
class MessageArg {
public:
    MessageArg(std::string_view text) : text_(text) {}
    MessageArg(const std::string& text) : text_(text) {}
    MessageArg(const char* text) : text_(text) {}
    template <std::integral N>
        requires(!std::same_as<N, char> && !std::same_as<N, bool>)
    MessageArg(N number) : text_(std::to_string(number)) {}
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// The message in the current language, %1... replaced by `args`, in UTF-8: for
// texts the windows show as they are.
std::string message(MessageId id, std::initializer_list<MessageArg> args = {});

// The same in calculator codes, for the reasons that quote program text or names
// (themselves calculator codes): the tokenizer's errors and the readers' refusals.
// The windows show them through the calculator's character table.
std::string calcMessage(MessageId id, std::initializer_list<MessageArg> args = {});

// "line N: what" in the current language, in calculator codes.
std::string atLine(int line, const std::string& what);

// The line that a message built by atLine names, in either language (a message may
// be read after the language changed); 0 when it names none. `what` receives the
// message without its line.
int lineOfMessage(std::string_view text, std::string* what = nullptr);

}  // namespace korvane
