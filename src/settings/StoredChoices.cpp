#include "settings/StoredChoices.h"

namespace zentrova {

int StoredChoices::choiceOf(std::int64_t stored) const {
    if (m_values.empty()) return stored >= 0 && stored < m_count ? static_cast<int>(stored) : m_fallbackChoice;
    for (int choice = 0; choice < m_count; ++choice) {
        if (m_values[static_cast<std::size_t>(choice)] == stored) return choice;
    }
    return m_fallbackChoice;
}

std::int64_t StoredChoices::valueOf(int choice) const {
    if (choice < 0 || choice >= m_count) choice = m_fallbackChoice;
    return m_values.empty() ? choice : m_values[static_cast<std::size_t>(choice)];
}

}  // namespace zentrova
