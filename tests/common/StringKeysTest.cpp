// Every key that the code looks up must have a text in the string table.
#include "common/Localization.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace zentrova {
namespace {
namespace fs = std::filesystem;

std::set<std::string> keysUsedInSources() {
    // localized("key"), localizedFormat("key"...), TextKey{"key"} and the
    // Qt helpers uiText("key") and uiFormat("key", ...).
    const std::regex use(R"re((?:localized|uiText|uiFormat|TextKey\s*\{)\s*\(?\s*"([^"]+)")re");
    std::set<std::string> keys;
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(ZENTROVA_SOURCE_DIR) / "src")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string source = text.str();
        for (std::sregex_iterator it(source.begin(), source.end(), use), end; it != end; ++it) {
            keys.insert((*it)[1].str());
        }
    }
    return keys;
}

TEST(StringKeysTest, EveryKeyUsedInTheCodeHasAText) {
    std::set<std::string> used = keysUsedInSources();
    ASSERT_FALSE(used.empty()) << "the scan found no key at all; the pattern is broken";
    EXPECT_TRUE(used.count("filelist.mode")) << "a known use was not found";
    for (const std::string& key : used) {
        EXPECT_TRUE(hasLocalizedText(key)) << "no text for key \"" << key << "\"";
    }
}

TEST(StringKeysTest, EveryKeyInTheTableHasAText) {
    for (const std::string& key : localizedKeys()) {
        EXPECT_TRUE(hasLocalizedText(key)) << key;
    }
}

}  // namespace
}  // namespace zentrova
