#pragma once
// The web page a table window opens ("Tell a Friend"). The lobby's page
// opener serves it, so the table window needs neither the web sites'
// addresses nor the browser start.

namespace tessaly {

class TablePages {
public:
    virtual ~TablePages() = default;
    virtual void openTellAFriend() const = 0;
};

} // namespace tessaly
