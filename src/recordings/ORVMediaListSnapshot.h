#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

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
    const std::map<std::string, std::shared_ptr<ORVMediaPair>, std::less<>>& mediaPairDic() const {
        return m_mediaPairDic;
    }

    // The pair of a file's recording, by file name or path, with any extension.
    std::shared_ptr<ORVMediaPair> findMediaPairWithFileName(std::string_view fileName) const;

    // Appends the record and files it in its pair; a filled slot is overwritten.
    void addMedia(std::shared_ptr<ORVMedia> media);

    static std::string pairKeyOfFileName(std::string_view fileName);

private:
    std::vector<std::shared_ptr<ORVMedia>> m_medias;
    std::map<std::string, std::shared_ptr<ORVMediaPair>, std::less<>> m_mediaPairDic;
};

}  // namespace zentrova
