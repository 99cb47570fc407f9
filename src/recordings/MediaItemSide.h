#pragma once

#include <string_view>

#include "recordings/ORVMedia.h"

namespace zentrova {

// Side of a media item that a player holds, judged from its location (a file
// path or a file URL) by the ending "_R.MP4" or "_F.MP4" in any case. Unlike
// ORVMedia this knows only the .MP4 extension.
ORVMediaDirection mediaItemDirection(std::string_view pathOrUrl);
inline bool isFrontMediaItem(std::string_view pathOrUrl) {
    return mediaItemDirection(pathOrUrl) == ORVMediaDirectionFront;
}
inline bool isRearMediaItem(std::string_view pathOrUrl) {
    return mediaItemDirection(pathOrUrl) == ORVMediaDirectionRear;
}

}  // namespace zentrova
