#pragma once

#include "incident/IncidentPackage.h"
#include "incident/IncidentSummary.h"

#include <span>
#include <string>

namespace zentrova {

// summary.html of an incident package: the facts and the files with their
// checksums, for people; texts from the string table.
class IncidentSummaryHtml {
public:
    static std::string write(const IncidentSummary& summary, std::span<const PackagedFile> files);
    // The text of a file's role word ("frontVideo", "capture", ...).
    static std::string roleText(std::string_view role);
};

}  // namespace zentrova
