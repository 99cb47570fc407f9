#pragma once

#include "controls/SegmentedControl.h"
#include "settings/FILEDATA.h"
#include "settings/FileDataField.h"
#include "settings/ORVSettingControllerDelegate.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zentrova::test {

// Records and controls of a settings page, reached as a user and a reader
// of config.bin would: fields by name, controls by outlet name.

inline FILEDATA resetRecord() {
    FILEDATA record{};
    resetFileData(record);
    return record;
}

inline const FileDataField& fieldNamed(std::string_view name) {
    const FileDataField* field = findFileDataField(name);
    if (!field) ADD_FAILURE() << "no field " << name;
    return field ? *field : fileDataFields().front();
}

inline void setField(FILEDATA& record, std::string_view name, std::int64_t value) {
    setFieldElement(record, fieldNamed(name), 0, value);
}

inline std::int64_t fieldValue(const FILEDATA& record, std::string_view name) {
    return fieldElement(record, fieldNamed(name), 0);
}

inline void setText(FILEDATA& record, std::string_view name, std::string_view bytes) {
    const FileDataField& field = fieldNamed(name);
    for (std::size_t i = 0; i < field.elementCount; ++i) {
        setFieldElement(record, field, i, i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0);
    }
}

inline bool sameBytes(const FILEDATA& a, const FILEDATA& b) { return fileDataBytes(a) == fileDataBytes(b); }

// The names of the fields whose bytes differ, in file order.
inline std::vector<std::string> changedFields(const FILEDATA& before, const FILEDATA& after) {
    const FileDataBytes a = fileDataBytes(before);
    const FileDataBytes b = fileDataBytes(after);
    std::vector<std::string> names;
    for (const FileDataField& field : fileDataFields()) {
        if (std::memcmp(a.data() + field.offset, b.data() + field.offset, field.size()) != 0) {
            names.emplace_back(field.name);
        }
    }
    return names;
}

template <typename Control>
Control* outlet(const QWidget& page, const char* name) {
    auto* control = page.findChild<Control*>(QString::fromLatin1(name));
    if (!control) ADD_FAILURE() << "no outlet " << name;
    return control;
}

// The choice a control shows: the selected segment, the current item, or 1
// for a ticked box and 0 for a clear one.
inline int shownChoice(const QWidget& page, const char* name) {
    QWidget* control = outlet<QWidget>(page, name);
    if (auto* segments = qobject_cast<SegmentedControl*>(control)) return segments->selectedSegment();
    if (auto* combo = qobject_cast<QComboBox*>(control)) return combo->currentIndex();
    if (auto* check = qobject_cast<QCheckBox*>(control)) return check->isChecked() ? 1 : 0;
    ADD_FAILURE() << name << " is no choice control";
    return -2;
}

// Makes a choice as the user does: clicks a segment, picks an item, or
// clicks a box until it shows the choice.
inline void choose(QWidget& page, const char* name, int choice) {
    QWidget* control = outlet<QWidget>(page, name);
    if (auto* segments = qobject_cast<SegmentedControl*>(control)) {
        segments->segmentButton(choice)->click();
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        combo->setCurrentIndex(choice);
        emit combo->activated(choice);
    } else if (auto* check = qobject_cast<QCheckBox*>(control)) {
        if (check->isChecked() != (choice != 0)) check->click();
    } else {
        ADD_FAILURE() << name << " is no choice control";
    }
}

struct FieldValue {
    const char* field;
    std::int64_t value;
};

inline FILEDATA recordWith(std::span<const FieldValue> values) {
    FILEDATA record = resetRecord();
    for (const FieldValue& v : values) setField(record, v.field, v.value);
    return record;
}

// Hands the page the factory record with some fields changed.
inline void showRecordWith(ORVSettingControllerDelegate& page, FILEDATA& record,
                           std::initializer_list<FieldValue> values) {
    record = recordWith(values);
    page.setFileData(&record);
}

// A stored value the page knows: shown as the choice (when a control shows
// it as one) and stored back byte for byte.
inline void expectStoredBackUnchanged(ORVSettingControllerDelegate& page, const char* field, std::int64_t value,
                                      const char* outlet = nullptr, std::initializer_list<FieldValue> others = {}) {
    SCOPED_TRACE(std::string(field) + " = " + std::to_string(value));
    std::vector<FieldValue> values(others);
    values.push_back({field, value});
    FILEDATA record = recordWith(values);
    page.setFileData(&record);
    if (outlet) {
        EXPECT_EQ(shownChoice(page, outlet), value);
    }
    const FILEDATA shown = record;
    ASSERT_TRUE(page.populate());
    EXPECT_TRUE(sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));
    page.setFileData(nullptr);
}

// A stored value the page does not know: shown by its fall-back choice,
// which populate stores in that field alone.
struct FallBack {
    const char* field;
    std::int64_t stored;
    const char* outlet;
    int expectedShown;
    std::int64_t expectedStored;
};

inline void expectFallBacks(ORVSettingControllerDelegate& page, std::span<const FallBack> cases) {
    for (const FallBack& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + std::to_string(c.stored));
        FILEDATA record{};
        showRecordWith(page, record, {{c.field, c.stored}});
        EXPECT_EQ(shownChoice(page, c.outlet), c.expectedShown);
        const FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(fieldValue(record, c.field), c.expectedStored);
        EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{c.field});
        page.setFileData(nullptr);
    }
}

// A value the camera may write that is none of a control's choices: the
// control shows no choice, and populate writes the record back unchanged.
struct KeptValue {
    const char* field;
    std::int64_t stored;
    const char* outlet;
};

inline void expectShownAsNoneAndKept(ORVSettingControllerDelegate& page, std::span<const KeptValue> cases,
                                     std::initializer_list<FieldValue> others = {}) {
    for (const KeptValue& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + std::to_string(c.stored));
        std::vector<FieldValue> values(others);
        values.push_back({c.field, c.stored});
        FILEDATA record = recordWith(values);
        page.setFileData(&record);
        EXPECT_EQ(shownChoice(page, c.outlet), SegmentedControl::kNoSelection);
        const FILEDATA shown = record;
        ASSERT_TRUE(page.populate());
        EXPECT_TRUE(sameBytes(record, shown)) << testing::PrintToString(changedFields(shown, record));
        page.setFileData(nullptr);
    }
}

// One choice made on the factory record: populate changes its field alone.
struct OneChoice {
    const char* outlet;
    int choice;
    const char* expectedField;
    std::int64_t expectedValue;
};

inline void expectEachChoiceChangesItsFieldAlone(ORVSettingControllerDelegate& page,
                                                 std::span<const OneChoice> cases) {
    for (const OneChoice& c : cases) {
        SCOPED_TRACE(std::string(c.outlet) + " choice " + std::to_string(c.choice));
        FILEDATA record = resetRecord();
        page.setFileData(&record);
        const FILEDATA shown = record;
        choose(page, c.outlet, c.choice);
        ASSERT_TRUE(page.populate());
        EXPECT_EQ(changedFields(shown, record), std::vector<std::string>{c.expectedField});
        EXPECT_EQ(fieldValue(record, c.expectedField), c.expectedValue);
        page.setFileData(nullptr);
    }
}

inline bool isEnabled(const QWidget& page, const char* name) { return outlet<QWidget>(page, name)->isEnabled(); }

}  // namespace zentrova::test
