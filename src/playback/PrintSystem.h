#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zentrova {

// The printing service of the system, as the frame printer needs it: find a
// printer, ask what it accepts, hand it a file. Error codes are the
// service's own; 0 is success.
class PrintSystem {
public:
    using Options = std::vector<std::pair<std::string, std::string>>;

    virtual ~PrintSystem() = default;

    // 0 when a printer of that name is there to print on.
    virtual int findPrinter(const std::string& name) = 0;
    // The document formats (MIME types) the printer accepts; none when it
    // cannot be asked or gives no list.
    virtual std::optional<std::vector<std::string>> acceptedFormats(const std::string& name) = 0;
    // Queues the file as one job of the given format with the options.
    virtual int printFile(const std::string& name, const std::string& path, const std::string& format,
                          const Options& options) = 0;
};

}  // namespace zentrova
