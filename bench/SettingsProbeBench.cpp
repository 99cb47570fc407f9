// The settings editor's probe of the card at start-up, which runs on the
// main thread before the window shows: an editor made and released at once
// (the card found, renamed if it must be, its config.bin read).
//  fake    a card in a USB reader of a fake system tree whose files are
//          those of CARD_DIR (the mount location links to it), once named
//          for the camera and once under another name (the rename refused)
//  system  the same probe over this computer's own mounts, sysfs and udev
// It prints the first run and the median and slowest of the others.
// Usage: bench_settings_probe CARD_DIR [--runs N]
#include "common/Log.h"
#include "settings/SettingEditorMaker.h"
#include "support/FakeCard.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace zentrova;

void report(const char* name, const SettingEditorMaker& maker, int runs) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        maker.probeCard();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    const double first = ms.front();
    std::vector<double> rest(ms.begin() + 1, ms.end());
    std::sort(rest.begin(), rest.end());
    const double median = rest.empty() ? first : rest[rest.size() / 2];
    const double slowest = rest.empty() ? first : rest.back();
    std::printf("%-26s first %7.2f ms   median %7.2f ms   slowest %7.2f ms   (%d runs)\n", name, first, median,
                slowest, runs);
}

SettingEditorMaker makerOn(test::FakeCard& card) {
    ORVSettingController::Parts parts;
    parts.volumes = &card.volumes();
    parts.renamer = &card.renamer();
    parts.writer = &card.writer();
    return SettingEditorMaker(std::move(parts));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CARD_DIR [--runs N]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path cardDir = std::filesystem::absolute(argv[1]);
    int runs = 50;
    if (argc >= 4 && std::string(argv[2]) == "--runs") runs = std::max(2, std::atoi(argv[3]));
    if (!std::filesystem::exists(cardDir / "config.bin")) {
        std::fprintf(stderr, "no config.bin in %s\n", cardDir.c_str());
        return 2;
    }
    QApplication app(argc, argv);
    setLogSink([](std::string_view) {});

    for (const char* label : {"ZENTROVA", "NO_NAME"}) {
        test::FakeCard card({.label = label, .withSettingsFile = false});
        std::filesystem::remove(card.mountFolder());
        std::filesystem::create_directory_symlink(cardDir, card.mountFolder());
        const SettingEditorMaker maker = makerOn(card);
        report((std::string("fake card named ") + label).c_str(), maker, runs);
    }
    const auto system = SettingEditorMaker::forSystem();
    report("this computer's volumes", *system, runs);
    return 0;
}
