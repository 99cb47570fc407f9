#pragma once

#include "card/FakeSystemTree.h"
#include "card/RecordingCommandRunner.h"
#include "card/linux/LinuxVolumeRenamer.h"
#include "card/linux/LinuxVolumeSource.h"
#include "common/linux/PosixAtomicFileWriter.h"
#include "settings/FILEDATA.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace zentrova::test {

// The camera's card as the computer sees it, for tests of whatever looks for
// the card and edits its config.bin.
//
// It is a fake system tree (mount table, sysfs, udev database; see
// FakeSystemTree) in which the card is mounted where the desktop mounts
// removable media, /media/user/LABEL. volumes() reads that tree as the
// application reads the real system, so the card's mount location, as the
// volumes report it, is a temporary folder: mountFolder(). That folder holds
// config.bin, the factory record with the test's edit applied:
//
//     test::FakeCard card({.edit = [](FILEDATA& r) { r.vid_brightness = 4; }});
//     parts.volumes = &card.volumes();
//     parts.renamer = &card.renamer();   // real renamer; commands recorded, never run
//     parts.writer = &card.writer();
//     ... card.settingsBytes() after a save ...
//
// Slot::None gives a system without any card; Slot::SystemDisk a volume
// mounted at a card's place but on the disk the system runs from, which is
// never a card.
class FakeCard {
public:
    enum class Slot { UsbReader, SdSlot, SystemDisk, None };

    struct Options {
        std::string label = "ZENTROVA";
        Slot slot = Slot::UsbReader;
        // The card's lock switch: the device is read-only.
        bool writeProtected = false;
        bool withSettingsFile = true;
        // Applied to the factory record before it is written.
        std::function<void(FILEDATA&)> edit = {};
    };

    FakeCard() : FakeCard(Options{}) {}
    explicit FakeCard(Options options)
        : m_options(std::move(options)),
          m_volumes(m_tree.root()),
          m_renamer(m_runner, LinuxVolumeRenamer::Options{m_tree.root(), [](const std::filesystem::path&) {
                                                               return false;
                                                           },
                                                           std::nullopt}) {
        addSystemDisk();
        if (m_options.slot == Slot::None) return;
        addCard();
        m_tree.dir().mkdir(mountRelative());
        if (m_options.withSettingsFile) {
            resetFileData(m_record);
            if (m_options.edit) m_options.edit(m_record);
            writeSettings(m_record);
        }
    }

    VolumeSource& volumes() { return m_volumes; }
    VolumeRenamer& renamer() { return m_renamer; }
    AtomicFileWriter& writer() { return m_writer; }
    // Every command the renamer would have run.
    const std::vector<RecordingCommandRunner::Call>& commandsRun() const { return m_runner.calls; }

    std::string mountFolder() const { return (m_tree.dir().path() / mountRelative()).string(); }
    std::string settingsPath() const { return (std::filesystem::path(mountFolder()) / "config.bin").string(); }
    // The record config.bin was written with.
    const FILEDATA& writtenRecord() const { return m_record; }

    void writeSettings(const FILEDATA& record) const {
        const FileDataBytes bytes = fileDataBytes(record);
        std::ofstream(settingsPath(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // The bytes of config.bin as they are now (empty when there is none).
    std::vector<std::uint8_t> settingsBytes() const {
        std::ifstream in(settingsPath(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // Puts a file on the card ("DrvInfo/zentrova_000.drv").
    std::string addFile(const std::string& relative, const std::string& content = "") const {
        return m_tree.dir().touch(mountRelative() + "/" + relative, content).string();
    }

private:
    using Device = FakeSystemTree::Device;

    std::string mountRelative() const { return "media/user/" + m_options.label; }

    void addSystemDisk() {
        m_tree.addDisk("pci0000:00/ata1/host0", Device{"sda", 8, 0, 1000215216, false, false, {{"ID_BUS", "ata"}}});
        m_tree.addPartition("sda", Device{"sda1", 8, 1, 999999999, false, false, {{"ID_BUS", "ata"}}}, 1);
        m_tree.mountVirtual("/proc", "proc");
        m_tree.mount("sda1", 8, 1, "/", "ext4");
    }

    void addCard() {
        const std::map<std::string, std::string> volume = {{"ID_FS_LABEL", m_options.label}, {"ID_FS_TYPE", "vfat"}};
        const bool ro = m_options.writeProtected;
        switch (m_options.slot) {
            case Slot::UsbReader: {
                std::map<std::string, std::string> usb = volume;
                usb["ID_BUS"] = "usb";
                m_tree.addDisk("pci0000:00/usb1/1-1/host6",
                               Device{"sdb", 8, 16, 15560000, ro, true, {{"ID_BUS", "usb"}}}, "Card Reader");
                m_tree.addPartition("sdb", Device{"sdb1", 8, 17, 15558144, ro, false, usb}, 1);
                m_tree.mount("sdb1", 8, 17, "/" + mountRelative());
                break;
            }
            case Slot::SdSlot:
                m_tree.addDisk("platform/mmc0", Device{"mmcblk0", 179, 0, 31116288, ro, true, {}});
                m_tree.setAttribute("mmcblk0", "device/type", "SD");
                m_tree.addPartition("mmcblk0", Device{"mmcblk0p1", 179, 1, 31108096, ro, false, volume}, 1);
                m_tree.mount("mmcblk0p1", 179, 1, "/" + mountRelative());
                break;
            case Slot::SystemDisk:
                m_tree.addPartition("sda", Device{"sda2", 8, 2, 1000000, ro, false, volume}, 2);
                m_tree.mount("sda2", 8, 2, "/" + mountRelative());
                break;
            case Slot::None:
                break;
        }
    }

    Options m_options;
    FakeSystemTree m_tree;
    LinuxVolumeSource m_volumes;
    RecordingCommandRunner m_runner;
    LinuxVolumeRenamer m_renamer;
    PosixAtomicFileWriter m_writer;
    FILEDATA m_record{};
};

}  // namespace zentrova::test
