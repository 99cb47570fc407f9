#pragma once

#include <cstddef>
#include <unordered_map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "recordings/DirectoryLister.h"
#include "recordings/ORVMedia.h"
#include "recordings/ORVMediaPair.h"

namespace zentrova {

// The records of one scan and their pairs. A published snapshot is never
// changed again, so a reader holding one needs no lock.
class ORVMediaListSnapshot {
public:
    size_t count() const { return m_medias.size(); }
    std::shared_ptr<ORVMedia> mediaAtIndex(size_t index) const;
    const std::vector<std::shared_ptr<ORVMedia>>& medias() const { return m_medias; }
    struct KeyHash {
        using is_transparent = void;
        size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    using PairTable = std::unordered_map<std::string, std::shared_ptr<ORVMediaPair>, KeyHash, std::equal_to<>>;

    // One pair per recording, by group name, in no particular order.
    const PairTable& mediaPairDic() const { return m_mediaPairDic; }
    // The group names in ascending order, for stable output.
    std::vector<std::string> sortedGroupNames() const;

    // The pair of a file's recording, by file name or path, with any extension.
    std::shared_ptr<ORVMediaPair> findMediaPairWithFileName(std::string_view fileName) const;

    // Appends the record and files it in its pair; a filled slot is overwritten.
    void addMedia(std::shared_ptr<ORVMedia> media);

    // The folders the scan could not enter (the list holds what the others gave).
    const std::vector<UnreadableDirectory>& unreadableDirectories() const { return m_unreadableDirectories; }
    void setUnreadableDirectories(std::vector<UnreadableDirectory> directories) {
        m_unreadableDirectories = std::move(directories);
    }

    // The walk stopped at its limit of files: the card holds more.
    bool reachedFileLimit() const { return m_reachedFileLimit; }
    void setReachedFileLimit(bool reached) { m_reachedFileLimit = reached; }
    void reserve(size_t count) {
        m_medias.reserve(count);
        m_mediaPairDic.reserve(count);
    }

    static std::string pairKeyOfFileName(std::string_view fileName);

private:
    std::vector<std::shared_ptr<ORVMedia>> m_medias;
    PairTable m_mediaPairDic;
    std::vector<UnreadableDirectory> m_unreadableDirectories;
    bool m_reachedFileLimit = false;
};

}  // namespace zentrova
