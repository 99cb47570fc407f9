#pragma once

#include "playback/PrintSystem.h"

#include <string>

namespace zentrova {

// Prints a frame file on the printer the print dialog chose: only on a real
// printer that accepts JPEG, scaled to fit the page; every refusal is
// logged, nothing is shown.
class FramePrinter {
public:
    static constexpr const char* kFormat = "image/jpeg";

    enum class Destination { Unknown, Printer, File, Preview };
    enum class Outcome { NotAPrinter, NoPrinter, NoFormats, FormatRefused, PrintFailed, Printed };

    struct Request {
        Destination destination = Destination::Unknown;
        std::string printerName;
        std::string framePath;
        // The dialog's choices (copies, paper, orientation...).
        PrintSystem::Options options;
    };

    explicit FramePrinter(PrintSystem& system) : m_system(system) {}

    Outcome print(const Request& request);

private:
    PrintSystem& m_system;
};

}  // namespace zentrova
