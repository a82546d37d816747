#pragma once
// The "take a seat" buttons: ten for the 10-seat layout and six for the
// 6-seat one, each over its seat's player box. Only the free seats of the
// table's own layout show, and none once the user sits here.

#include <QObject>
#include <vector>

#include "platform/gui/DialogBuilder.h"

class QAbstractButton;

namespace tessaly {

struct TableState;

class SeatButtons : public QObject {
    Q_OBJECT
public:
    static constexpr int kFirstTenSeatId = 1002;   // 1002-1011: seats 0-9
    static constexpr int kFirstSixSeatId = 1061;   // 1061-1066: seats 0-5

    // The sixteen buttons, hidden, for the window's template.
    static std::vector<ControlTemplate> controls();

    // Gives the built buttons their picture, tip and names and places them.
    SeatButtons(const ControlMap& controls, ScreenScale scale, QObject* parent = nullptr);

    // One frame's look at the record: which buttons show.
    void frameStep(const TableState& table);

signals:
    void seatClicked(int seat);

private:
    struct Seat {
        QAbstractButton* button;
        int seatCount;
        int seat;
    };
    std::vector<Seat> seats_;
};

} // namespace tessaly
