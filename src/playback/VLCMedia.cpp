#include "playback/VLCMedia.h"

#include "recordings/MediaItemSide.h"

namespace zentrova {

std::shared_ptr<VLCMedia> VLCMedia::mediaWithPath(const QString& path) {
    return std::shared_ptr<VLCMedia>(new VLCMedia(path));
}

ORVMediaDirection VLCMedia::mediaDirection() const {
    return mediaItemDirection(url().toString(QUrl::FullyEncoded).toStdString());
}

}  // namespace zentrova
