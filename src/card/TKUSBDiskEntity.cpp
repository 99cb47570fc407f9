#include "card/TKUSBDiskEntity.h"

#include "card/SizeText.h"
#include "common/Localization.h"

#include <utility>

namespace zentrova {

TKUSBDiskEntity::TKUSBDiskEntity(std::string volumeName, std::string mountedURL, std::string deviceFilePath,
                                 std::optional<std::string> deviceModel, std::uint64_t volumeSize, bool writable,
                                 bool mediaWhole, std::string key)
    : m_volumeName(std::move(volumeName)),
      m_mountedURL(std::move(mountedURL)),
      m_deviceFilePath(std::move(deviceFilePath)),
      m_deviceModel(std::move(deviceModel)),
      m_volumeSize(volumeSize),
      m_writable(writable),
      m_mediaWhole(mediaWhole),
      m_key(std::move(key)) {}

std::string TKUSBDiskEntity::displayString() const {
    const bool hasModel = m_deviceModel.has_value();
    return fillFormat("[%@] %@ %@%@%@", {sizeText(m_volumeSize), m_volumeName, hasModel ? "<" : "",
                                          hasModel ? *m_deviceModel : "", hasModel ? ">" : ""});
}

}  // namespace zentrova
