#pragma once
// The drawing of one table window: every frame the background and the
// table's layers go into a back buffer, which the window copies to the
// screen. A frame that would come out the same as the last one (the
// record's drawn fields, the animation state, the size and the scale all
// unchanged, nothing moving) is not drawn at all, so a quiet table costs
// next to nothing on its 28 ms timer. A frame that is drawn first finds
// which parts of the picture change (a moving card, the blinking marker)
// from what each layer paints where, then draws and sends to the screen
// only those.
//
//     TableFrame frame;
//     frame.load(boxes, window, table.seatCount);          // once, at opening
//     if (frame.render(table, sound, clientSize, scale))    // every 28 ms
//         window->update(frame.changed());                  // paints frame.image()

#include <QImage>
#include <QRegion>
#include <QSize>
#include <optional>
#include <vector>

#include "client/table/FrameInputs.h"
#include "client/table/PaintedItems.h"
#include "client/table/TableAnimation.h"
#include "client/table/TablePictures.h"
#include "client/table/TextLayouts.h"
#include "platform/gui/DialogUnits.h"

class QWidget;

namespace tessaly {

class MessageBoxes;
class SoundPort;
struct TableState;

class TableFrame {
public:
    // Loads the window's pictures (the background of the layout for
    // seatCount, with its "ERROR LOADING ..." box owned by `owner`, the
    // boxes, cards, button, markers, banner) and the chip pictures.
    void load(MessageBoxes& boxes, QWidget* owner, int seatCount);

    // One frame: advances the animations (the deal's card sound through
    // `sound`) and draws every layer in order into the back buffer. Returns
    // false, without drawing or advancing, when the picture would come out
    // the same as the last one (the acting seat's clock runs on). An empty
    // client area draws nothing but still advances the animations. At another zoom than 1 the client is the
    // zoomed one and every layer is drawn at the zoom: sharp text, each
    // picture scaled from its own pixels.
    bool render(TableState& table, SoundPort& sound, QSize client, ScreenScale scale, double zoom = 1.0);

    const QImage& image() const { return buffer_.image; }
    // The parts of the image the last drawn frame changed: all of it after
    // a change of size, zoom or scale, else where something is painted
    // otherwise than in the frame before.
    const QRegion& changed() const { return changed_; }

    // The leave sequence: drops the pictures and buffers.
    void release();

private:
    // The picture of the table at its size, with its stretched background.
    struct Buffer {
        QImage image;
        QImage background;   // stretched once for the size, copied where a frame draws
        void prepare(QSize size, const Picture& felt);
    };
    // The background and every layer, in order, on `device`: the recorder
    // of what a frame paints, or the buffer within `clip` (all of it when
    // empty).
    void draw(QPaintDevice& device, const TableState& table, const FrameMotion& motion, ScreenScale scale,
              double zoom, const QRegion& clip);

    TablePictures pictures_;
    TableFonts fonts_ = TableFonts::make();
    TextLayouts texts_;
    TableAnimation animation_;
    TurnClock clock_;
    double lastClockLeft_ = -1.0;
    Buffer buffer_;
    // What the last drawn frame painted where, to find what the next one changes.
    std::vector<PaintedItem> painted_;
    QRegion changed_;
    std::optional<FrameInputs> lastInputs_;
    ScreenScale lastScale_;
    QSize lastClient_;
    double zoom_ = 1.0;
};

} // namespace tessaly
