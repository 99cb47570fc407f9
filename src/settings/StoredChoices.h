#pragma once

#include <cstdint>
#include <span>

namespace zentrova {

// The values that the choices of one settings control store, in order, and
// the choice that shows a stored value outside them.
class StoredChoices {
public:
    // As the fall-back: a value outside the choices shows no choice at all,
    // and the page keeps it as it is (see storeChosen).
    static constexpr int kNoChoice = -1;

    // Choice i stores values[i].
    constexpr StoredChoices(std::span<const std::int64_t> values, int fallbackChoice)
        : m_values(values), m_count(static_cast<int>(values.size())), m_fallbackChoice(fallbackChoice) {}
    // Choice i stores i.
    static constexpr StoredChoices indices(int count, int fallbackChoice) {
        return StoredChoices(count, fallbackChoice);
    }

    int count() const { return m_count; }
    int fallbackChoice() const { return m_fallbackChoice; }

    int choiceOf(std::int64_t stored) const;
    bool isChoice(int choice) const { return choice >= 0 && choice < m_count; }
    // A position outside the choices (nothing chosen) stores the fall-back's
    // value, so that a record never receives a value the camera does not know.
    // Not for a position outside the choices when the fall-back is kNoChoice.
    std::int64_t valueOf(int choice) const;
    template <typename Field>
    Field storedValue(int choice) const {
        return static_cast<Field>(valueOf(choice));
    }

private:
    constexpr StoredChoices(int count, int fallbackChoice) : m_count(count), m_fallbackChoice(fallbackChoice) {}

    std::span<const std::int64_t> m_values;
    int m_count;
    int m_fallbackChoice;
};

}  // namespace zentrova
