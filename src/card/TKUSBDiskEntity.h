#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zentrova {

// One mounted USB volume as the card services see it. The values are set
// once and never change.
class TKUSBDiskEntity {
public:
    TKUSBDiskEntity(std::string volumeName, std::string mountedURL, std::string deviceFilePath,
                    std::optional<std::string> deviceModel, std::uint64_t volumeSize, bool writable,
                    bool mediaWhole, std::string key);

    const std::string& volumeName() const { return m_volumeName; }
    // Where the volume's root folder can be reached from this process.
    const std::string& mountedURL() const { return m_mountedURL; }
    // The block device's name without "/dev/", such as sdb1.
    const std::string& deviceFilePath() const { return m_deviceFilePath; }
    const std::optional<std::string>& deviceModel() const { return m_deviceModel; }
    std::uint64_t volumeSize() const { return m_volumeSize; }
    bool writable() const { return m_writable; }
    // The file system lies on the whole disk rather than on a partition.
    bool mediaWhole() const { return m_mediaWhole; }
    // The device's path in the device tree.
    const std::string& key() const { return m_key; }

    // "[size] name <model>", or "[size] name " without a model.
    std::string displayString() const;

private:
    std::string m_volumeName;
    std::string m_mountedURL;
    std::string m_deviceFilePath;
    std::optional<std::string> m_deviceModel;
    std::uint64_t m_volumeSize;
    bool m_writable;
    bool m_mediaWhole;
    std::string m_key;
};

}  // namespace zentrova
