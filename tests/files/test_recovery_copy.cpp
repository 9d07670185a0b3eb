// The recovery copy: its format keeps every byte and refuses any damage, and its
// folder tells the copies of running windows from those that Korvanes killed or
// crashed left behind, across real processes.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "files/RecoveryCopy.h"
#include "files/VariableFile.h"
#include "support/ScratchDir.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;
using test::ScratchDir;

RecoveryCopy sampleCopy() {
    RecoveryCopy copy;
    copy.text = "\r\nPrgm\r\nDisp \"\x8c\"\r\nEndPrgm";
    copy.name = "essai(x)";
    copy.folder = "jeux";
    copy.path = "/home/u/prog.89p";
    copy.variableHeader = newDocumentHeader();
    copy.variableTrailer = programTrailer();
    copy.saved = {"\r\nPrgm\r\n\r\nEndPrgm", "essai(x)", "main"};
    copy.savedAt = 1765000000;
    copy.ownerPid = 4242;
    return copy;
}

void expectSame(const RecoveryCopy& a, const RecoveryCopy& b) {
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.name, b.name);
    EXPECT_EQ(a.folder, b.folder);
    EXPECT_EQ(a.kind, b.kind);
    EXPECT_EQ(a.path, b.path);
    EXPECT_EQ(a.tokenizedFile, b.tokenizedFile);
    EXPECT_EQ(a.oneExpression, b.oneExpression);
    EXPECT_EQ(a.variableHeader, b.variableHeader);
    EXPECT_EQ(a.variableTrailer, b.variableTrailer);
    EXPECT_EQ(a.saved.text, b.saved.text);
    EXPECT_EQ(a.saved.name, b.saved.name);
    EXPECT_EQ(a.saved.folder, b.saved.folder);
    EXPECT_EQ(a.savedAt, b.savedAt);
    EXPECT_EQ(a.ownerPid, b.ownerPid);
}

std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RecoveryCopyFormat, KeepsEveryByteOfEveryField) {
    RecoveryCopy copy = sampleCopy();
    // Every calculator code, line breaks of every kind and the format's own words inside the text.
    for (int c = 0; c < 256; ++c) copy.text += static_cast<char>(c);
    copy.text += "\n\ncrc32 00000000\ntext 5\n";
    copy.name = std::string("\0\n\xff", 3);
    copy.path = "";
    copy.kind = ProgramKind::Function;
    copy.tokenizedFile = false;
    copy.oneExpression = true;
    copy.variableTrailer = functionTrailer();
    const std::optional<RecoveryCopy> read = decodeRecoveryCopy(encodeRecoveryCopy(copy));
    ASSERT_TRUE(read);
    expectSame(*read, copy);

    // An empty Document's copy too.
    RecoveryCopy empty;
    empty.variableHeader = newDocumentHeader();
    empty.variableTrailer = programTrailer();
    ASSERT_TRUE(decodeRecoveryCopy(encodeRecoveryCopy(empty)));
    expectSame(*decodeRecoveryCopy(encodeRecoveryCopy(empty)), empty);
}

TEST(RecoveryCopyFormat, RefusesEveryCutEveryChangedByteAndForeignFiles) {
    const Bytes good = encodeRecoveryCopy(sampleCopy());
    ASSERT_TRUE(decodeRecoveryCopy(good));
    for (std::size_t size = 0; size < good.size(); ++size)
        EXPECT_FALSE(decodeRecoveryCopy(std::string_view(good).substr(0, size))) << "cut to " << size;
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (const unsigned char flip : {0x01, 0x20, 0x80}) {
            Bytes changed = good;
            changed[at] = static_cast<char>(changed[at] ^ flip);
            EXPECT_FALSE(decodeRecoveryCopy(changed)) << "byte " << at << " ^ " << int(flip);
        }
    }
    EXPECT_FALSE(decodeRecoveryCopy(good + "\n"));
    EXPECT_FALSE(decodeRecoveryCopy(buildVariableFile({"a()", "main", "\r\nPrgm\r\nEndPrgm", newDocumentHeader(),
                                                       programTrailer()})
                                        .bytes));

    // Well checked but not what this Korvane writes: a later version, a header of
    // the wrong size, a number with a sign. The check is made anew over the change.
    const auto resealed = [](Bytes body) {
        body.erase(body.rfind("crc32 "));
        char line[32];
        std::snprintf(line, sizeof line, "crc32 %08x\n", crc32(body));
        return body + line;
    };
    ASSERT_TRUE(decodeRecoveryCopy(resealed(good)));
    const auto replaced = [&](const std::string& from, const std::string& to) {
        Bytes body = good;
        body.replace(body.find(from), from.size(), to);
        return resealed(body);
    };
    EXPECT_FALSE(decodeRecoveryCopy(replaced("version 1\n", "version 2\n")));
    EXPECT_FALSE(decodeRecoveryCopy(replaced("pid 4242\n", "pid +4242\n")));
    EXPECT_FALSE(decodeRecoveryCopy(replaced("pid 4242\n", "pid 04242\n")));
    EXPECT_FALSE(decodeRecoveryCopy(replaced("kind program\n", "kind Program\n")));
    const std::string header = "header 88\n" + newDocumentHeader();
    EXPECT_FALSE(decodeRecoveryCopy(replaced(header, "header 87\n" + newDocumentHeader().substr(1))));
    // A length that runs past the end, and one of absurd size.
    EXPECT_FALSE(decodeRecoveryCopy(replaced("folder 4\n", "folder 99999\n")));
    EXPECT_FALSE(decodeRecoveryCopy(replaced("folder 4\n", "folder 99999999999999999999\n")));
}

TEST(RecoveryCopyFolder, StateHomeThenHomeAndOnlyAbsolute) {
    EXPECT_EQ(recoveryFolderFor("/st", "/home/u"), "/st/korvane");
    EXPECT_EQ(recoveryFolderFor(nullptr, "/home/u"), "/home/u/.local/state/korvane");
    EXPECT_EQ(recoveryFolderFor("", "/home/u"), "/home/u/.local/state/korvane");
    EXPECT_EQ(recoveryFolderFor("relative", "/home/u"), "/home/u/.local/state/korvane");
    EXPECT_EQ(recoveryFolderFor(nullptr, nullptr), "");
    EXPECT_NE(RecoveryStore("").error(), "");
}

class RecoveryStoreTest : public ::testing::Test {
protected:
    ScratchDir scratch;
    // A folder that does not exist yet: the store makes it.
    std::string folder() const { return scratch.file("state/korvane"); }
};

TEST_F(RecoveryStoreTest, ALiveWindowsCopyIsNeverClaimedAndADeadOnesIsOnce) {
    auto first = std::make_unique<RecoveryStore>(folder());
    ASSERT_EQ(first->error(), "");
    EXPECT_EQ(fs::status(folder()).permissions() & fs::perms::all, fs::perms::owner_all);
    EXPECT_EQ(first->write(sampleCopy()), "");
    const std::string firstCopy = first->copyPath();
    EXPECT_TRUE(fs::exists(firstCopy));

    RecoveryStore second(folder());
    ASSERT_EQ(second.error(), "");
    EXPECT_NE(second.copyPath(), firstCopy);
    EXPECT_EQ(second.write(sampleCopy()), "");
    EXPECT_TRUE(second.claimLeftCopies().empty());

    // The first window goes as in a crash: its files stay, its lock goes.
    first.reset();
    std::vector<LeftCopy> left = second.claimLeftCopies();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path(), firstCopy);
    ASSERT_TRUE(left[0].read());
    expectSame(*left[0].read(), sampleCopy());

    // While this window holds it, a third window starting does not get it too.
    RecoveryStore third(folder());
    EXPECT_TRUE(third.claimLeftCopies().empty());
    // Let go without a decision, it is there for the next one.
    left.clear();
    left = third.claimLeftCopies();
    ASSERT_EQ(left.size(), 1u);
    left[0].discard();
    EXPECT_FALSE(fs::exists(firstCopy));
    EXPECT_TRUE(third.claimLeftCopies().empty());

    // Save: the copy goes, the lock stays. Quit: both go.
    second.remove();
    EXPECT_FALSE(fs::exists(second.copyPath()));
    EXPECT_EQ(second.write(sampleCopy()), "");
    second.close();
    third.close();
    EXPECT_TRUE(filesIn(folder()).empty());
}

TEST_F(RecoveryStoreTest, ACopyOfAKilledProcessIsClaimedWhateverItsPidSays) {
    RecoveryStore self(folder());
    for (int child = 0; child < 2; ++child) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            RecoveryStore store(folder());
            RecoveryCopy copy = sampleCopy();
            copy.name = child ? "deux()" : "un()";
            // Its pid names a live process (this test): the lock alone decides.
            copy.ownerPid = ::getppid();
            store.write(copy);
            ::kill(::getpid(), SIGKILL);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        ASSERT_TRUE(WIFSIGNALED(status));
    }
    std::vector<LeftCopy> left = self.claimLeftCopies();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].read()->ownerPid, ::getpid());
    // The newest first, whichever it is.
    for (const std::string older : {"un()", "deux()"}) {
        for (const LeftCopy& c : left)
            fs::last_write_time(c.path(), fs::file_time_type::clock::now() -
                                              std::chrono::hours(c.read()->name == older ? 2 : 1));
        left.clear();
        left = self.claimLeftCopies();
        ASSERT_EQ(left.size(), 2u);
        EXPECT_NE(left[0].read()->name, older);
        EXPECT_EQ(left[1].read()->name, older);
    }
}

TEST_F(RecoveryStoreTest, DamageIsSetAsideAndLeftoversOfDeadWindowsGo) {
    RecoveryStore self(folder());
    // A damaged copy, a lone lock file, a copy cut short while written, a file of the user's.
    ScratchDir::write(folder() + "/korvane-1-0-a.krec", encodeRecoveryCopy(sampleCopy()).substr(0, 60));
    ScratchDir::write(folder() + "/korvane-2-0-b.lock", "");
    ScratchDir::write(folder() + "/korvane-3-0-c.lock", "");
    ScratchDir::write(folder() + "/korvane-3-0-c.krec.korvane-tmp", "KORVANE");
    ScratchDir::write(folder() + "/notes.txt", "mine");
    std::vector<LeftCopy> left = self.claimLeftCopies();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_FALSE(left[0].read());
    EXPECT_EQ(left[0].setAside(), folder() + "/korvane-1-0-a.krec.damaged");
    left.clear();
    EXPECT_TRUE(self.claimLeftCopies().empty());
    self.close();
    EXPECT_EQ(filesIn(folder()), (std::vector<std::string>{"korvane-1-0-a.krec.damaged", "notes.txt"}));
}

}  // namespace
}  // namespace korvane
