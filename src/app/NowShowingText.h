#pragma once

#include <QString>

namespace zentrova {

class ORVMedia;

// The head bar's name of what the window shows: the recording playing by
// its date, time and mode, or else the card by its folder's name, and the
// demo card by that name.
class NowShowingText {
public:
    static QString forRecording(const ORVMedia& media);
    static QString forCard(const QString& directory, const QString& demoCardDirectory);
    // Where the demo card is made (and opened when no folder is given).
    static QString demoCardDirectory();
};

}  // namespace zentrova
