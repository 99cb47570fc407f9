#pragma once

#include "playback/PrintSystem.h"

namespace zentrova {

// The print system through the CUPS client library: the local scheduler's
// queues, asked over IPP what they accept.
class CupsPrintSystem : public PrintSystem {
public:
    int findPrinter(const std::string& name) override;
    std::optional<std::vector<std::string>> acceptedFormats(const std::string& name) override;
    int printFile(const std::string& name, const std::string& path, const std::string& format,
                  const Options& options) override;
};

}  // namespace zentrova
