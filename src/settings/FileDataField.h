#pragma once

#include "settings/FILEDATA.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace zentrova {

enum class FieldKind {
    Unsigned,  // uint8, uint16, uint32 and the uint32 array
    Signed,    // int32
    Text,      // character array: bytes as typed, padded with 0
};

// The settings pages that show and edit a field, as bits.
using SettingsPages = unsigned;
constexpr SettingsPages kNoPage = 0;
constexpr SettingsPages kPageBasic = 1u << 0;
constexpr SettingsPages kPageVideo = 1u << 1;
constexpr SettingsPages kPageMotion = 1u << 2;
constexpr SettingsPages kPageGps = 1u << 3;
constexpr SettingsPages kPageAdas = 1u << 4;
constexpr SettingsPages kPageSystem = 1u << 5;
constexpr SettingsPages kPageAudio = 1u << 6;
// Not on a page: computed when the record is prepared for writing.
constexpr SettingsPages kSetAtSave = 1u << 7;

// "basic", "video+motion", "save"; "-" for a field no page edits.
std::string settingsPagesName(SettingsPages pages);

// Where one field of FILEDATA lies and what it holds.
struct FileDataField {
    std::string_view name;
    std::size_t offset;
    std::size_t elementSize;   // 1, 2 or 4 bytes
    std::size_t elementCount;  // 1 for a plain number
    FieldKind kind;
    SettingsPages pages;

    constexpr std::size_t size() const { return elementSize * elementCount; }
};

// The 107 fields in file order.
std::span<const FileDataField> fileDataFields();
const FileDataField* findFileDataField(std::string_view name);

// One element of a field as a number: signed fields sign-extended, texts as
// bytes 0 to 255.
std::int64_t fieldElement(const FILEDATA& record, const FileDataField& field, std::size_t index);
// Stores the low bytes of the value into one element.
void setFieldElement(FILEDATA& record, const FileDataField& field, std::size_t index, std::int64_t value);

}  // namespace zentrova
