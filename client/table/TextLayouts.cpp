#include "client/table/TextLayouts.h"

#include <QFontMetrics>

namespace tessaly {
namespace {

// Amounts change every hand; past this many lines the old ones are let go.
constexpr qsizetype kMostLines = 512;

} // namespace

const TextLayouts::Line& TextLayouts::line(const QFont& font, const QString& text, const QPaintDevice* device)
{
    const std::pair<const QFont*, QString> key(&font, text);
    if (const auto found = lines_.constFind(key); found != lines_.constEnd())
        return *found;
    if (lines_.size() >= kMostLines)
        lines_.clear();
    const QFontMetrics metrics(font, device);
    Line line{QStaticText(text), metrics.horizontalAdvance(text), metrics.ascent(), metrics.descent()};
    line.text.setTextFormat(Qt::PlainText);
    return *lines_.insert(key, std::move(line));
}

} // namespace tessaly
