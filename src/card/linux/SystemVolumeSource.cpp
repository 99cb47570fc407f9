#include "card/linux/SystemVolumeSource.h"

#include "card/linux/LinuxVolumeSource.h"

#include <cstdlib>

namespace zentrova {

std::unique_ptr<VolumeSource> makeSystemVolumeSource() {
    const char* root = std::getenv("ZENTROVA_SYSTEM_ROOT");
    return std::make_unique<LinuxVolumeSource>(root && *root ? std::filesystem::path(root) : "/");
}

}  // namespace zentrova
