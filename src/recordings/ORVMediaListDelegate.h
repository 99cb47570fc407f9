#pragma once

namespace zentrova {

class ORVMediaList;

// Told once at the end of each scan that was not overtaken by a newer one,
// on the scanning thread.
class ORVMediaListDelegate {
public:
    virtual ~ORVMediaListDelegate() = default;
    virtual void mediaListChanged(ORVMediaList& list) = 0;
};

}  // namespace zentrova
