#pragma once
// The offers after a hand: "Show?" / "Muck?" for a winning hand nobody has
// to see, "Show (You lost)" / "Muck (You lost)" for a losing one. Either
// button of a pair ends its offer.

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>

#include "client/table/BettingControls.h"
#include "client/table/TableState.h"
#include "platform/gui/DialogBuilder.h"

namespace tessaly {

class OfferButtons : public QObject {
    Q_OBJECT
public:
    OfferButtons(const ControlMap& controls, BettingContext& context, QObject* parent = nullptr);

    // Each pair shows while its offer stands.
    void frameStep();

private:
    struct Offer {
        QWidget* show;
        QWidget* muck;
        std::int32_t TableState::*flag;
    };
    void connectOffer(const Offer& offer, std::function<std::string()> showMessage);
    void close(const Offer& offer);

    BettingContext& context_;
    Offer brag_;
    Offer showLost_;
};

} // namespace tessaly
