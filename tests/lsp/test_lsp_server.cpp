// The language server without a process: its framing, the program's positions in
// UTF-16 columns, and its answers to JSON-RPC messages.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "files/Messages.h"
#include "lsp/LspFraming.h"
#include "lsp/LspProgram.h"
#include "lsp/LspServer.h"

namespace korvane {
namespace {

using json = nlohmann::json;

TEST(LspFraming, ReadsWholeMessagesAsTheyArriveAndSkipsBrokenOnes) {
    FrameReader reader;
    const std::string two = writeFrame("{\"a\":1}") + "Content-Type: x\r\ncontent-length: 2\r\n\r\n[]";
    // Byte by byte: nothing until a body is whole.
    std::vector<std::string> bodies;
    for (const char c : two) {
        reader.push(std::string_view(&c, 1));
        for (auto r = reader.next(); r.status != FrameReader::Status::NeedMore; r = reader.next()) {
            ASSERT_EQ(r.status, FrameReader::Status::Message);
            bodies.push_back(r.body);
        }
    }
    EXPECT_EQ(bodies, (std::vector<std::string>{"{\"a\":1}", "[]"}));
    EXPECT_EQ(reader.pending(), 0u);

    // A header without Content-Length, a bad number, a line without colon: refused, the next one read.
    for (const std::string bad : {"X-Other: 1\r\n\r\n", "Content-Length: 1x\r\n\r\n", "garbage\r\n\r\n",
                                  "Content-Length: -5\r\n\r\n"}) {
        reader.push(bad + writeFrame("{}"));
        EXPECT_EQ(reader.next().status, FrameReader::Status::BadHeader) << bad;
        const auto r = reader.next();
        EXPECT_EQ(r.status, FrameReader::Status::Message) << bad;
        EXPECT_EQ(r.body, "{}");
    }

    // A body past the cap is dropped as it comes, whatever its pieces, and never held.
    const std::size_t huge = FrameReader::kMaxBody + 10;
    reader.push("Content-Length: " + std::to_string(huge) + "\r\n\r\n");
    EXPECT_EQ(reader.next().status, FrameReader::Status::BadHeader);
    const std::string chunk(1 << 16, 'x');
    for (std::size_t sent = 0; sent < huge; sent += chunk.size()) {
        reader.push(std::string_view(chunk).substr(0, std::min(chunk.size(), huge - sent)));
        EXPECT_LE(reader.pending(), 4u);
    }
    reader.push(writeFrame("{\"b\":2}"));
    EXPECT_EQ(reader.next().body, "{\"b\":2}");

    // A header that never ends is not held without end either.
    reader.push(std::string(FrameReader::kMaxHeader * 4, 'h'));
    EXPECT_EQ(reader.next().status, FrameReader::Status::BadHeader);
    EXPECT_LE(reader.pending(), FrameReader::kMaxHeader);

    // A Content-Length larger than the data: waits for the rest.
    FrameReader waiting;
    waiting.push("Content-Length: 10\r\n\r\n{}");
    EXPECT_EQ(waiting.next().status, FrameReader::Status::NeedMore);
}

TEST(LspProgram, ColumnsAreUtf16UnitsWhateverTheCharacters) {
    // θ and → are one unit and one code each, ⁻¹ two units for one code, 😀 a
    // surrogate pair without a calculator code.
    const ProgramDocument doc("t()\nPrgm\n\"😀θ→\"→x:sin⁻¹(x)→θ:Goto nowhere\nEndPrgm");
    ASSERT_EQ(doc.lineCount(), 4);
    EXPECT_EQ(doc.codes(2).size(), 29u);
    // "nowhere" starts at code 22 and UTF-16 column 25.
    EXPECT_EQ(doc.codes(2).substr(22), "nowhere");
    EXPECT_EQ(doc.columnOf(2, 22), 25);
    EXPECT_EQ(doc.indexOf(2, 25), 22);
    EXPECT_EQ(doc.columnOf(2, 29), 32);
    // The emoji's two units and ⁻¹'s second unit fall to the code after them.
    EXPECT_EQ(doc.indexOf(2, 1), 1);
    EXPECT_EQ(doc.indexOf(2, 2), 1);
    EXPECT_EQ(doc.columnOf(2, 1), 3);  // θ
    EXPECT_EQ(doc.columnOf(2, 10), 12);  // ⁻¹
    EXPECT_EQ(doc.columnOf(2, 11), 14);  // (
    EXPECT_EQ(doc.indexOf(2, 13), 11);
    EXPECT_EQ(doc.indexOf(2, 999), 29);

    setMessageLanguage(MessageLanguage::English);
    const std::vector<Diagnostic> d = diagnosticsOf(doc);
    ASSERT_EQ(d.size(), 1u);
    EXPECT_EQ(d[0].message, "the label nowhere is not defined");
    EXPECT_EQ(d[0].range, (TextRange{{2, 25}, {2, 32}}));
}

// The error's range starts where the check stopped on its line, in UTF-16 units;
// a block left open is told on the line that opened it, as a whole.
TEST(LspProgram, AnErrorStartsWhereTheCheckStopped) {
    setMessageLanguage(MessageLanguage::English);
    const auto errorRange = [](const std::string& text) {
        const std::vector<Diagnostic> d = diagnosticsOf(ProgramDocument(text));
        return d.empty() || d[0].severity != Severity::Error ? TextRange{} : d[0].range;
    };
    EXPECT_EQ(errorRange("w()\r\nPrgm\r\nDisp \xCE\xB8,)+2\r\nEndPrgm"), (TextRange{{2, 7}, {2, 10}}));
    EXPECT_EQ(errorRange("w()\r\nPrgm\r\n  If x Then\r\nDisp 1\r\nEndPrgm"), (TextRange{{2, 2}, {2, 11}}));
}

TEST(LspProgram, ErrorOnItsLineAndTheWarningsOfRunTime) {
    setMessageLanguage(MessageLanguage::English);
    const ProgramDocument doc(
        "main\\w(a)\r\nPrgm\r\n  Disp 1+\r\nLocal i,unused\r\nLbl top\r\nLbl Top\r\nFor i,1,3\r\nEndFor\r\n"
        "EndWhile\r\nGoto nowhere:Goto top\r\n1→toolongname\r\n\"Goto x\"→a ©Goto y\r\nEndPrgm");
    EXPECT_EQ(doc.folder(), "main");
    EXPECT_EQ(doc.nameField(), "w(a)");
    std::vector<std::pair<TextRange, std::string>> got;
    for (const Diagnostic& d : diagnosticsOf(doc))
        got.emplace_back(d.range, std::to_string(static_cast<int>(d.severity)) + " " + d.message);
    const std::vector<std::pair<TextRange, std::string>> expected = {
        {{{2, 8}, {2, 9}}, "1 expected an expression, found the end of the statement"},
        {{{3, 8}, {3, 14}}, "2 the local name unused is never used"},
        {{{5, 4}, {5, 7}}, "2 the label Top is defined twice"},
        {{{9, 5}, {9, 12}}, "2 the label nowhere is not defined"},
        {{{10, 2}, {10, 13}}, "2 the name toolongname is longer than 8 characters"},
        {{{8, 0}, {8, 8}}, "2 EndWhile without While"},
    };
    EXPECT_EQ(got, expected);

    // A correct program has none; without its name line, lines still match.
    EXPECT_TRUE(diagnosticsOf(ProgramDocument("f(x)\nFunc\nLocal y\nx+1→y\nReturn y\nEndFunc\n")).empty());
    const std::vector<Diagnostic> bare = diagnosticsOf(ProgramDocument("Prgm\nDisp (\nEndPrgm"));
    ASSERT_EQ(bare.size(), 1u);
    EXPECT_EQ(bare[0].range.start.line, 1);
}

TEST(LspProgram, BlocksSignaturesAndParameters) {
    const ProgramDocument doc(
        "p()\nPrgm\nIf x>1 Then\n  For i,1,2\n  EndFor\nElse\n  Define f(a)=Func\n  Return a\n  EndFunc\nEndIf\n"
        "If x\nThen\nDisp mid(\"ab\",1,sin(2)\nEndIf\nEndPrgm");
    const std::vector<LineSpan> blocks = blocksOf(doc);
    EXPECT_EQ(blocks, (std::vector<LineSpan>{{1, 14}, {2, 9}, {3, 4}, {6, 8}, {10, 13}}));

    const std::string& line = doc.codes(12);
    const auto inMid = signatureAt(doc, 12, static_cast<int>(line.find(",1")) + 1);
    ASSERT_TRUE(inMid);
    EXPECT_EQ(inMid->help->name, "mid(");
    EXPECT_EQ(inMid->activeParameter, 1);
    const auto inSin = signatureAt(doc, 12, static_cast<int>(line.size()) - 1);
    ASSERT_TRUE(inSin);
    EXPECT_EQ(inSin->help->name, "sin(");
    EXPECT_EQ(inSin->activeParameter, 0);
    // After sin's ")": mid's third argument.
    EXPECT_EQ(signatureAt(doc, 12, static_cast<int>(line.size()))->activeParameter, 2);
    EXPECT_FALSE(signatureAt(doc, 12, 2));
    EXPECT_FALSE(signatureAt(doc, 12, static_cast<int>(line.find("ab")) + 1));  // in a string

    EXPECT_EQ(parametersOf("mid(sourceString, start [, count])"),
              (std::vector<std::string>{"sourceString", "start", "[count]"}));
    EXPECT_EQ(parametersOf("Disp [expr]"), std::vector<std::string>{});
}

// The server's answers to one message each.
class LspAnswers : public ::testing::Test {
protected:
    LspServer server{MessageLanguage::English};
    std::vector<json> send(const json& message) {
        std::vector<json> out;
        for (const std::string& body : server.handle(message.dump())) out.push_back(json::parse(body));
        return out;
    }
    json request(int id, const std::string& method, const json& params) {
        const std::vector<json> out = send({{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", params}});
        return out.empty() ? json() : out.back();
    }
    static json at(int line, int character) {
        return {{"textDocument", {{"uri", "file:///p"}}}, {"position", {{"line", line}, {"character", character}}}};
    }
};

TEST_F(LspAnswers, BadMessagesGetErrorsAndNeverStopTheServer) {
    EXPECT_EQ(request(1, "textDocument/hover", at(0, 0))["error"]["code"], -32002);  // before initialize
    ASSERT_TRUE(server.handle("{not json").size() == 1);
    EXPECT_EQ(json::parse(server.handle("{not json")[0])["error"]["code"], -32700);
    EXPECT_EQ(json::parse(server.handle("[1,2]")[0])["error"]["code"], -32600);
    EXPECT_TRUE(server.handle("{\"jsonrpc\":\"2.0\",\"id\":5,\"result\":null}").empty());  // a response
    // Nested past any LSP message: refused before parsing, copying or freeing recurse that deep.
    const std::string deep = "{\"jsonrpc\":\"2.0\",\"id\":1,\"method\":\"initialize\",\"params\":" +
                             std::string(200000, '[') + std::string(200000, ']') + "}";
    ASSERT_EQ(server.handle(deep).size(), 1u);
    EXPECT_EQ(json::parse(server.handle(deep)[0])["error"]["code"], -32700);
    // Brackets inside strings are text: a notification holding many is taken (and ignored before initialize).
    EXPECT_TRUE(server.handle(R"({"jsonrpc":"2.0","method":"x","params":{"s":")" + std::string(100, '[') + "\\\"\"}}").empty());

    EXPECT_TRUE(request(2, "initialize", {{"initializationOptions", {{"language", "fr"}}}})["result"].contains("capabilities"));
    EXPECT_EQ(request(3, "no/such", json::object())["error"]["code"], -32601);
    EXPECT_TRUE(send({{"jsonrpc", "2.0"}, {"method", "$/unknownNotification"}}).empty());
    EXPECT_EQ(request(4, "textDocument/hover", at(0, 0))["error"]["code"], -32602);  // not open
    EXPECT_EQ(request(5, "textDocument/hover", {{"textDocument", 3}})["error"]["code"], -32602);

    // Positions past the text stay on it.
    send({{"jsonrpc", "2.0"}, {"method", "textDocument/didOpen"},
          {"params", {{"textDocument", {{"uri", "file:///p"}, {"text", "p()\nPrgm\nDisp 1\nEndPrgm"}}}}}});
    EXPECT_TRUE(request(6, "textDocument/completion", at(99, -4))["result"].contains("items"));
    EXPECT_TRUE(request(7, "textDocument/signatureHelp", at(-1, 99)).contains("result"));

    // French after initialize asked for it.
    const json hover = request(8, "textDocument/hover", at(2, 1));
    EXPECT_NE(hover["result"]["contents"]["value"].get<std::string>().find("Affiche"), std::string::npos);

    EXPECT_FALSE(server.exitRequested());
    request(9, "shutdown", nullptr);
    EXPECT_EQ(request(10, "textDocument/hover", at(2, 1))["error"]["code"], -32600);
    send({{"jsonrpc", "2.0"}, {"method", "exit"}});
    EXPECT_TRUE(server.exitRequested());
    EXPECT_EQ(server.exitStatus(), 0);
}

TEST_F(LspAnswers, RenameTakesLabelsAndLocalsOnlyAndAValidName) {
    request(1, "initialize", json::object());
    send({{"jsonrpc", "2.0"}, {"method", "textDocument/didOpen"},
          {"params", {{"textDocument", {{"uri", "file:///p"}, {"text", "p(n)\nPrgm\nLocal k\nLbl a\nn→k\nGoto A\nEndPrgm"}}}}}});
    json params = at(5, 6);
    params["newName"] = "début";
    const json edits = request(2, "textDocument/rename", params)["result"]["changes"]["file:///p"];
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0]["range"]["start"], json({{"line", 3}, {"character", 4}}));
    EXPECT_EQ(edits[1]["range"]["start"], json({{"line", 5}, {"character", 5}}));
    EXPECT_EQ(edits[1]["newText"], "début");

    params = at(4, 2);  // the local k
    params["newName"] = "toolongname";
    EXPECT_EQ(request(3, "textDocument/rename", params)["error"]["code"], -32602);
    params["newName"] = "9k";
    EXPECT_EQ(request(4, "textDocument/rename", params)["error"]["code"], -32602);
    params["newName"] = "k😀";
    EXPECT_EQ(request(5, "textDocument/rename", params)["error"]["code"], -32602);
    params = at(4, 0);  // the parameter n
    params["newName"] = "m";
    EXPECT_EQ(request(6, "textDocument/rename", params)["error"]["code"], -32803);
}

}  // namespace
}  // namespace korvane
