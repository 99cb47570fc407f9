#include "card/linux/LinuxCommandRunner.h"
#include "support/FileText.h"

#include "card/CommandLineSplitter.h"
#include "common/Localization.h"
#include "common/Log.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace zentrova {
namespace {
namespace fs = std::filesystem;

void writeScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    fs::permissions(path, fs::perms::owner_all);
}

class LinuxCommandRunnerTest : public ::testing::Test {
protected:
    void SetUp() override {
        setLogSink([this](std::string_view line) { m_log.emplace_back(line); });
    }
    void TearDown() override { setLogSink({}); }

    std::vector<std::string> m_log;
    test::TempDir m_dir;
};

TEST_F(LinuxCommandRunnerTest, ASuccessfulCommandGivesEmptyInformationAndLogsIt) {
    LinuxCommandRunner runner;
    const ScriptErrorInfo info = runner.runShellScript("true", false);
    EXPECT_TRUE(info.empty());
    EXPECT_EQ(m_log, std::vector<std::string>{"ERROR={}"});
}

TEST_F(LinuxCommandRunnerTest, AFailingCommandGivesItsExitStatus) {
    LinuxCommandRunner runner;
    const ScriptErrorInfo info = runner.runShellScript("false", false);
    EXPECT_EQ(info.errorNumber, 1);
    EXPECT_EQ(info.errorMessage, fillFormat(localized("msg.command_failed_fmt"), {"1"}));
    ASSERT_EQ(m_log.size(), 1U);
    EXPECT_EQ(m_log[0], "ERROR={NSAppleScriptErrorMessage = \"" + *info.errorMessage +
                            "\"; NSAppleScriptErrorNumber = 1;}");
}

TEST_F(LinuxCommandRunnerTest, TheErrorOutputIsTheMessage) {
    LinuxCommandRunner runner;
    const ScriptErrorInfo info = runner.runShellScript("sh -c \"echo 'no medium' >&2; exit 3\"", false);
    EXPECT_EQ(info.errorNumber, 3);
    EXPECT_EQ(info.errorMessage, "no medium");
}

TEST_F(LinuxCommandRunnerTest, AMissingProgramCannotBeRun) {
    LinuxCommandRunner runner;
    const ScriptErrorInfo info = runner.runShellScript("zentrova-no-such-program --flag", false);
    EXPECT_EQ(info.errorNumber, 127);
    ASSERT_TRUE(info.errorMessage);
    EXPECT_NE(info.errorMessage->find("zentrova-no-such-program"), std::string::npos);
    EXPECT_EQ(m_log.size(), 1U);
}

TEST_F(LinuxCommandRunnerTest, AnUnclosedQuotationMarkRunsNothing) {
    LinuxCommandRunner runner;
    const ScriptErrorInfo info = runner.runShellScript("touch \"" + (m_dir.path() / "x").string(), false);
    EXPECT_FALSE(info.empty());
    EXPECT_FALSE(fs::exists(m_dir.path() / "x"));
    EXPECT_EQ(m_log.size(), 1U);
}

TEST_F(LinuxCommandRunnerTest, AKilledCommandFails) {
    LinuxCommandRunner runner;
    const ScriptErrorInfo info = runner.runShellScript("sh -c \"kill -TERM $$\"", false);
    EXPECT_EQ(info.errorNumber, 128 + 15);
    EXPECT_TRUE(info.errorMessage);
}

TEST_F(LinuxCommandRunnerTest, ArgumentsReachTheProgramUnchangedAndNoShellSeesThem) {
    const fs::path record = m_dir.path() / "record";
    const fs::path out = m_dir.path() / "args";
    writeScript(record, "out=\"$1\"; shift\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$out\"\n");
    LinuxCommandRunner runner;
    const std::string line = record.string() + " " + out.string() +
                             " \"a b\" \"it's\" 'say \"hi\"' '$(touch pwned)' 'x;touch pwned' '*' ~ back\\ slash";
    EXPECT_TRUE(runner.runShellScript(line, false).empty());
    EXPECT_EQ(test::fileText(out), "a b\nit's\nsay \"hi\"\n$(touch pwned)\nx;touch pwned\n*\n~\nback slash\n");
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(fs::exists(m_dir.path() / "pwned"));
}

TEST_F(LinuxCommandRunnerTest, LargeOutputOnBothStreamsDoesNotStall) {
    LinuxCommandRunner runner;
    const ScriptErrorInfo info = runner.runShellScript(
        "sh -c \"head -c 300000 /dev/zero; head -c 300000 /dev/zero | tr '\\0' x >&2; exit 4\"", false);
    EXPECT_EQ(info.errorNumber, 4);
    ASSERT_TRUE(info.errorMessage);
    EXPECT_EQ(info.errorMessage->size(), 300000U);
}

class PrivilegedRunTest : public LinuxCommandRunnerTest {
protected:
    void SetUp() override {
        LinuxCommandRunnerTest::SetUp();
        m_bin = m_dir.mkdir("bin");
        const char* path = std::getenv("PATH");
        m_oldPath = path ? path : "";
        ::setenv("PATH", (m_bin.string() + ":" + m_oldPath).c_str(), 1);
    }
    void TearDown() override {
        ::setenv("PATH", m_oldPath.c_str(), 1);
        LinuxCommandRunnerTest::TearDown();
    }

    // A stand-in for the elevation tool that notes its arguments.
    void fakeElevation(const std::string& then) {
        writeScript(m_bin / "pkexec", "printf '%s\\n' \"$@\" > \"" + calls().string() + "\"\n" + then);
    }
    fs::path calls() const { return m_dir.path() / "pkexec-calls"; }

    LinuxCommandRunner elevatingRunner() { return LinuxCommandRunner({{"pkexec"}, false}); }

    fs::path m_bin;
    std::string m_oldPath;
};

TEST_F(PrivilegedRunTest, PrivilegesAddTheElevationTool) {
    fakeElevation("exec \"$@\"\n");
    const fs::path made = m_dir.path() / "made by root";
    auto runner = elevatingRunner();
    EXPECT_TRUE(runner.runShellScript("touch '" + made.string() + "'", true).empty());
    EXPECT_EQ(test::fileText(calls()), "touch\n" + made.string() + "\n");
    EXPECT_TRUE(fs::exists(made));
}

TEST_F(PrivilegedRunTest, WithoutPrivilegesTheToolIsNotUsed) {
    fakeElevation("exec \"$@\"\n");
    auto runner = elevatingRunner();
    EXPECT_TRUE(runner.runShellScript("true", false).empty());
    EXPECT_FALSE(fs::exists(calls()));
}

TEST_F(PrivilegedRunTest, ADismissedDialogIsReadable) {
    fakeElevation("echo 'Error executing command as another user: Request dismissed' >&2\nexit 126\n");
    auto runner = elevatingRunner();
    const ScriptErrorInfo info = runner.runShellScript("/usr/sbin/mkfs.fat /dev/sdz1", true);
    EXPECT_EQ(info.errorNumber, 126);
    EXPECT_EQ(info.errorMessage, localized("msg.admin_dismissed") +
                                     "\nError executing command as another user: Request dismissed");
}

TEST_F(PrivilegedRunTest, ARefusedAuthorisationIsReadable) {
    fakeElevation("exit 127\n");
    auto runner = elevatingRunner();
    const ScriptErrorInfo info = runner.runShellScript("/usr/sbin/mkfs.fat /dev/sdz1", true);
    EXPECT_EQ(info.errorNumber, 127);
    EXPECT_EQ(info.errorMessage, localized("msg.admin_not_authorized"));
}

TEST_F(PrivilegedRunTest, TheStatusOfTheElevatedCommandComesBack) {
    fakeElevation("exec \"$@\"\n");
    auto runner = elevatingRunner();
    const ScriptErrorInfo info = runner.runShellScript("false", true);
    EXPECT_EQ(info.errorNumber, 1);
}

TEST(ElevationPrefixTest, RootNeedsNoElevation) {
    LinuxCommandRunner runner;
    const auto arguments = runner.commandArguments({"mkfs.fat"}, true);
    if (::geteuid() == 0) {
        EXPECT_EQ(arguments, std::vector<std::string>{"mkfs.fat"});
    } else {
        EXPECT_EQ(arguments, (std::vector<std::string>{"pkexec", "mkfs.fat"}));
    }
}

struct SplitCase {
    const char* line;
    std::optional<std::vector<std::string>> words;
};

class SplitCommandLineTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitCommandLineTest, SplitsLikeShellWordsWithoutExpansion) {
    EXPECT_EQ(splitCommandLine(GetParam().line), GetParam().words);
}

using Words = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Cases, SplitCommandLineTest,
    ::testing::Values(SplitCase{"udisksctl unmount -b /dev/sdb1", Words{"udisksctl", "unmount", "-b", "/dev/sdb1"}},
                      SplitCase{"  a\t b  ", Words{"a", "b"}}, SplitCase{"a\"b c\"d", Words{"ab cd"}},
                      SplitCase{"a '' b", Words{"a", "", "b"}}, SplitCase{"a \\\" b", Words{"a", "\"", "b"}},
                      SplitCase{"echo $HOME;ls|wc", Words{"echo", "$HOME;ls|wc"}}, SplitCase{"", std::nullopt},
                      SplitCase{"   ", std::nullopt}, SplitCase{"a 'b", std::nullopt},
                      SplitCase{"a \\", std::nullopt}));

}  // namespace
}  // namespace zentrova
