#pragma once

#include "card/VolumeSource.h"

#include <map>
#include <string>
#include <vector>

namespace zentrova::test {

// A view of volumes as a platform might report them.
class ListedVolumes : public VolumeSource {
public:
    std::vector<RemovableVolume> volumes;
    std::map<std::string, std::vector<std::string>> partitions;
    std::map<std::string, CardExclusion> exclusions;

    std::vector<RemovableVolume> removableVolumes() override { return volumes; }
    std::vector<std::string> partitionNames(const std::string& diskName) override {
        auto found = partitions.find(diskName);
        return found == partitions.end() ? std::vector<std::string>{} : found->second;
    }
    std::optional<CardExclusion> cardExclusion(const std::string& deviceName) override {
        auto found = exclusions.find(deviceName);
        if (found == exclusions.end()) return std::nullopt;
        return found->second;
    }
};

}  // namespace zentrova::test
