#pragma once

#include <optional>
#include <string_view>

namespace zentrova {

// True when the text is absent or has no characters.
bool isEmptyText(std::optional<std::string_view> text);

}  // namespace zentrova
