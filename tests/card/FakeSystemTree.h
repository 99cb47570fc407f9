#pragma once

#include "support/TempDir.h"

#include <filesystem>
#include <map>
#include <string>

namespace zentrova::test {

// A tree of the files the volume discovery reads: the mount table, sysfs
// with its links into /sys/devices, and the udev database.
class FakeSystemTree {
public:
    struct Device {
        std::string name;
        unsigned major = 8;
        unsigned minor = 0;
        unsigned long long sectors = 0;
        bool readOnly = false;
        bool removable = false;
        std::map<std::string, std::string> udev;  // without "E:"
    };

    const TempDir& dir() const { return m_dir; }
    std::string root() const { return m_dir.str(); }

    // A disk under a bus folder of /sys/devices ("usb1", "pci0000:00/ata1").
    void addDisk(const std::string& bus, const Device& disk, const std::string& model = "") {
        const std::string folder = "sys/devices/" + bus + "/block/" + disk.name;
        writeDevice(folder, disk, "disk");
        m_dir.touch(folder + "/removable", disk.removable ? "1\n" : "0\n");
        if (!model.empty()) m_dir.touch(folder + "/device/model", model + "       \n");
        m_folders[disk.name] = folder;
    }

    void addPartition(const std::string& diskName, const Device& partition, int number) {
        const std::string folder = m_folders.at(diskName) + "/" + partition.name;
        writeDevice(folder, partition, "partition");
        m_dir.touch(folder + "/partition", std::to_string(number) + "\n");
        m_folders[partition.name] = folder;
    }

    // A device-mapper device stacked on a lower device, linked both ways as
    // sysfs links them (slaves/ below, holders/ above).
    void addMapped(const Device& mapped, const std::string& lowerName, const std::string& mapperName = "") {
        const std::string folder = "sys/devices/virtual/block/" + mapped.name;
        writeDevice(folder, mapped, "disk");
        m_dir.touch(folder + "/removable", "0\n");
        if (!mapperName.empty()) m_dir.touch(folder + "/dm/name", mapperName + "\n");
        m_dir.mkdir(folder + "/slaves");
        link(folder + "/slaves/" + lowerName, m_folders.at(lowerName));
        m_dir.mkdir(m_folders.at(lowerName) + "/holders");
        link(m_folders.at(lowerName) + "/holders/" + mapped.name, folder);
        m_folders[mapped.name] = folder;
    }

    // A loop device reading a file.
    void addLoop(const Device& loop, const std::string& backingFile) {
        const std::string folder = "sys/devices/virtual/block/" + loop.name;
        writeDevice(folder, loop, "disk");
        m_dir.touch(folder + "/removable", "0\n");
        m_dir.touch(folder + "/loop/backing_file", backingFile + "\n");
        m_folders[loop.name] = folder;
    }

    // A file in a device's sysfs folder ("device/type").
    void setAttribute(const std::string& deviceName, const std::string& relative, const std::string& content) {
        m_dir.touch(m_folders.at(deviceName) + "/" + relative, content + "\n");
    }

    // One line of /proc/swaps below its heading.
    void swapOn(const std::string& escapedPath, const std::string& type) {
        m_swaps += escapedPath + "\t\t\t\t" + type + "\t\t1000000\t\t0\t\t-2\n";
        m_dir.touch("proc/swaps", "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n" + m_swaps);
    }

    void setKernelCommandLine(const std::string& line) { m_dir.touch("proc/cmdline", line + "\n"); }

    // One mountinfo line; the mount point is written with the kernel's escapes.
    void mount(const std::string& name, unsigned major, unsigned minor, const std::string& escapedMountPoint,
               const std::string& type = "vfat", const std::string& root = "/") {
        const std::string id = std::to_string(++m_mountId);
        m_mountinfo += id + " 1 " + std::to_string(major) + ":" + std::to_string(minor) + " " + root + " " +
                       escapedMountPoint + " rw,nosuid,nodev shared:" + id + " - " + type + " /dev/" + name +
                       " rw,uid=1000\n";
        m_dir.touch("proc/self/mountinfo", m_mountinfo);
    }
    void mount(const Device& device, const std::string& escapedMountPoint, const std::string& type = "vfat") {
        mount(device.name, device.major, device.minor, escapedMountPoint, type);
    }

    void mountVirtual(const std::string& mountPoint, const std::string& type) {
        const int id = ++m_mountId;
        m_mountinfo += std::to_string(id) + " 1 0:" + std::to_string(20 + id) + " / " + mountPoint + " rw - " + type +
                       " " + type + " rw\n";
        m_dir.touch("proc/self/mountinfo", m_mountinfo);
    }

private:
    void writeDevice(const std::string& folder, const Device& device, const std::string& type) {
        const std::string number = std::to_string(device.major) + ":" + std::to_string(device.minor);
        m_dir.touch(folder + "/dev", number + "\n");
        m_dir.touch(folder + "/size", std::to_string(device.sectors) + "\n");
        m_dir.touch(folder + "/ro", device.readOnly ? "1\n" : "0\n");
        m_dir.touch(folder + "/uevent", "MAJOR=" + std::to_string(device.major) + "\nMINOR=" +
                                            std::to_string(device.minor) + "\nDEVNAME=" + device.name +
                                            "\nDEVTYPE=" + type + "\n");
        m_dir.mkdir("sys/dev/block");
        m_dir.mkdir("sys/class/block");
        link("sys/dev/block/" + number, folder);
        link("sys/class/block/" + device.name, folder);
        std::string record;
        for (const auto& [key, value] : device.udev) record += "E:" + key + "=" + value + "\n";
        if (!record.empty()) m_dir.touch("run/udev/data/b" + number, "S:disk/by-id/x\n" + record + "G:systemd\n");
    }

    // Relative links, as sysfs has them, so the tree can live anywhere.
    void link(const std::string& from, const std::string& to) {
        const std::filesystem::path fromPath = m_dir.path() / from;
        const std::filesystem::path target = (m_dir.path() / to).lexically_relative(fromPath.parent_path());
        std::filesystem::create_directory_symlink(target, fromPath);
    }

    TempDir m_dir;
    std::map<std::string, std::string> m_folders;
    std::string m_mountinfo;
    std::string m_swaps;
    int m_mountId = 20;
};

}  // namespace zentrova::test
