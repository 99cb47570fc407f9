#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova {

// A file as it was written into a package, with its SHA-256.
struct PackagedFile {
    std::string name;
    std::string role;  // the entry's role word
    std::uint64_t size = 0;
    std::string sha256;  // 64 hexadecimal digits
};

// The files of one incident package, in the order they are written. A
// file is a copy of a file elsewhere (the recordings, copied byte for
// byte), bytes in memory (route files, a captured picture), or text made
// once the others are written, from what they became (the summaries,
// which name every file with its checksum). SHA256SUMS is not an entry:
// the writer adds it last, over every entry.
class IncidentPackage {
public:
    static constexpr std::string_view kChecksumsName = "SHA256SUMS";

    using Summary = std::function<std::string(std::span<const PackagedFile> written)>;

    struct Entry {
        std::string name;
        std::string role;                      // a word for the summaries: "frontVideo", "capture", ...
        std::optional<std::string> sourcePath;  // a copy
        std::string bytes;                      // else these
        Summary summary;                        // or this, made after the others
    };

    // Each returns none, or why the file was not taken (a name that is not
    // a plain file name, or one already taken).
    std::optional<std::string> addCopy(std::string name, std::string role, std::string sourcePath);
    std::optional<std::string> addFile(std::string name, std::string role, std::string bytes);
    std::optional<std::string> addSummary(std::string name, std::string role, Summary summary);

    const std::vector<Entry>& entries() const { return m_entries; }
    const Entry* entry(std::string_view name) const;

    // A name sha256sum -c reads back as written, that stays in the folder
    // and is not hidden or the checksum list itself.
    static bool isPlainFileName(std::string_view name);

private:
    std::optional<std::string> add(Entry entry);

    std::vector<Entry> m_entries;
};

}  // namespace zentrova
