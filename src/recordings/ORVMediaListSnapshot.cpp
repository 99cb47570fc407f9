#include "recordings/ORVMediaListSnapshot.h"

#include "recordings/PathNames.h"

#include <algorithm>

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

std::vector<std::string> ORVMediaListSnapshot::sortedGroupNames() const {
    std::vector<std::string> names;
    names.reserve(m_mediaPairDic.size());
    for (const auto& entry : m_mediaPairDic) names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}

void ORVMediaListSnapshot::addMedia(std::shared_ptr<ORVMedia> media) {
    if (!media) return;
    // The pair key of the record's file name is its base name without the
    // side suffix; worked out here without building the file name.
    std::string_view lookupKey = media->mediaName();
    if (lookupKey.empty()) {
        lookupKey = std::string_view();
    } else if (lookupKey.ends_with("_F") || lookupKey.ends_with("_R")) {
        lookupKey.remove_suffix(2);
    }
    std::shared_ptr<ORVMediaPair> pair;
    auto it = m_mediaPairDic.find(lookupKey);
    if (it != m_mediaPairDic.end() && !media->mediaName().empty()) {
        pair = it->second;
    } else {
        pair = std::make_shared<ORVMediaPair>();
        m_mediaPairDic[media->mediaGroupName()] = pair;
    }
    if (media->isRearMedia()) {
        pair->rearMedia = media;
    } else if (media->isFrontMedia()) {
        pair->frontMedia = media;
    }
    m_medias.push_back(std::move(media));
}

}  // namespace zentrova
