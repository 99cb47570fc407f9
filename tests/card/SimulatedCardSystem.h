#pragma once

#include "card/CommandRunner.h"
#include "card/VolumeSource.h"
#include "card/linux/LinuxCommandRunner.h"
#include "support/TempDir.h"

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zentrova::test {

// One card as the simulated system has it: a folder stands for its mounted
// file system.
struct SimulatedCard {
    std::string device = "sdb1";
    std::string label = "NO NAME";
    std::optional<std::string> model = std::string("Card Reader");
    std::uint64_t size = 16ULL << 30;
    bool writable = true;
    bool whole = false;
    std::vector<std::string> partitions;
    std::filesystem::path mountFolder;
    bool mounted = true;
    // Why the system has come to rule it out as a card; it is then no
    // longer listed.
    std::optional<CardExclusion> refusedAs;

    static SimulatedCard on(std::string device) {
        SimulatedCard card;
        card.device = std::move(device);
        return card;
    }
    SimulatedCard labelled(std::string name) && { label = std::move(name); return std::move(*this); }
    SimulatedCard sized(std::uint64_t bytes) && { size = bytes; return std::move(*this); }
    SimulatedCard withoutModel() && { model.reset(); return std::move(*this); }
    SimulatedCard writeProtected() && { writable = false; return std::move(*this); }
    SimulatedCard wholeMedium(std::vector<std::string> names) && {
        whole = true;
        partitions = std::move(names);
        return std::move(*this);
    }
};

// The system under the card windows: the volumes it lists and the commands
// run on it. udisksctl unmount and mount act on the cards as the real tool
// would; the format either runs the real mkfs.fat on a disk image standing
// in for the device, or, without an image, only relabels and empties the
// card. Each argument vector is kept, and any command can be made to fail.
// The worker thread and the test take turns, guarded by one lock.
class SimulatedCardSystem {
public:
    class Volumes : public VolumeSource {
    public:
        explicit Volumes(SimulatedCardSystem& system) : m_system(system) {}
        std::vector<RemovableVolume> removableVolumes() override { return m_system.removableVolumes(); }
        std::vector<std::string> partitionNames(const std::string& disk) override {
            return m_system.partitionNames(disk);
        }
        std::optional<CardExclusion> cardExclusion(const std::string& device) override {
            return m_system.cardExclusion(device);
        }

    private:
        SimulatedCardSystem& m_system;
    };

    class Runner : public CommandRunner {
    public:
        explicit Runner(SimulatedCardSystem& system) : m_system(system) {}

    protected:
        CommandOutcome runArguments(const std::vector<std::string>& arguments, bool privileged) override {
            return m_system.run(arguments, privileged);
        }

    private:
        SimulatedCardSystem& m_system;
    };

    struct Call {
        std::vector<std::string> arguments;
        bool withAdministratorPrivileges = false;
    };

    static constexpr const char* kMkfs = "/usr/sbin/mkfs.fat";

    SimulatedCardSystem() : volumes(std::make_shared<Volumes>(*this)), runner(std::make_shared<Runner>(*this)) {}

    // A card whose folder holds the given files.
    void addCard(SimulatedCard card, const std::map<std::string, std::string>& files = {}) {
        std::lock_guard<std::mutex> guard(m_lock);
        if (card.mountFolder.empty()) card.mountFolder = m_dir.mkdir("media/user/" + card.device);
        std::filesystem::create_directories(card.mountFolder);
        for (const auto& [name, content] : files) writeFile(card.mountFolder / name, content);
        m_cards.push_back(card);
    }
    SimulatedCard card(std::size_t index = 0) {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_cards.at(index);
    }
    std::vector<Call> calls() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_calls;
    }
    // The command lines that ran, as one text each (program first).
    std::vector<std::string> commandLines() {
        std::vector<std::string> lines;
        for (const Call& call : calls()) {
            std::string line;
            for (const std::string& argument : call.arguments) line += (line.empty() ? "" : " ") + argument;
            lines.push_back(line);
        }
        return lines;
    }

    // The next run of a program whose arguments contain the word ends so.
    void failNext(const std::string& word, int status, const std::string& errorOutput) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_failures[word] = {status, errorOutput};
    }
    // The next run of a program whose arguments contain the word waits
    // until release(), as a slow format does.
    void holdNext(const std::string& word) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_hold = word;
    }
    bool isHolding() {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_holding;
    }
    void release() {
        std::lock_guard<std::mutex> guard(m_lock);
        m_released = true;
        m_releasedChanged.notify_all();
    }

    // The card is taken out: the system no longer knows its device.
    void unplug(const std::string& device) {
        std::lock_guard<std::mutex> guard(m_lock);
        std::erase_if(m_cards, [&](const SimulatedCard& card) { return card.device == device; });
    }
    // From now on the system rules the card out, as when a disk that was
    // listed starts to back a mount of the system.
    void refuse(const std::string& device, CardExclusion why) {
        std::lock_guard<std::mutex> guard(m_lock);
        if (SimulatedCard* card = cardOf(device)) card->refusedAs = std::move(why);
    }
    // After its next mount the card shows up under another device name.
    void comeBackAs(const std::string& device) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_comeBackAs = device;
    }
    // The real mkfs.fat formats this image for the card's device; mounting
    // copies the image's root files into the card's folder with mtools, and
    // unmounting copies the folder's files into the image.
    void formatImageFor(const std::string& device, const std::filesystem::path& image) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_images[device] = image;
    }

    const TempDir& dir() const { return m_dir; }

    std::shared_ptr<Volumes> volumes;
    std::shared_ptr<Runner> runner;

    // Runs a program for real, without elevation.
    static bool runReal(const std::vector<std::string>& arguments) {
        class Real : public LinuxCommandRunner {
        public:
            Real() : LinuxCommandRunner(Options{{}, false}) {}
            CommandOutcome start(const std::vector<std::string>& arguments) { return runArguments(arguments, false); }
        } real;
        const CommandOutcome outcome = real.start(arguments);
        return outcome.kind == CommandOutcome::Kind::Exited && outcome.code == 0;
    }

private:
    static void writeFile(const std::filesystem::path& path, const std::string& content) {
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }

    SimulatedCard* cardOf(const std::string& device) {
        for (SimulatedCard& card : m_cards) {
            if (card.device == device) return &card;
        }
        return nullptr;
    }

    std::vector<RemovableVolume> removableVolumes() {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<RemovableVolume> listed;
        for (const SimulatedCard& card : m_cards) {
            if (!card.mounted || card.refusedAs) continue;
            const std::string folder = card.mountFolder.string();
            listed.push_back({folder, std::string("USB"),
                              TKUSBDiskEntity(card.label, folder, card.device, card.model, card.size, card.writable,
                                              card.whole, "/devices/usb1/" + card.device)});
        }
        return listed;
    }

    std::vector<std::string> partitionNames(const std::string& disk) {
        std::lock_guard<std::mutex> guard(m_lock);
        const SimulatedCard* card = cardOf(disk);
        return card ? card->partitions : std::vector<std::string>{};
    }

    std::optional<CardExclusion> cardExclusion(const std::string& device) {
        std::lock_guard<std::mutex> guard(m_lock);
        const SimulatedCard* card = cardOf(device);
        if (!card) return CardExclusion{CardExclusion::Kind::UnknownDevice, {}};
        if (!card->mounted) return CardExclusion{CardExclusion::Kind::NotMounted, {}};
        return card->refusedAs;
    }

    static std::string deviceOf(const std::string& path) { return path.starts_with("/dev/") ? path.substr(5) : path; }

    CommandOutcome run(const std::vector<std::string>& arguments, bool privileged) {
        std::unique_lock<std::mutex> guard(m_lock);
        m_calls.push_back({arguments, privileged});
        if (m_hold && std::find(arguments.begin(), arguments.end(), *m_hold) != arguments.end()) {
            m_hold.reset();
            m_holding = true;
            m_releasedChanged.wait(guard, [this] { return m_released; });
            m_holding = false;
        }
        for (auto it = m_failures.begin(); it != m_failures.end(); ++it) {
            for (const std::string& argument : arguments) {
                if (argument != it->first) continue;
                CommandOutcome failed;
                failed.code = it->second.first;
                failed.errorOutput = it->second.second;
                m_failures.erase(it);
                return failed;
            }
        }
        if (arguments.size() == 4 && arguments[0] == "udisksctl") {
            const std::string device = deviceOf(arguments[3]);
            if (arguments[1] == "unmount") return unmount(device);
            if (arguments[1] == "mount") return mount(device);
        }
        if (!arguments.empty() && arguments[0] == kMkfs) return format(arguments);
        CommandOutcome unknown;
        unknown.code = 127;
        unknown.errorOutput = "no such program in the simulated system";
        return unknown;
    }

    static CommandOutcome failure(int status, const std::string& text) {
        CommandOutcome outcome;
        outcome.code = status;
        outcome.errorOutput = text;
        return outcome;
    }

    CommandOutcome unmount(const std::string& device) {
        SimulatedCard* card = cardOf(device);
        if (!card || !card->mounted) return failure(1, "Error unmounting /dev/" + device + ": not mounted");
        const auto image = m_images.find(device);
        const std::filesystem::path stash = stashOf(device);
        std::filesystem::create_directories(stash);
        for (const auto& entry : std::filesystem::directory_iterator(card->mountFolder)) {
            if (image != m_images.end()) {
                if (entry.is_regular_file()) {
                    runReal({"mcopy", "-o", "-i", image->second.string(), entry.path().string(),
                             "::" + entry.path().filename().string()});
                }
                std::filesystem::remove_all(entry.path());
            } else {
                std::filesystem::rename(entry.path(), stash / entry.path().filename());
            }
        }
        card->mounted = false;
        return {};
    }

    CommandOutcome mount(const std::string& device) {
        SimulatedCard* card = cardOf(device);
        if (!card || card->mounted) return failure(1, "Error mounting /dev/" + device + ": already mounted");
        if (const auto image = m_images.find(device); image != m_images.end()) {
            card->label = imageLabel(image->second);
            // mcopy fails on a root folder without files; that is an empty card.
            runReal({"mcopy", "-n", "-i", image->second.string(), "::*", card->mountFolder.string()});
        } else if (std::filesystem::exists(stashOf(device))) {
            for (const auto& entry : std::filesystem::directory_iterator(stashOf(device))) {
                std::filesystem::rename(entry.path(), card->mountFolder / entry.path().filename());
            }
        }
        card->mounted = true;
        if (m_comeBackAs) card->device = *std::exchange(m_comeBackAs, std::nullopt);
        return {};
    }

    CommandOutcome format(std::vector<std::string> arguments) {
        const std::string device = deviceOf(arguments.back());
        SimulatedCard* card = cardOf(device);
        if (!card) return failure(1, "mkfs.fat: unable to open " + arguments.back());
        if (card->mounted) return failure(1, "mkfs.fat: " + arguments.back() + " contains a mounted filesystem.");
        if (const auto image = m_images.find(device); image != m_images.end()) {
            arguments.back() = image->second.string();
            return runReal(arguments) ? CommandOutcome{} : failure(1, "mkfs.fat failed on the image");
        }
        card->label = "ZENTROVA";
        std::filesystem::remove_all(stashOf(device));
        return {};
    }

    // Where the files of an unmounted card without an image wait.
    std::filesystem::path stashOf(const std::string& device) const { return m_dir.path() / "unmounted" / device; }

    // The FAT32 volume label in the boot sector (offset 71, 11 bytes).
    static std::string imageLabel(const std::filesystem::path& image) {
        std::ifstream in(image, std::ios::binary);
        std::string label(11, ' ');
        in.seekg(71);
        in.read(label.data(), 11);
        while (!label.empty() && label.back() == ' ') label.pop_back();
        return label;
    }

    std::mutex m_lock;
    TempDir m_dir;
    std::vector<SimulatedCard> m_cards;
    std::vector<Call> m_calls;
    std::map<std::string, std::pair<int, std::string>> m_failures;
    std::map<std::string, std::filesystem::path> m_images;
    std::optional<std::string> m_comeBackAs;
    std::optional<std::string> m_hold;
    bool m_holding = false;
    bool m_released = false;
    std::condition_variable m_releasedChanged;
};

}  // namespace zentrova::test
