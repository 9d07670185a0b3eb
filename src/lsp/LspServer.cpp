#include "lsp/LspServer.h"

#include <nlohmann/json.hpp>

#include "editor/CharTable.h"
#include "editor/Indent.h"

namespace korvane {

using json = nlohmann::json;

namespace {

// JSON-RPC and LSP error codes.
constexpr int kParseError = -32700;
constexpr int kInvalidRequest = -32600;
constexpr int kMethodNotFound = -32601;
constexpr int kInvalidParams = -32602;
constexpr int kServerNotInitialized = -32002;
constexpr int kRequestFailed = -32803;

// LSP's kinds.
constexpr int kSymbolFunction = 12, kSymbolVariable = 13, kSymbolKey = 20;
constexpr int kCompletionFunction = 3, kCompletionKeyword = 14, kCompletionVariable = 6;

struct RequestError {
    int code;
    std::string message;
};

json position(const TextPosition& p) { return {{"line", p.line}, {"character", p.character}}; }
json range(const TextRange& r) { return {{"start", position(r.start)}, {"end", position(r.end)}}; }

std::string utf8(std::string_view codes) { return calcToUtf8(std::string(codes)); }

// The deepest nesting of arrays and objects in a JSON text, strings left out. Parsing,
// copying and freeing a value recurse as deep as it nests, so a message nested past
// what LSP ever sends is refused before it is parsed.
constexpr int kMaxNesting = 64;
int nestingOf(std::string_view text) {
    int depth = 0, deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

}  // namespace

// The answers, with the server's state.
struct LspRequests {
    LspServer& server;
    std::vector<std::string>& out;

    bool french() const { return server.language_ == MessageLanguage::French; }

    const ProgramDocument& document(const json& params) {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        const auto it = server.documents_.find(uri);
        if (it == server.documents_.end()) throw RequestError{kInvalidParams, "document not open: " + uri};
        return it->second;
    }
    // The document and the code index that a TextDocumentPositionParams names.
    std::pair<const ProgramDocument&, TextPosition> at(const json& params, int& index) {
        const ProgramDocument& doc = document(params);
        const json& p = params.at("position");
        const TextPosition pos{p.at("line").get<int>(), p.at("character").get<int>()};
        index = doc.indexOf(pos.line, pos.character);
        return {doc, pos};
    }

    void publish(const std::string& uri) {
        json diagnostics = json::array();
        for (const Diagnostic& d : diagnosticsOf(server.documents_.at(uri)))
            diagnostics.push_back({{"range", range(d.range)},
                                   {"severity", static_cast<int>(d.severity)},
                                   {"source", "korvane"},
                                   {"message", d.message}});
        out.push_back(json{{"jsonrpc", "2.0"},
                           {"method", "textDocument/publishDiagnostics"},
                           {"params", {{"uri", uri}, {"diagnostics", diagnostics}}}}
                          .dump(-1, ' ', false, json::error_handler_t::replace));
    }

    json initialize(const json& params) {
        if (params.contains("initializationOptions") && params["initializationOptions"].is_object()) {
            const json& options = params["initializationOptions"];
            if (options.contains("language") && options["language"].is_string()) {
                const std::string language = options["language"].get<std::string>();
                if (language == "fr") server.language_ = MessageLanguage::French;
                if (language == "en") server.language_ = MessageLanguage::English;
            }
        }
        setMessageLanguage(server.language_);
        server.initialized_ = true;
        return {{"capabilities",
                 {{"positionEncoding", "utf-16"},
                  {"textDocumentSync", {{"openClose", true}, {"change", 1}}},
                  {"completionProvider", {{"triggerCharacters", json::array()}}},
                  {"hoverProvider", true},
                  {"signatureHelpProvider", {{"triggerCharacters", {"(", ","}}}},
                  {"documentSymbolProvider", true},
                  {"definitionProvider", true},
                  {"referencesProvider", true},
                  {"renameProvider", true},
                  {"foldingRangeProvider", true},
                  {"documentFormattingProvider", true}}},
                {"serverInfo", {{"name", "korvane"}}}};
    }

    void didOpen(const json& params) {
        const json& item = params.at("textDocument");
        const std::string uri = item.at("uri").get<std::string>();
        server.documents_.insert_or_assign(uri, ProgramDocument(item.at("text").get<std::string>()));
        publish(uri);
    }

    void didChange(const json& params) {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        const json& changes = params.at("contentChanges");
        if (!changes.is_array() || changes.empty()) return;
        // Full sync: the last change holds the whole text.
        server.documents_.insert_or_assign(uri, ProgramDocument(changes.back().at("text").get<std::string>()));
        publish(uri);
    }

    void didClose(const json& params) {
        const std::string uri = params.at("textDocument").at("uri").get<std::string>();
        server.documents_.erase(uri);
        out.push_back(json{{"jsonrpc", "2.0"},
                           {"method", "textDocument/publishDiagnostics"},
                           {"params", {{"uri", uri}, {"diagnostics", json::array()}}}}
                          .dump());
    }

    json completion(const json& params) {
        int index = 0;
        const auto [doc, pos] = at(params, index);
        const CompletionAt found = completionAt(doc, pos.line, index);
        const TextRange replaced{{pos.line, doc.columnOf(pos.line, found.start)}, {pos.line, doc.columnOf(pos.line, index)}};
        json items = json::array();
        for (const Completion& c : found.words) {
            const std::string word = utf8(c.word);
            json item = {{"label", word}, {"textEdit", {{"range", range(replaced)}, {"newText", word}}}};
            if (c.help) {
                item["kind"] = c.help->kind == CommandKind::Function ? kCompletionFunction : kCompletionKeyword;
                item["detail"] = utf8(c.help->syntax);
                item["documentation"] = utf8(commandLine(*c.help, french()));
            } else {
                item["kind"] = c.word.back() == '(' ? kCompletionFunction : kCompletionVariable;
            }
            items.push_back(std::move(item));
        }
        return {{"isIncomplete", false}, {"items", items}};
    }

    json hover(const json& params) {
        int index = 0;
        const auto [doc, pos] = at(params, index);
        const CommandAtCaret command = commandAt(doc.codes(pos.line), index);
        if (!command.help) return nullptr;
        const std::string text =
            "```\n" + utf8(command.help->syntax) + "\n```\n" + utf8(commandLine(*command.help, french()));
        return {{"contents", {{"kind", "markdown"}, {"value", text}}},
                {"range", range(doc.rangeOf(pos.line, command.start, command.length))}};
    }

    json signatureHelp(const json& params) {
        int index = 0;
        const auto [doc, pos] = at(params, index);
        const std::optional<SignatureAt> found = signatureAt(doc, pos.line, index);
        if (!found) return nullptr;
        json parameters = json::array();
        const std::vector<std::string> names = parametersOf(found->help->syntax);
        for (const std::string& p : names) parameters.push_back({{"label", utf8(p)}});
        const int active = names.empty() ? 0 : std::min<int>(found->activeParameter, static_cast<int>(names.size()) - 1);
        return {{"signatures",
                 {{{"label", utf8(found->help->syntax)},
                   {"documentation", utf8(commandLine(*found->help, french()))},
                   {"parameters", parameters}}}},
                {"activeSignature", 0},
                {"activeParameter", active}};
    }

    json documentSymbol(const json& params) {
        const ProgramDocument& doc = document(params);
        json symbols = json::array();
        for (const ProgramSymbol& s : symbolsOf(doc)) {
            const int kind = s.name.kind == NameKind::Label     ? kSymbolKey
                             : s.name.kind == NameKind::Defined ? kSymbolFunction
                                                                : kSymbolVariable;
            const TextRange whole = doc.rangeOf(s.span.line, 0, static_cast<int>(doc.codes(s.span.line).size()));
            symbols.push_back({{"name", utf8(s.name.name)},
                               {"detail", utf8(s.name.heading)},
                               {"kind", kind},
                               {"range", range(whole)},
                               {"selectionRange", range(doc.rangeOf(s.span.line, s.span.start, s.span.length))}});
        }
        return symbols;
    }

    json location(const std::string& uri, const ProgramDocument& doc, const WordSpan& span) {
        return {{"uri", uri}, {"range", range(doc.rangeOf(span.line, span.start, span.length))}};
    }

    json definition(const json& params) {
        int index = 0;
        const auto [doc, pos] = at(params, index);
        const std::optional<ProgramSymbol> found = definitionAt(doc, pos.line, index);
        if (!found) return nullptr;
        return location(params["textDocument"]["uri"].get<std::string>(), doc, found->span);
    }

    // The uses of the program's own name at a place: its definition's name, or the word.
    std::vector<WordSpan> usesAt(const ProgramDocument& doc, int line, int index, std::optional<ProgramSymbol>* symbol) {
        *symbol = definitionAt(doc, line, index);
        if (!*symbol) return {};
        std::string name = (*symbol)->name.name;
        if (!name.empty() && name.back() == '(') name.pop_back();
        return occurrencesOf(doc, name);
    }

    json references(const json& params) {
        int index = 0;
        const auto [doc, pos] = at(params, index);
        std::optional<ProgramSymbol> symbol;
        const bool declaration = params.contains("context") && params["context"].value("includeDeclaration", true);
        const std::string uri = params["textDocument"]["uri"].get<std::string>();
        json locations = json::array();
        for (const WordSpan& use : usesAt(doc, pos.line, index, &symbol))
            if (declaration || use != symbol->span) locations.push_back(location(uri, doc, use));
        return locations;
    }

    json rename(const json& params) {
        int index = 0;
        const auto [doc, pos] = at(params, index);
        std::optional<ProgramSymbol> symbol;
        const std::vector<WordSpan> uses = usesAt(doc, pos.line, index, &symbol);
        if (!symbol || (symbol->name.kind != NameKind::Label && symbol->name.kind != NameKind::Local))
            throw RequestError{kRequestFailed, french() ? "seuls une étiquette ou un nom local se renomment"
                                                        : "only a label or a local name can be renamed"};
        int dropped = 0;
        const std::string newName = utf8ToCalc(params.at("newName").get<std::string>(), &dropped);
        if (dropped > 0 || !isNameText(newName))
            throw RequestError{kInvalidParams, french() ? "nom invalide : 1 à 8 lettres ou chiffres, pas de chiffre en tête"
                                                        : "invalid name: 1 to 8 letters or digits, not starting with a digit"};
        json edits = json::array();
        for (const WordSpan& use : uses)
            edits.push_back({{"range", range(doc.rangeOf(use.line, use.start, use.length))}, {"newText", utf8(newName)}});
        return {{"changes", {{params["textDocument"]["uri"].get<std::string>(), edits}}}};
    }

    json foldingRange(const json& params) {
        json ranges = json::array();
        for (const LineSpan& block : blocksOf(document(params)))
            ranges.push_back({{"startLine", block.start}, {"endLine", block.end}, {"kind", "region"}});
        return ranges;
    }

    json formatting(const json& params) {
        const ProgramDocument& doc = document(params);
        const std::string& before = doc.editorText();
        const std::string after = indentProgram(before, indentStepOf(before));
        // Only leading spaces change: one edit per line whose indent differs.
        json edits = json::array();
        std::size_t a = 0, b = 0;
        for (int line = doc.firstProgramLine() - 1;; ++line) {
            const std::size_t aEnd = std::min(before.find("\r\n", a), before.size());
            const std::size_t bEnd = std::min(after.find("\r\n", b), after.size());
            const std::string_view oldLine = std::string_view(before).substr(a, aEnd - a);
            const std::string_view newLine = std::string_view(after).substr(b, bEnd - b);
            if (oldLine != newLine && line >= 0) {
                const std::size_t oldSpaces = std::min(oldLine.find_first_not_of(' '), oldLine.size());
                const std::size_t newSpaces = std::min(newLine.find_first_not_of(' '), newLine.size());
                edits.push_back({{"range", range(doc.rangeOf(line, 0, static_cast<int>(oldSpaces)))},
                                 {"newText", std::string(newSpaces, ' ')}});
            }
            if (aEnd == before.size() || bEnd == after.size()) break;
            a = aEnd + 2;
            b = bEnd + 2;
        }
        return edits;
    }

    // A request's result, or nothing for a notification.
    std::optional<json> dispatch(const std::string& method, const json& params) {
        if (method == "initialize") return initialize(params);
        if (method == "initialized") return std::nullopt;
        if (method == "shutdown") {
            server.shutdown_ = true;
            return json(nullptr);
        }
        if (method == "textDocument/didOpen") didOpen(params);
        else if (method == "textDocument/didChange") didChange(params);
        else if (method == "textDocument/didClose") didClose(params);
        else if (method == "textDocument/completion") return completion(params);
        else if (method == "textDocument/hover") return hover(params);
        else if (method == "textDocument/signatureHelp") return signatureHelp(params);
        else if (method == "textDocument/documentSymbol") return documentSymbol(params);
        else if (method == "textDocument/definition") return definition(params);
        else if (method == "textDocument/references") return references(params);
        else if (method == "textDocument/rename") return rename(params);
        else if (method == "textDocument/foldingRange") return foldingRange(params);
        else if (method == "textDocument/formatting") return formatting(params);
        else throw RequestError{kMethodNotFound, "unknown method " + method};
        return std::nullopt;
    }
};

LspServer::LspServer(MessageLanguage language) : language_(language) {}

std::vector<std::string> LspServer::handle(std::string_view body) {
    std::vector<std::string> out;
    auto error = [&out](const json& id, int code, const std::string& message) {
        out.push_back(json{{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}}
                          .dump(-1, ' ', false, json::error_handler_t::replace));
    };
    if (nestingOf(body) > kMaxNesting) {
        error(nullptr, kParseError, "JSON nested deeper than " + std::to_string(kMaxNesting));
        return out;
    }
    const json message = json::parse(body, nullptr, false);
    if (message.is_discarded()) {
        error(nullptr, kParseError, "invalid JSON");
        return out;
    }
    if (!message.is_object() || !message.contains("method") || !message["method"].is_string()) {
        // A response to a request the server never sends, or no message at all.
        if (message.is_object() && !message.contains("method") && message.contains("id")) return out;
        error(nullptr, kInvalidRequest, "not a JSON-RPC request");
        return out;
    }
    const std::string method = message["method"].get<std::string>();
    const bool request = message.contains("id") && (message["id"].is_number_integer() || message["id"].is_string());
    const json id = request ? message["id"] : json(nullptr);
    const json params = message.contains("params") ? message["params"] : json::object();

    if (method == "exit") {
        exitRequested_ = true;
        return out;
    }
    if (!initialized_ && method != "initialize") {
        if (request) error(id, kServerNotInitialized, "the server is not initialized");
        return out;
    }
    if (shutdown_) {
        if (request) error(id, kInvalidRequest, "the server is shut down");
        return out;
    }
    LspRequests requests{*this, out};
    try {
        const std::optional<json> result = requests.dispatch(method, params);
        if (request) {
            out.push_back(json{{"jsonrpc", "2.0"}, {"id", id}, {"result", result ? *result : json(nullptr)}}
                              .dump(-1, ' ', false, json::error_handler_t::replace));
        }
    } catch (const RequestError& e) {
        // A notification's fault has nobody to tell; an unknown "$/" one is ignored as LSP says.
        if (request) error(id, e.code, e.message);
    } catch (const json::exception& e) {
        if (request) error(id, kInvalidParams, e.what());
    }
    return out;
}

}  // namespace korvane
