#include "playback/FramePrinter.h"

#include "common/Log.h"

#include <algorithm>

namespace zentrova {

FramePrinter::Outcome FramePrinter::print(const Request& request) {
    if (request.destination != Destination::Printer || request.printerName.empty()) {
        logLine("Either got an error from PMSessionGetDestinationType or the print destination wasn't "
                "kPMDestinationPrinter");
        return Outcome::NotAPrinter;
    }
    const int found = m_system.findPrinter(request.printerName);
    if (found != 0) {
        logLine("Got an error from PMSessionGetCurrentPrinter (" + std::to_string(found) + ")");
        return Outcome::NoPrinter;
    }
    const std::optional<std::vector<std::string>> formats = m_system.acceptedFormats(request.printerName);
    if (!formats) return Outcome::NoFormats;
    if (std::find(formats->begin(), formats->end(), kFormat) == formats->end()) {
        logLine(std::string("MIME type ") + kFormat + " isn't supported by the printer");
        return Outcome::FormatRefused;
    }
    // Fitting goes first, so that no choice of the dialog can turn it off.
    PrintSystem::Options options{{"fit-to-page", "true"}};
    for (const auto& option : request.options) {
        if (option.first != "fit-to-page") options.push_back(option);
    }
    const int printed = m_system.printFile(request.printerName, request.framePath, kFormat, options);
    if (printed != 0) {
        logLine("PMPrinterPrintWithFile returned error " + std::to_string(printed));
        return Outcome::PrintFailed;
    }
    return Outcome::Printed;
}

}  // namespace zentrova
