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
    std::string lookupKey = pairKeyOfFileName(media->fileName());
    std::string groupName = media->mediaGroupName();
    std::shared_ptr<ORVMediaPair> pair;
    if (lookupKey == groupName) {
        // The usual case, a name with its side suffix: one map operation.
        auto [it, inserted] = m_mediaPairDic.try_emplace(std::move(groupName));
        if (inserted) it->second = std::make_shared<ORVMediaPair>();
        pair = it->second;
    } else {
        auto it = m_mediaPairDic.find(lookupKey);
        if (it != m_mediaPairDic.end()) {
            pair = it->second;
        } else {
            pair = std::make_shared<ORVMediaPair>();
            m_mediaPairDic[groupName] = pair;
        }
    }
    m_medias.push_back(media);
    if (media->isRearMedia()) {
        pair->rearMedia = media;
    } else if (media->isFrontMedia()) {
        pair->frontMedia = media;
    }
}

}  // namespace zentrova
