#pragma once
// The table's lines of text laid out once and drawn from their layout: a
// frame draws the same few names and amounts again and again, and laying
// them out is most of what drawing them costs.

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <utility>

class QPaintDevice;

namespace tessaly {

class TextLayouts {
public:
    struct Line {
        QStaticText text;
        int advance = 0;   // pixels, as the font's metrics on the device give it
        int ascent = 0;
        int descent = 0;
    };

    // The line of `text` in `font` (one of the table's fonts, kept at its
    // address) on `device`'s resolution.
    const Line& line(const QFont& font, const QString& text, const QPaintDevice* device);
    void clear() { lines_.clear(); }

private:
    QHash<std::pair<const QFont*, QString>, Line> lines_;
};

} // namespace tessaly
