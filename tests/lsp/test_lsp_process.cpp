// korvane-tool lsp as an editor drives it: a process, framed messages on its pipes.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include "lsp/LspFraming.h"

namespace korvane {
namespace {

using json = nlohmann::json;

class LspProcess {
public:
    explicit LspProcess(const char* lang = "C") {
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], STDIN_FILENO);
            dup2(out[1], STDOUT_FILENO);
            close(in[0]), close(in[1]), close(out[0]), close(out[1]);
            unsetenv("LC_ALL");
            unsetenv("LC_MESSAGES");
            setenv("LANG", lang, 1);
            execl(KORVANE_TOOL_PATH, KORVANE_TOOL_PATH, "lsp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        toServer_ = in[1];
        fromServer_ = out[0];
    }
    ~LspProcess() {
        if (toServer_ >= 0) close(toServer_);
        if (pid_ > 0 && status_ < 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(fromServer_);
    }

    void sendRaw(const std::string& bytes) { ASSERT_EQ(write(toServer_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size())); }
    void send(const json& message) { sendRaw(writeFrame(message.dump())); }
    void notify(const std::string& method, const json& params) {
        send({{"jsonrpc", "2.0"}, {"method", method}, {"params", params}});
    }

    // The next message; null when the server said nothing for 20 s or closed its output.
    json next() {
        for (;;) {
            const FrameReader::Result r = reader_.next();
            if (r.status == FrameReader::Status::Message) return json::parse(r.body);
            pollfd p{fromServer_, POLLIN, 0};
            if (poll(&p, 1, 20000) <= 0) return nullptr;
            char buffer[65536];
            const ssize_t n = read(fromServer_, buffer, sizeof buffer);
            if (n <= 0) return nullptr;
            reader_.push(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
    }
    // The answer to request `id`; the notifications before it are kept.
    json request(int id, const std::string& method, const json& params) {
        send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        for (json m = next(); !m.is_null(); m = next()) {
            if (m.contains("id") && m["id"] == id) return m;
            notifications.push_back(m);
        }
        return nullptr;
    }
    json diagnostics() {
        for (json m = next(); !m.is_null(); m = next())
            if (m.value("method", "") == "textDocument/publishDiagnostics") return m["params"];
        return nullptr;
    }
    // The exit status once the server has ended by itself.
    int finish() {
        close(toServer_);
        toServer_ = -1;
        int raw = 0;
        waitpid(pid_, &raw, 0);
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128;
        return status_;
    }
    std::vector<json> notifications;

private:
    pid_t pid_ = -1;
    int toServer_ = -1, fromServer_ = -1;
    int status_ = -1;
    FrameReader reader_;
};

json at(const std::string& uri, int line, int character) {
    return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
}

json range(int l1, int c1, int l2, int c2) {
    return {{"start", {{"line", l1}, {"character", c1}}}, {"end", {{"line", l2}, {"character", c2}}}};
}

const char* const kGood =
    "main\\demo(n)\n"
    "Prgm\n"
    "Local total,i\n"
    "0→total\n"
    "For i,1,n\n"
    "total+i→total\n"
    "EndFor\n"
    "Define twice(x)=Func\n"
    "Return 2*x\n"
    "EndFunc\n"
    "Lbl again\n"
    "Disp twice(total),mid(\"abc\",2)\n"
    "If total>10 Then\n"
    "  Goto again\n"
    "EndIf\n"
    "EndPrgm\n";

TEST(LspProcess, AnEditorSessionFromInitializeToExit) {
    LspProcess server;
    const json init = server.request(1, "initialize", {{"processId", nullptr}, {"rootUri", nullptr},
                                                       {"capabilities", json::object()},
                                                       {"initializationOptions", {{"language", "en"}}}});
    ASSERT_FALSE(init.is_null());
    const json& caps = init["result"]["capabilities"];
    EXPECT_EQ(caps["textDocumentSync"]["change"], 1);
    for (const char* c : {"hoverProvider", "completionProvider", "signatureHelpProvider", "documentSymbolProvider",
                          "definitionProvider", "referencesProvider", "renameProvider", "foldingRangeProvider",
                          "documentFormattingProvider"})
        EXPECT_TRUE(caps.contains(c)) << c;
    server.notify("initialized", json::object());

    // A program with an error, then one without.
    server.notify("textDocument/didOpen",
                  {{"textDocument", {{"uri", "file:///bad.txt"}, {"languageId", "ti-basic"}, {"version", 1},
                                     {"text", "bad()\nPrgm\nθ→x\n  Disp sin⁻¹(x)+\nEndPrgm\n"}}}});
    json bad = server.diagnostics();
    ASSERT_FALSE(bad.is_null());
    EXPECT_EQ(bad["uri"], "file:///bad.txt");
    ASSERT_EQ(bad["diagnostics"].size(), 1u);
    EXPECT_EQ(bad["diagnostics"][0]["severity"], 1);
    EXPECT_EQ(bad["diagnostics"][0]["range"], range(3, 15, 3, 16));  // ⁻¹ counts two units
    server.notify("textDocument/didOpen", {{"textDocument", {{"uri", "file:///demo.txt"}, {"languageId", "ti-basic"},
                                                              {"version", 1}, {"text", kGood}}}});
    EXPECT_EQ(server.diagnostics(), json({{"uri", "file:///demo.txt"}, {"diagnostics", json::array()}}));

    // Completion: the catalogue's commands and the program's own names.
    const json items = server.request(2, "textDocument/completion", at("file:///demo.txt", 5, 1))["result"]["items"];
    std::vector<std::string> labels;
    for (const json& item : items) labels.push_back(item["label"]);
    EXPECT_NE(std::find(labels.begin(), labels.end(), "total"), labels.end());
    const auto tan = std::find_if(items.begin(), items.end(), [](const json& i) { return i["label"] == "tan("; });
    ASSERT_NE(tan, items.end());
    EXPECT_EQ((*tan)["detail"], "tan(expression1)");
    EXPECT_EQ((*tan)["textEdit"]["range"], range(5, 0, 5, 1));

    // Hover on For: its syntax and description.
    const json hover = server.request(3, "textDocument/hover", at("file:///demo.txt", 4, 1))["result"];
    EXPECT_NE(hover["contents"]["value"].get<std::string>().find("For var, low, high"), std::string::npos);
    EXPECT_EQ(hover["range"], range(4, 0, 4, 3));

    // Signature help inside mid( after its first comma.
    const json signature = server.request(4, "textDocument/signatureHelp", at("file:///demo.txt", 11, 28))["result"];
    EXPECT_EQ(signature["activeParameter"], 1);
    EXPECT_NE(signature["signatures"][0]["label"].get<std::string>().find("mid("), std::string::npos);

    // Symbols: the parameter, the locals, the function and the label.
    std::vector<std::pair<std::string, int>> symbols;
    const json symbolList =
        server.request(5, "textDocument/documentSymbol", {{"textDocument", {{"uri", "file:///demo.txt"}}}})["result"];
    for (const json& s : symbolList)
        symbols.emplace_back(s["name"], s["selectionRange"]["start"]["line"]);
    EXPECT_EQ(symbols, (std::vector<std::pair<std::string, int>>{
                           {"n", 0}, {"total", 2}, {"i", 2}, {"twice(", 7}, {"again", 10}}));

    // Definition of the label from its Goto, of the function from its call.
    EXPECT_EQ(server.request(6, "textDocument/definition", at("file:///demo.txt", 13, 8))["result"]["range"],
              range(10, 4, 10, 9));
    EXPECT_EQ(server.request(7, "textDocument/definition", at("file:///demo.txt", 11, 6))["result"]["range"],
              range(7, 7, 7, 12));

    // References of the local total, and a rename of the label.
    json refs = at("file:///demo.txt", 3, 3);
    refs["context"] = {{"includeDeclaration", true}};
    EXPECT_EQ(server.request(8, "textDocument/references", refs)["result"].size(), 6u);
    json renamed = at("file:///demo.txt", 10, 5);
    renamed["newName"] = "loop1";
    const json edits = server.request(9, "textDocument/rename", renamed)["result"]["changes"]["file:///demo.txt"];
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[1]["range"], range(13, 7, 13, 12));

    // Folding: the program, For, the Define'd function and If.
    std::vector<std::pair<int, int>> folds;
    const json foldList =
        server.request(10, "textDocument/foldingRange", {{"textDocument", {{"uri", "file:///demo.txt"}}}})["result"];
    for (const json& f : foldList)
        folds.emplace_back(f["startLine"], f["endLine"]);
    EXPECT_EQ(folds, (std::vector<std::pair<int, int>>{{1, 15}, {4, 6}, {7, 9}, {12, 14}}));

    // Formatting: only indents change, by the step the program already uses (2).
    const json format = server.request(11, "textDocument/formatting",
                                       {{"textDocument", {{"uri", "file:///demo.txt"}}},
                                        {"options", {{"tabSize", 4}, {"insertSpaces", true}}}})["result"];
    std::map<int, std::string> indents;
    for (const json& e : format) {
        EXPECT_EQ(e["range"]["start"]["character"], 0);
        indents[e["range"]["start"]["line"]] = e["newText"];
    }
    EXPECT_EQ(indents, (std::map<int, std::string>{{5, "  "}, {8, "  "}}));

    // A change: the fixed program has no diagnostics any more.
    json change = {{"textDocument", {{"uri", "file:///bad.txt"}, {"version", 2}}}};
    change["contentChanges"] = json::array({json{{"text", "bad()\nPrgm\nθ→x\n  Disp sin⁻¹(x)+1\nEndPrgm\n"}}});
    server.notify("textDocument/didChange", change);
    EXPECT_TRUE(server.diagnostics()["diagnostics"].empty());

    EXPECT_TRUE(server.request(12, "shutdown", nullptr)["result"].is_null());
    server.notify("exit", nullptr);
    EXPECT_EQ(server.finish(), 0);
}

TEST(LspProcess, BadInputNeverStopsItAndExitWithoutShutdownIsOne) {
    LspProcess server("fr_FR.UTF-8");
    server.sendRaw("Content-Length: oops\r\n\r\n");
    server.sendRaw("Content-Length: 9\r\n\r\n{not json");
    const json parseError = server.next();
    EXPECT_EQ(parseError["error"]["code"], -32700);
    EXPECT_EQ(server.request(1, "initialize", json::object())["id"], 1);
    EXPECT_EQ(server.request(2, "workspace/noSuchThing", json::object())["error"]["code"], -32601);
    // Without a language in initialize, LANG's.
    server.notify("textDocument/didOpen",
                  {{"textDocument", {{"uri", "file:///g.txt"}, {"text", "g()\nPrgm\nGoto nulle\nEndPrgm"}}}});
    EXPECT_EQ(server.diagnostics()["diagnostics"][0]["message"], "l'étiquette nulle n'est pas définie");
    // exit without shutdown: status 1.
    server.notify("exit", nullptr);
    EXPECT_EQ(server.finish(), 1);

    // A Content-Length larger than the data, then the client goes away: the server ends.
    LspProcess cut;
    cut.sendRaw("Content-Length: 500\r\n\r\n{\"jsonrpc\":");
    EXPECT_EQ(cut.finish(), 1);
}

}  // namespace
}  // namespace korvane
