#include "recordings/RecordingsWalker.h"

#include "recordings/PathNames.h"

namespace zentrova {

namespace {

// Bind mounts can form loops that no path comparison sees; no card nests
// folders this deep.
constexpr int kMaxDepth = 128;

}  // namespace

bool isRecordingExtension(std::string_view fileName) {
    std::string_view ext = PathNames::extension(fileName);
    if (ext.size() != 3) return false;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return lower(ext[0]) == 'm' && lower(ext[1]) == 'p' && ext[2] == '4';
}

bool isAcceptableRecordingName(std::string_view fileName) {
    std::string_view name = PathNames::withoutExtension(PathNames::lastComponent(fileName));
    if (name.size() != 22 && name.size() != 24 && name.size() != 23) return false;
    // With the fixed lengths the time part of a known prefix always lies
    // inside the name, so the prefix needs no further test here.
    return name.ends_with("_F") || name.ends_with("_R");
}

RecordingsWalker::RecordingsWalker(DirectoryLister& lister, std::stop_token stop, size_t maxFiles)
    : m_lister(lister), m_stop(std::move(stop)), m_maxFiles(maxFiles), m_entriesByDepth(kMaxDepth + 1) {}

bool RecordingsWalker::shouldStop(const std::vector<std::shared_ptr<ORVMedia>>& found) {
    if (m_stopped) return true;
    if (found.size() >= m_maxFiles || m_stop.stop_requested()) m_stopped = true;
    return m_stopped;
}

void RecordingsWalker::walk(const std::string& directory, std::vector<std::shared_ptr<ORVMedia>>& found) {
    std::optional<std::string> identity = m_lister.realPath(directory);
    if (!identity) return;
    std::string root = directory;
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    walkDirectory(root, *identity, found, 0);
}

void RecordingsWalker::walkDirectory(const std::string& directory, const std::string& identity,
                                     std::vector<std::shared_ptr<ORVMedia>>& found, int depth) {
    if (depth > kMaxDepth) {
        m_unreadable.push_back({directory, "more than " + std::to_string(kMaxDepth) + " folders deep"});
        return;
    }
    if (!m_visited.insert(identity).second) return;
    std::vector<DirectoryEntry>& entries = m_entriesByDepth[depth];
    if (std::string failure; !m_lister.list(directory, entries, failure)) {
        m_unreadable.push_back({directory, std::move(failure)});
        return;
    }
    const std::string prefix = directory == "/" ? directory : directory + "/";
    for (const DirectoryEntry& entry : entries) {
        if (shouldStop(found)) return;
        if (entry.isDirectory) {
            std::string child = prefix + entry.name;
            std::optional<std::string> childIdentity =
                entry.isSymlink ? m_lister.realPath(child)
                                : std::optional<std::string>((identity == "/" ? identity : identity + "/") + entry.name);
            if (childIdentity) walkDirectory(child, *childIdentity, found, depth + 1);
            continue;
        }
        if (isRecordingExtension(entry.name) && isAcceptableRecordingName(entry.name)) {
            m_pathBuffer.assign(prefix).append(entry.name);
            found.push_back(ORVMedia::mediaWithPath(m_pathBuffer));
        }
    }
}

}  // namespace zentrova
