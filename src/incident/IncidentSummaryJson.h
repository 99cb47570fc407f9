#pragma once

#include "incident/IncidentPackage.h"
#include "incident/IncidentSummary.h"

#include <span>
#include <string>

namespace zentrova {

// summary.json of an incident package, with stable keys (see the README).
class IncidentSummaryJson {
public:
    // files: the package's files written before the summary.
    static std::string write(const IncidentSummary& summary, std::span<const PackagedFile> files);
};

}  // namespace zentrova
