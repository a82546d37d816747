#pragma once
// What the windows ask of the desktop: the screen scale, fonts by the names
// the windows use, the system's texts with "\r" line breaks, the numbered
// bitmap and icon resources compiled into every program, and window icons.

#include <QFont>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QString>
#include <string>
#include <string_view>

#include "platform/gui/DialogTemplate.h"
#include "platform/gui/DialogUnits.h"

class QWidget;

namespace tessaly {

// Logical dots per inch of the primary screen over 96; {1, 1} without one.
ScreenScale screenScale();

// The system's texts break lines with "\r\n" or a lone "\r"; Qt wants "\n".
QString displayText(std::string_view text);

QFont pointFont(std::string_view face, double points, int weight = 400);
QFont pointFont(const FontSpec& font);
// A font by character height in pixels ("a 16-pixel-high Verdana Bold").
QFont pixelFont(std::string_view face, int pixels, int weight = 400, bool underline = false);

// Bitmap resources by number (the button faces, the about picture); a null
// image or pixmap when the program has no such resource.
QImage bitmapImage(int id);
QPixmap bitmapResource(int id);
// Icon resources by number, with every size the resource holds.
QIcon iconResource(int id);
// The large and the small icon of a window.
void setWindowIcons(QWidget& window, int iconId = 128);

} // namespace tessaly
