#include "packaging/InstalledFiles.h"

#include "support/FileText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <regex>
#include <string>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using test::expectedInstalledFiles;
using test::fileText;
using test::words;
using tools::ChildProcess;
using tools::ProcessResult;

const fs::path kRoot = ZENTROVA_INSTALL_ROOT;
const std::string kId = ZENTROVA_APP_ID;

std::set<std::string> installedFiles() {
    std::set<std::string> files;
    std::error_code ec;
    for (const auto& entry : fs::recursive_directory_iterator(kRoot, ec)) {
        if (!entry.is_directory()) files.insert(fs::relative(entry.path(), kRoot).string());
    }
    return files;
}

// The width and height from a PNG's IHDR chunk; 0x0 for anything else.
std::pair<std::uint32_t, std::uint32_t> pngSize(const std::string& bytes) {
    static const std::string kSignature = "\x89PNG\r\n\x1a\n";
    if (bytes.size() < 24 || bytes.compare(0, 8, kSignature) != 0 || bytes.compare(12, 4, "IHDR") != 0) return {0, 0};
    auto bigEndian = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    return {bigEndian(16), bigEndian(20)};
}

std::map<std::string, std::string> desktopEntry(const std::string& text) {
    std::map<std::string, std::string> keys;
    std::istringstream in(text);
    bool inEntry = false;
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with('[')) inEntry = line == "[Desktop Entry]";
        const std::size_t equals = line.find('=');
        if (inEntry && equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return keys;
}

std::string firstMatch(const std::string& text, const std::string& pattern) {
    std::smatch match;
    return std::regex_search(text, match, std::regex(pattern)) ? match[1].str() : std::string();
}

bool containsInOrder(const std::vector<std::string>& haystack, const std::vector<std::string>& needle) {
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end()) != haystack.end();
}

// The help's words without its "usage:" labels, which the page replaces by
// its SYNOPSIS heading.
std::vector<std::string> helpWords(const std::string& help) {
    std::vector<std::string> all = words(help);
    std::erase(all, "usage:");
    return all;
}

std::string runInstalled(const std::vector<std::string>& arguments) {
    std::vector<std::string> command{(kRoot / "usr/bin" / arguments.front()).string()};
    command.insert(command.end(), arguments.begin() + 1, arguments.end());
    const ProcessResult run = ChildProcess::run(command);
    EXPECT_TRUE(run.succeeded()) << arguments.front() << ": " << run.errorOutput;
    return run.output;
}

TEST(InstallTreeTest, InstallsExactlyTheProgramsAndDesktopFiles) {
    EXPECT_EQ(installedFiles(), expectedInstalledFiles());
}

TEST(InstallTreeTest, ProgramsAreExecutable) {
    for (const char* program : {"usr/bin/zentrova-cli", "usr/bin/zentrova"}) {
        if (!ZENTROVA_WITH_UI && std::string(program) == "usr/bin/zentrova") continue;
        SCOPED_TRACE(program);
        const fs::perms perms = fs::status(kRoot / program).permissions();
        EXPECT_NE(perms & fs::perms::others_exec, fs::perms::none);
    }
}

class InstalledIconTest : public ::testing::TestWithParam<int> {};

TEST_P(InstalledIconTest, PngHasTheSizeOfItsFolder) {
    const int size = GetParam();
    const auto [width, height] = pngSize(fileText(kRoot / test::iconPath(size)));
    EXPECT_EQ(width, static_cast<std::uint32_t>(size));
    EXPECT_EQ(height, static_cast<std::uint32_t>(size));
}

INSTANTIATE_TEST_SUITE_P(Sizes, InstalledIconTest, ::testing::ValuesIn(test::expectedIconSizes()),
                         [](const auto& info) { return "Size" + std::to_string(info.param); });

class DesktopInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ZENTROVA_WITH_UI) GTEST_SKIP() << "built without the application";
    }
};

TEST_F(DesktopInstallTest, MenuEntryStartsTheInstalledProgramWithTheThemeIcon) {
    const auto entry = desktopEntry(fileText(kRoot / ("usr/share/applications/" + kId + ".desktop")));
    ASSERT_TRUE(entry.contains("Exec"));
    const std::string exec = entry.at("Exec");
    EXPECT_EQ(exec, "zentrova %f");
    EXPECT_TRUE(fs::exists(kRoot / "usr/bin" / exec.substr(0, exec.find(' '))));
    EXPECT_EQ(entry.at("Categories"), "AudioVideo;Video;Player;");
    EXPECT_EQ(entry.at("Icon"), kId);
    EXPECT_TRUE(fs::exists(kRoot / ("usr/share/icons/hicolor/scalable/apps/" + entry.at("Icon") + ".svg")));
    for (const char* key : {"Name", "GenericName", "Comment"}) {
        EXPECT_TRUE(entry.contains(key) && !entry.at(key).empty()) << key;
    }
}

TEST_F(DesktopInstallTest, MetainfoNamesTheMenuEntryAndThisRelease) {
    const std::string metainfo = fileText(kRoot / ("usr/share/metainfo/" + kId + ".metainfo.xml"));
    EXPECT_EQ(firstMatch(metainfo, "<id>([^<]*)</id>"), kId);
    EXPECT_EQ(firstMatch(metainfo, "<launchable type=\"desktop-id\">([^<]*)</launchable>"), kId + ".desktop");
    EXPECT_EQ(firstMatch(metainfo, "<release version=\"([^\"]*)\""), ZENTROVA_PROJECT_VERSION);
    EXPECT_NE(firstMatch(metainfo, "<image>(https://[^<]*\\.png)</image>"), "");
    EXPECT_EQ(runInstalled({"zentrova-cli", "--version"}), "zentrova-cli " ZENTROVA_PROJECT_VERSION "\n");
}

class ManPageWarningsTest : public ::testing::TestWithParam<const char*> {};

TEST_P(ManPageWarningsTest, RendersWithoutGroffWarnings) {
    const std::string page = GetParam();
    if (!ZENTROVA_WITH_UI && page == "zentrova.1.gz") GTEST_SKIP() << "built without the application";
    const ProcessResult run = test::manPageWarnings((kRoot / "usr/share/man/man1" / page).string());
    EXPECT_TRUE(run.succeeded()) << run.errorOutput;
    EXPECT_EQ(run.errorOutput, "");
    EXPECT_FALSE(run.output.empty());
}

INSTANTIATE_TEST_SUITE_P(Pages, ManPageWarningsTest, ::testing::Values("zentrova-cli.1.gz", "zentrova.1.gz"),
                         [](const auto& info) { return info.index == 0 ? "Cli" : "Application"; });

TEST(InstalledCliManPageTest, HoldsEveryHelpTextWordForWord) {
    const ProcessResult page = test::renderManPage((kRoot / "usr/share/man/man1/zentrova-cli.1.gz").string());
    ASSERT_TRUE(page.succeeded()) << page.errorOutput;
    const std::vector<std::string> pageWords = words(page.output);

    // The main usage is the SYNOPSIS, the rest of the main help the DESCRIPTION.
    const std::string mainHelp = runInstalled({"zentrova-cli", "--help"});
    const std::size_t usageEnd = mainHelp.find("\n\n");
    EXPECT_TRUE(containsInOrder(pageWords, helpWords(mainHelp.substr(0, usageEnd)))) << "main usage";
    EXPECT_TRUE(containsInOrder(pageWords, helpWords(mainHelp.substr(usageEnd)))) << "main help";
    std::istringstream commands(mainHelp.substr(mainHelp.find("commands:\n") + 10));
    int checked = 0;
    for (std::string line; std::getline(commands, line) && line.starts_with("  ");) {
        const std::string name = words(line).front();
        SCOPED_TRACE(name);
        EXPECT_TRUE(containsInOrder(pageWords, helpWords(runInstalled({"zentrova-cli", name, "--help"}))));
        ++checked;
    }
    EXPECT_GE(checked, 8);
}

TEST(InstalledAppManPageTest, DocumentsEveryOptionOfTheHelp) {
    if (!ZENTROVA_WITH_UI) GTEST_SKIP() << "built without the application";
    const ProcessResult page = test::renderManPage((kRoot / "usr/share/man/man1/zentrova.1.gz").string());
    ASSERT_TRUE(page.succeeded()) << page.errorOutput;
    std::set<std::string> pageWords;
    for (std::string word : words(page.output)) {
        std::erase_if(word, [](char c) { return c == ',' || c == '(' || c == ')' || c == '.'; });
        pageWords.insert(word);
    }
    const std::string help = runInstalled({"zentrova", "--help"});
    std::istringstream in(help);
    int options = 0;
    for (std::string line; std::getline(in, line);) {
        if (!line.starts_with("  -")) continue;
        for (std::string word : words(line)) {
            if (!word.starts_with('-')) break;
            if (word.ends_with(',')) word.pop_back();
            EXPECT_TRUE(pageWords.contains(word)) << word;
            ++options;
        }
    }
    EXPECT_GE(options, 4) << help;
    EXPECT_TRUE(pageWords.contains("directory"));
}

}  // namespace
}  // namespace zentrova
