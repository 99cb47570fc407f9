#pragma once

#include "card/VolumeSource.h"

#include <memory>

namespace zentrova {

// The volumes of this computer, read from the system's own files; or from
// the tree under the folder that ZENTROVA_SYSTEM_ROOT names, where
// scripts/fake-card.sh sets up a card to try the card windows without one.
std::unique_ptr<VolumeSource> makeSystemVolumeSource();

}  // namespace zentrova
