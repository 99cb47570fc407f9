#include "recordings/ORVMediaListSnapshot.h"

#include "recordings/PathNames.h"

namespace zentrova {

std::shared_ptr<ORVMedia> ORVMediaListSnapshot::mediaAtIndex(size_t index) const {
    if (index >= m_medias.size()) return nullptr;
    return m_medias[index];
}

std::string ORVMediaListSnapshot::pairKeyOfFileName(std::string_view fileName) {
    std::string_view name = PathNames::withoutExtension(PathNames::lastComponent(fileName));
    if (name.ends_with("_F") || name.ends_with("_R")) name.remove_suffix(2);
    return std::string(name);
}

std::shared_ptr<ORVMediaPair> ORVMediaListSnapshot::findMediaPairWithFileName(std::string_view fileName) const {
    auto it = m_mediaPairDic.find(pairKeyOfFileName(fileName));
    return it == m_mediaPairDic.end() ? nullptr : it->second;
}

void ORVMediaListSnapshot::addMedia(std::shared_ptr<ORVMedia> media) {
    if (!media) return;
    m_medias.push_back(media);
    std::shared_ptr<ORVMediaPair> pair = findMediaPairWithFileName(media->fileName());
    if (!pair) {
        pair = std::make_shared<ORVMediaPair>();
        m_mediaPairDic[media->mediaGroupName()] = pair;
    }
    if (media->isRearMedia()) {
        pair->rearMedia = media;
    } else if (media->isFrontMedia()) {
        pair->frontMedia = media;
    }
}

}  // namespace zentrova
