#pragma once

#include <QString>

namespace zentrova {

// The application's look: a dark theme with one accent colour.
struct AppStyle {
    static QString styleSheet();
};

}  // namespace zentrova
