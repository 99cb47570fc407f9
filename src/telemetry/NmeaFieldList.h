#pragma once

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace zentrova {

// The fields of one sentence, in storage that is kept from sentence to
// sentence: once it has grown to the longest sentence seen, splitting
// another one neither allocates nor checks the room field by field.
class NmeaFieldList {
public:
    void clear() { m_count = 0; }

    // The next count free places, to be filled in order; then added() says
    // how many of them were.
    std::string_view* roomFor(std::size_t count) {
        if (m_storage.size() - m_count < count) grow(count);
        return m_storage.data() + m_count;
    }
    void added(std::size_t count) { m_count += count; }

    void add(std::string_view field) {
        *roomFor(1) = field;
        added(1);
    }

    std::size_t size() const { return m_count; }
    std::span<const std::string_view> fields() const { return {m_storage.data(), m_count}; }

private:
    void grow(std::size_t count);

    // Its size is the room; the fields are its first m_count views.
    std::vector<std::string_view> m_storage;
    std::size_t m_count = 0;
};

}  // namespace zentrova
