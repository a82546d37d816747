#include "client/table/OfferButtons.h"

#include <QAbstractButton>

#include "client/net/ClientMessages.h"
#include "client/net/LineSender.h"

namespace tessaly {

using namespace betting;

OfferButtons::OfferButtons(const ControlMap& controls, BettingContext& context, QObject* parent)
    : QObject(parent), context_(context),
      brag_{controls.control(kShow), controls.control(kMuck), &TableState::bragOffered},
      showLost_{controls.control(kShowLost), controls.control(kMuckLost), &TableState::showLostOffered}
{
    connectOffer(brag_, [this] { return bragOkayMessage(context_.tableId); });
    connectOffer(showLost_, [this] { return showLostMessage(context_.tableId, context_.table.userSeat); });
}

void OfferButtons::connectOffer(const Offer& offer, std::function<std::string()> showMessage)
{
    if (auto* show = qobject_cast<QAbstractButton*>(offer.show)) {
        show->setAccessibleName(show->text());
        connect(show, &QAbstractButton::clicked, this, [this, &offer, showMessage] {
            context_.sender.sendLine(showMessage());
            close(offer);
        });
    }
    if (auto* muck = qobject_cast<QAbstractButton*>(offer.muck)) {
        muck->setAccessibleName(muck->text());
        connect(muck, &QAbstractButton::clicked, this, [this, &offer] { close(offer); });
    }
}

void OfferButtons::frameStep()
{
    for (const Offer* offer : {&brag_, &showLost_}) {
        const bool open = context_.table.*offer->flag == 1;
        showControl(offer->show, open);
        showControl(offer->muck, open);
    }
}

void OfferButtons::close(const Offer& offer)
{
    context_.table.*offer.flag = 0;
    showControl(offer.show, false);
    showControl(offer.muck, false);
}

} // namespace tessaly
