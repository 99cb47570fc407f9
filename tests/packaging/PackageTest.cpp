#include "packaging/InstalledFiles.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zentrova {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::words;
using tools::ChildProcess;
using tools::ProcessResult;

const std::string kPackage = ZENTROVA_PACKAGE_FILE;

std::string run(const std::vector<std::string>& arguments) {
    const ProcessResult result = ChildProcess::run(arguments);
    EXPECT_TRUE(result.succeeded()) << arguments.front() << " " << arguments.at(1) << ": " << result.errorOutput;
    return result.output;
}

std::string controlField(const std::string& name) {
    std::string value = run({"dpkg-deb", "--field", kPackage, name});
    while (!value.empty() && value.back() == '\n') value.pop_back();
    return value;
}

// The package names in a relation field, with the relation each has.
std::map<std::string, std::string> relations(const std::string& field) {
    std::map<std::string, std::string> out;
    std::size_t start = 0;
    while (start < field.size()) {
        std::size_t end = field.find(',', start);
        if (end == std::string::npos) end = field.size();
        std::string relation = field.substr(start, end - start);
        relation.erase(0, relation.find_first_not_of(' '));
        const std::size_t nameEnd = relation.find_first_of(" (");
        out[relation.substr(0, nameEnd)] = nameEnd == std::string::npos ? "" : relation.substr(nameEnd);
        start = end + 1;
    }
    return out;
}

// "libglib2.0-bin" -> "libglib20bin": test names take letters and digits only.
std::string packageTestName(std::string name) {
    std::erase_if(name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); });
    return name;
}

// A package unpacked into a fresh folder, as dpkg would install it.
class UnpackedPackage {
public:
    UnpackedPackage() { m_unpacked = ChildProcess::run({"dpkg", "--extract", kPackage, m_root.str()}).succeeded(); }
    bool unpacked() const { return m_unpacked; }
    std::string program(const std::string& name) const { return (m_root.path() / "usr/bin" / name).string(); }

private:
    TempDir m_root;
    bool m_unpacked = false;
};

TEST(PackageTest, FileIsNamedAfterPackageVersionAndArchitecture) {
    EXPECT_EQ(fs::path(kPackage).filename().string(),
              "zentrova_" ZENTROVA_PROJECT_VERSION "_" ZENTROVA_DEB_ARCH ".deb");
    EXPECT_TRUE(fs::is_regular_file(kPackage));
}

struct FieldCase {
    const char* field;
    const char* expected;
};

class PackageFieldTest : public ::testing::TestWithParam<FieldCase> {};

TEST_P(PackageFieldTest, HasTheExpectedValue) { EXPECT_EQ(controlField(GetParam().field), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Control, PackageFieldTest,
                         ::testing::Values(FieldCase{"Package", "zentrova"},
                                           FieldCase{"Version", ZENTROVA_PROJECT_VERSION},
                                           FieldCase{"Architecture", ZENTROVA_DEB_ARCH},
                                           FieldCase{"Section", "video"}),
                         [](const auto& info) { return std::string(info.param.field); });

// What the programs run or load at run time without linking to it, and
// the helper process of Qt WebEngine.
class RuntimeDependencyTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RuntimeDependencyTest, IsInDepends) {
    if (!ZENTROVA_WITH_UI && std::string(GetParam()).starts_with("libqt6")) GTEST_SKIP() << "no application";
    EXPECT_TRUE(relations(controlField("Depends")).contains(GetParam())) << controlField("Depends");
}

INSTANTIATE_TEST_SUITE_P(Programs, RuntimeDependencyTest,
                         ::testing::Values("vlc-plugin-base", "libqt6webenginecore6-bin", "udisks2", "libglib2.0-bin",
                                           "dosfstools", "pkexec"),
                         [](const auto& info) { return packageTestName(info.param); });

// Version bounds on the libraries show that the list was computed from the
// programs' symbols, not written by hand.
class LibraryDependencyTest : public ::testing::TestWithParam<const char*> {};

TEST_P(LibraryDependencyTest, IsComputedWithAVersionBound) {
    const std::string library = GetParam();
    if (!ZENTROVA_WITH_UI && library != "libc6" && library != "libstdc++6") GTEST_SKIP() << "no application";
    const auto depends = relations(controlField("Depends"));
    ASSERT_TRUE(depends.contains(library)) << controlField("Depends");
    EXPECT_TRUE(depends.at(library).starts_with(" (>= ")) << depends.at(library);
}

INSTANTIATE_TEST_SUITE_P(Linked, LibraryDependencyTest,
                         ::testing::Values("libc6", "libstdc++6", "libvlc5", "libqt6widgets6", "libqt6webenginecore6",
                                           "libqt6svg6", "libqt6printsupport6", "libyuv0", "libcups2"),
                         [](const auto& info) { return packageTestName(info.param); });

// Helpers the application works without: the plugin cache tool, and the
// desktop's opener for a captured picture.
class RecommendedPackageTest : public ::testing::TestWithParam<const char*> {};

TEST_P(RecommendedPackageTest, IsInRecommends) {
    EXPECT_TRUE(relations(controlField("Recommends")).contains(GetParam())) << controlField("Recommends");
}

INSTANTIATE_TEST_SUITE_P(Helpers, RecommendedPackageTest, ::testing::Values("libvlc-bin", "xdg-utils"),
                         [](const auto& info) { return packageTestName(info.param); });

TEST(PackageTest, HoldsTheInstallTreeOwnedByRoot) {
    std::set<std::string> files;
    std::istringstream listing(run({"dpkg-deb", "--contents", kPackage}));
    for (std::string line; std::getline(listing, line);) {
        const std::vector<std::string> fields = words(line);
        ASSERT_GE(fields.size(), 6u) << line;
        EXPECT_EQ(fields[1], "root/root") << line;
        if (fields[0].starts_with('-')) files.insert(fields.back().substr(2));  // "./usr/..." -> "usr/..."
    }
    EXPECT_EQ(files, test::expectedInstalledFiles());
}

TEST(UnpackedPackageTest, CliTellsItsVersion) {
    const UnpackedPackage package;
    ASSERT_TRUE(package.unpacked());
    EXPECT_EQ(run({package.program("zentrova-cli"), "--version"}), "zentrova-cli " ZENTROVA_PROJECT_VERSION "\n");
}

TEST(UnpackedPackageTest, CliScansAGeneratedCardAsTheBuildDoes) {
    const UnpackedPackage package;
    ASSERT_TRUE(package.unpacked());
    const TempDir card;
    run({std::string(ZENTROVA_BIN_DIR) + "/zentrova-samplecard", "--count", "1", "--duration", "1", card.str()});
    const std::string scanned = run({package.program("zentrova-cli"), "scan", card.str()});
    EXPECT_NE(scanned.find("8 files, 5 recordings (3 with front and rear)"), std::string::npos) << scanned;
    EXPECT_EQ(scanned, run({std::string(ZENTROVA_BIN_DIR) + "/zentrova-cli", "scan", card.str()}));
}

TEST(UnpackedPackageTest, ApplicationStartsAndTellsItsVersion) {
    if (!ZENTROVA_WITH_UI) GTEST_SKIP() << "built without the application";
    const UnpackedPackage package;
    ASSERT_TRUE(package.unpacked());
    EXPECT_EQ(run({package.program("zentrova"), "--version"}), "Zentrova " ZENTROVA_PROJECT_VERSION "\n");
}

}  // namespace
}  // namespace zentrova
