#pragma once

#include "check/CardCheckReport.h"

#include <QString>

class QTreeWidget;

namespace zentrova {

// Fills the card check window's section lists from a report: one row per
// finding, recording (its files below it), day (its gaps and overlaps below
// it), and the clock, settings and space as named values.
class CardCheckSections {
public:
    static void fillFindings(QTreeWidget& list, const CardCheckReport& report);
    static void fillRecordings(QTreeWidget& list, const CardCheckReport& report);
    static void fillDays(QTreeWidget& list, const CardCheckReport& report);
    static void fillClock(QTreeWidget& list, const CardCheckReport& report);
    static void fillSettings(QTreeWidget& list, const CardCheckReport& report);
    static void fillSpace(QTreeWidget& list, const CardCheckReport& report);

    // The one line over the sections: how bad, how many of each, what was checked.
    static QString summaryText(const CardCheckReport& report);
    // What the check made of the camera's clock, in a sentence or two.
    static QString clockText(const CardCheckReport& report);
    // "plays", or what is wrong with the file, for people.
    static QString stateText(const RecordingFileCheck& file);
    // "+3 s", "-1 h 00 min"; signed, so that ahead and behind differ.
    static QString signedSecondsText(double seconds);
};

}  // namespace zentrova
