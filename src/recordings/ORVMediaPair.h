#pragma once

#include <memory>

#include "recordings/ORVMedia.h"

namespace zentrova {

// The front and rear files of one recording; either side may be empty.
struct ORVMediaPair {
    std::shared_ptr<ORVMedia> frontMedia;
    std::shared_ptr<ORVMedia> rearMedia;
};

}  // namespace zentrova
