#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <vector>

namespace zentrova {

class TKUSBDiskEntity;

int runVolumesCommand(std::span<const std::string> args, std::ostream& out, std::ostream& err);

// The USB volumes and the chooser's pick as JSON text (one line).
std::string volumesJson(const std::vector<TKUSBDiskEntity>& volumes, const std::optional<TKUSBDiskEntity>& card);

}  // namespace zentrova
