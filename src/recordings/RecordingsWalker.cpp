#include "recordings/RecordingsWalker.h"

#include "recordings/PathNames.h"

namespace zentrova {
namespace fs = std::filesystem;

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

RecordingsWalker::RecordingsWalker(std::stop_token stop, size_t maxFiles)
    : m_stop(std::move(stop)), m_maxFiles(maxFiles) {}

bool RecordingsWalker::shouldStop(const std::vector<std::shared_ptr<ORVMedia>>& found) {
    if (m_stopped) return true;
    if (found.size() >= m_maxFiles || m_stop.stop_requested()) m_stopped = true;
    return m_stopped;
}

void RecordingsWalker::walk(const std::string& directory, std::vector<std::shared_ptr<ORVMedia>>& found) {
    std::error_code ec;
    fs::path root(directory);
    fs::path identity = fs::canonical(root, ec);
    if (ec) return;
    walkDirectory(root, identity, found, 0);
}

void RecordingsWalker::walkDirectory(const fs::path& directory, const fs::path& identity,
                                     std::vector<std::shared_ptr<ORVMedia>>& found, int depth) {
    if (depth > kMaxDepth || !m_visited.insert(identity.native()).second) return;
    std::error_code ec;
    fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, ec);
    if (ec) return;
    for (fs::directory_iterator end; it != end && !shouldStop(found); it.increment(ec)) {
        const fs::directory_entry& entry = *it;
        std::error_code typeError;
        bool isLink = entry.is_symlink(typeError);
        if (entry.is_directory(typeError)) {
            fs::path childIdentity = isLink ? fs::canonical(entry.path(), typeError) : identity / entry.path().filename();
            if (!typeError) walkDirectory(entry.path(), childIdentity, found, depth + 1);
            continue;
        }
        const std::string& path = entry.path().native();
        std::string_view name = PathNames::lastComponent(path);
        if (isRecordingExtension(name) && isAcceptableRecordingName(name)) {
            found.push_back(ORVMedia::mediaWithPath(path));
        }
    }
}

}  // namespace zentrova
