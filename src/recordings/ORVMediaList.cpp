#include "recordings/ORVMediaList.h"

#include "recordings/RecordingsWalker.h"
#include "recordings/StdDirectoryLister.h"

#include <algorithm>

namespace zentrova {

ORVMediaList::ORVMediaList(std::shared_ptr<DirectoryLister> lister)
    : m_lister(lister ? std::move(lister) : std::make_shared<StdDirectoryLister>()),
      m_contents(std::make_shared<ORVMediaListSnapshot>()) {}

ORVMediaList::~ORVMediaList() {
    {
        std::lock_guard lock(m_notifyMutex);
        m_delegate = nullptr;
        ++m_generation;
    }
    std::list<Scan> scans;
    {
        std::lock_guard lock(m_scansMutex);
        scans.swap(m_scans);
    }
    for (Scan& scan : scans) scan.thread.request_stop();
    // jthread joins on destruction.
}

void ORVMediaList::setDelegate(ORVMediaListDelegate* delegate) {
    std::lock_guard lock(m_notifyMutex);
    m_delegate = delegate;
}

void ORVMediaList::setDirectoryPath(std::optional<std::string> path) {
    std::uint64_t generation;
    {
        std::lock_guard lock(m_notifyMutex);
        generation = ++m_generation;
        {
            std::lock_guard contentsLock(m_contentsMutex);
            m_directoryPath = path;
        }
        if (path) publish(std::make_shared<ORVMediaListSnapshot>());
    }
    if (!path) return;

    reapFinishedScans();
    std::lock_guard lock(m_scansMutex);
    for (Scan& scan : m_scans) scan.thread.request_stop();
    auto done = std::make_shared<std::atomic<bool>>(false);
    ++m_runningScans;
    m_scans.push_back(Scan{std::jthread([this, generation, directory = *path, done](std::stop_token stop) {
                                runScan(generation, directory, stop);
                                done->store(true);
                            }),
                           done});
}

void ORVMediaList::reapFinishedScans() {
    std::list<Scan> finished;
    {
        std::lock_guard lock(m_scansMutex);
        for (auto it = m_scans.begin(); it != m_scans.end();) {
            auto next = std::next(it);
            if (it->done->load()) finished.splice(finished.end(), m_scans, it);
            it = next;
        }
    }
    // Finished threads are joined here, outside the lock.
}

void ORVMediaList::waitForScans() {
    std::list<Scan> scans;
    {
        std::lock_guard lock(m_scansMutex);
        scans.swap(m_scans);
    }
    for (Scan& scan : scans) {
        if (scan.thread.joinable()) scan.thread.join();
    }
}

std::optional<std::string> ORVMediaList::directoryPath() const {
    std::lock_guard lock(m_contentsMutex);
    return m_directoryPath;
}

std::shared_ptr<const ORVMediaListSnapshot> ORVMediaList::snapshot() const {
    std::lock_guard lock(m_contentsMutex);
    return m_contents;
}

void ORVMediaList::publish(std::shared_ptr<const ORVMediaListSnapshot> contents) {
    std::lock_guard lock(m_contentsMutex);
    m_contents = std::move(contents);
}

size_t ORVMediaList::count() const { return snapshot()->count(); }

std::shared_ptr<ORVMedia> ORVMediaList::mediaAtIndex(size_t index) const { return snapshot()->mediaAtIndex(index); }

std::shared_ptr<ORVMediaPair> ORVMediaList::findMediaPairWithFileName(std::string_view fileName) const {
    return snapshot()->findMediaPairWithFileName(fileName);
}

void ORVMediaList::addMedia(std::shared_ptr<ORVMedia> media) {
    std::lock_guard lock(m_contentsMutex);
    auto copy = std::make_shared<ORVMediaListSnapshot>(*m_contents);
    copy->addMedia(std::move(media));
    m_contents = std::move(copy);
}

std::shared_ptr<ORVMedia> ORVMediaList::createMediaByPath(std::string_view path) {
    if (!isAcceptableRecordingName(path)) return nullptr;
    return ORVMedia::mediaWithPath(path);
}

void ORVMediaList::eachDir(const std::string& directory, std::vector<std::shared_ptr<ORVMedia>>& found) {
    StdDirectoryLister lister;
    RecordingsWalker walker(lister);
    walker.walk(directory, found);
}

namespace {

// The order of compareDate, stable. Sorting small keys instead of chasing
// each record keeps a scan of thousands of files fast.
void sortByDate(std::vector<std::shared_ptr<ORVMedia>>& medias) {
    struct SortKey {
        std::uint64_t time;
        std::int32_t division;
        std::int32_t direction;
        size_t index;
    };
    std::vector<SortKey> keys;
    keys.reserve(medias.size());
    for (size_t i = 0; i < medias.size(); ++i) {
        std::optional<std::uint64_t> time = medias[i]->packedTime();
        if (!time) {
            std::stable_sort(medias.begin(), medias.end(),
                             [](const auto& a, const auto& b) { return a->compareDate(*b) < 0; });
            return;
        }
        keys.push_back({*time, medias[i]->mediaDivision(), medias[i]->mediaDirection(), i});
    }
    std::sort(keys.begin(), keys.end(), [](const SortKey& a, const SortKey& b) {
        if (a.time != b.time) return a.time < b.time;
        if (a.division != b.division) return a.division > b.division;
        if (a.direction != b.direction) return a.direction < b.direction;
        return a.index < b.index;
    });
    std::vector<std::shared_ptr<ORVMedia>> sorted;
    sorted.reserve(medias.size());
    for (const SortKey& key : keys) sorted.push_back(std::move(medias[key.index]));
    medias = std::move(sorted);
}

}  // namespace

std::shared_ptr<ORVMediaListSnapshot> ORVMediaList::scanDirectory(const std::string& directory,
                                                                  std::stop_token stop) {
    StdDirectoryLister lister;
    return scanDirectory(directory, std::move(stop), lister);
}

std::shared_ptr<ORVMediaListSnapshot> ORVMediaList::scanDirectory(const std::string& directory, std::stop_token stop,
                                                                  DirectoryLister& lister) {
    std::vector<std::shared_ptr<ORVMedia>> found;
    RecordingsWalker walker(lister, stop);
    walker.walk(directory, found);
    sortByDate(found);
    auto contents = std::make_shared<ORVMediaListSnapshot>();
    contents->reserve(found.size());
    for (auto& media : found) contents->addMedia(std::move(media));
    contents->setUnreadableDirectories(walker.takeUnreadableDirectories());
    contents->setReachedFileLimit(walker.stopped() && !stop.stop_requested());
    return contents;
}

void ORVMediaList::runScan(std::uint64_t generation, std::string directory, std::stop_token stop) {
    std::shared_ptr<ORVMediaListSnapshot> contents = scanDirectory(directory, stop, *m_lister);
    std::lock_guard lock(m_notifyMutex);
    const bool newest = generation == m_generation && !stop.stop_requested();
    if (newest) publish(std::move(contents));
    // No longer running once published, so the delegate sees isScanning()
    // false unless a newer scan is under way.
    --m_runningScans;
    if (newest && m_delegate) m_delegate->mediaListChanged(*this);
}

}  // namespace zentrova
