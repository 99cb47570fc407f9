#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "recordings/DirectoryLister.h"
#include "recordings/ORVMedia.h"
#include "recordings/ORVMediaListDelegate.h"
#include "recordings/ORVMediaListSnapshot.h"
#include "recordings/ORVMediaPair.h"

namespace zentrova {

// The recordings under one chosen directory, sorted, with their pairs.
// A scan builds a new snapshot on a worker and publishes it whole; readers
// see either the old or the new snapshot, never one being filled. A newer
// setDirectoryPath() overtakes a running scan: the older scan stops early,
// publishes nothing and does not tell the delegate.
class ORVMediaList {
public:
    // Lists directories with the given lister, or the portable one.
    explicit ORVMediaList(std::shared_ptr<DirectoryLister> lister = nullptr);
    ~ORVMediaList();
    ORVMediaList(const ORVMediaList&) = delete;
    ORVMediaList& operator=(const ORVMediaList&) = delete;

    void setDelegate(ORVMediaListDelegate* delegate);

    // Stores the path; a path starts a background scan, none starts nothing.
    void setDirectoryPath(std::optional<std::string> path);
    std::optional<std::string> directoryPath() const;

    size_t count() const;
    std::shared_ptr<ORVMedia> mediaAtIndex(size_t index) const;
    std::shared_ptr<ORVMediaPair> findMediaPairWithFileName(std::string_view fileName) const;
    std::shared_ptr<const ORVMediaListSnapshot> snapshot() const;
    void addMedia(std::shared_ptr<ORVMedia> media);

    bool isScanning() const { return m_runningScans.load() > 0; }
    // Blocks until no scan is running (for tools and tests).
    void waitForScans();

    static std::shared_ptr<ORVMedia> createMediaByPath(std::string_view path);
    static void eachDir(const std::string& directory, std::vector<std::shared_ptr<ORVMedia>>& found);

    // The whole scan of one directory, on the calling thread.
    static std::shared_ptr<ORVMediaListSnapshot> scanDirectory(const std::string& directory,
                                                               std::stop_token stop = {});
    static std::shared_ptr<ORVMediaListSnapshot> scanDirectory(const std::string& directory, std::stop_token stop,
                                                               DirectoryLister& lister);

private:
    void runScan(std::uint64_t generation, std::string directory, std::stop_token stop);
    void publish(std::shared_ptr<const ORVMediaListSnapshot> contents);
    void reapFinishedScans();

    std::shared_ptr<DirectoryLister> m_lister;
    mutable std::mutex m_contentsMutex;
    std::shared_ptr<const ORVMediaListSnapshot> m_contents;
    std::optional<std::string> m_directoryPath;

    // Held while a scan checks that it is still the newest and tells the
    // delegate, so an overtaken scan can never report after a newer start.
    std::recursive_mutex m_notifyMutex;
    std::uint64_t m_generation = 0;
    ORVMediaListDelegate* m_delegate = nullptr;

    struct Scan {
        std::jthread thread;
        std::shared_ptr<std::atomic<bool>> done;
    };
    std::mutex m_scansMutex;
    std::list<Scan> m_scans;
    std::atomic<int> m_runningScans{0};
};

}  // namespace zentrova
