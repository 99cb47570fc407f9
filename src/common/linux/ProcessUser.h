#pragma once

namespace zentrova {

// Whether the process runs with the administrator's user id.
bool runsAsRoot();

}  // namespace zentrova
