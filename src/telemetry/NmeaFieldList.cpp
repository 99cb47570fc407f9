#include "telemetry/NmeaFieldList.h"

#include <algorithm>

namespace zentrova {

void NmeaFieldList::grow(std::size_t count) {
    // Doubling keeps a very long sentence from growing the storage run by run.
    m_storage.resize(std::max(m_count + count, 2 * m_storage.size()));
}

}  // namespace zentrova
