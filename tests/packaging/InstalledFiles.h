#pragma once

#include "ChildProcess.h"

#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace zentrova::test {

// The hicolor sizes that desktops and software centres look up.
inline const std::vector<int>& expectedIconSizes() {
    static const std::vector<int> sizes{16, 22, 24, 32, 48, 64, 128, 256, 512};
    return sizes;
}

inline std::string iconPath(int size) {
    return "usr/share/icons/hicolor/" + std::to_string(size) + "x" + std::to_string(size) + "/apps/" +
           ZENTROVA_APP_ID + ".png";
}

// Every file an installation holds, relative to the root of the system.
inline std::set<std::string> expectedInstalledFiles() {
    std::set<std::string> files{
        "usr/bin/zentrova-cli",
        "usr/share/man/man1/zentrova-cli.1.gz",
        "usr/share/doc/zentrova/copyright",
        "usr/share/doc/zentrova/changelog.gz",
    };
    if (ZENTROVA_WITH_UI) {
        const std::string id = ZENTROVA_APP_ID;
        files.insert({"usr/bin/zentrova", "usr/share/man/man1/zentrova.1.gz",
                      "usr/share/applications/" + id + ".desktop", "usr/share/metainfo/" + id + ".metainfo.xml",
                      "usr/share/icons/hicolor/scalable/apps/" + id + ".svg",
                      // The video output that hands libVLC's pictures to the views.
                      ZENTROVA_VLC_PLUGIN_FILE});
        for (int size : expectedIconSizes()) files.insert(iconPath(size));
    }
    return files;
}

inline std::vector<std::string> words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> out;
    for (std::string word; in >> word;) out.push_back(word);
    return out;
}

// A man page as plain ASCII text (man writes no emphasis into a pipe),
// unjustified and unhyphenated so that its words are the source's words.
inline tools::ProcessResult renderManPage(const std::string& path) {
    return tools::ChildProcess::run({"env", "LC_ALL=C", "man", "--nj", "--nh", "-l", path});
}

// What lintian runs: groff's warnings about the page's source.
inline tools::ProcessResult manPageWarnings(const std::string& path) {
    return tools::ChildProcess::run({"env", "LC_ALL=C.UTF-8", "man", "--warnings", "-E", "UTF-8", "-l", "-Tutf8", "-Z", path});
}

}  // namespace zentrova::test
