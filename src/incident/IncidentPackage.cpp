#include "incident/IncidentPackage.h"

namespace zentrova {

bool IncidentPackage::isPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > 255 || name.front() == '.' || name == kChecksumsName) return false;
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        // sha256sum escapes names with a backslash or a line end, which older
        // versions then cannot read back.
        if (byte < 0x20 || byte == 0x7F || c == '/' || c == '\\') return false;
    }
    return true;
}

const IncidentPackage::Entry* IncidentPackage::entry(std::string_view name) const {
    for (const Entry& entry : m_entries) {
        if (entry.name == name) return &entry;
    }
    return nullptr;
}

std::optional<std::string> IncidentPackage::add(Entry entry) {
    if (!isPlainFileName(entry.name)) return "not a plain file name: " + entry.name;
    if (this->entry(entry.name)) return "a file of that name is already in the package: " + entry.name;
    m_entries.push_back(std::move(entry));
    return std::nullopt;
}

std::optional<std::string> IncidentPackage::addCopy(std::string name, std::string role, std::string sourcePath) {
    Entry entry;
    entry.name = std::move(name);
    entry.role = std::move(role);
    entry.sourcePath = std::move(sourcePath);
    return add(std::move(entry));
}

std::optional<std::string> IncidentPackage::addFile(std::string name, std::string role, std::string bytes) {
    Entry entry;
    entry.name = std::move(name);
    entry.role = std::move(role);
    entry.bytes = std::move(bytes);
    return add(std::move(entry));
}

std::optional<std::string> IncidentPackage::addSummary(std::string name, std::string role, Summary summary) {
    Entry entry;
    entry.name = std::move(name);
    entry.role = std::move(role);
    entry.summary = std::move(summary);
    return add(std::move(entry));
}

}  // namespace zentrova
