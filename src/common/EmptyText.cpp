#include "common/EmptyText.h"

namespace zentrova {

bool isEmptyText(std::optional<std::string_view> text) { return !text || text->empty(); }

}  // namespace zentrova
