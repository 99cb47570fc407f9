#pragma once

#include <QStringList>

struct libvlc_instance_t;

namespace zentrova {

// The one libVLC instance that every player shares.
class VLCLibrary {
public:
    // Arguments added when the instance is made (tests pass "--aout=dummy");
    // only effective before the first sharedLibrary() call.
    static void setExtraArguments(const QStringList& arguments);
    // The instance, made on first use; null when libVLC cannot start.
    static libvlc_instance_t* sharedLibrary();
};

}  // namespace zentrova
