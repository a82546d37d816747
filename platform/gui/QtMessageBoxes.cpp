#include "platform/gui/QtMessageBoxes.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>

#include "platform/gui/Desktop.h"

namespace tessaly {
namespace {

QMessageBox::Icon boxIcon(BoxIcon icon)
{
    switch (icon) {
    case BoxIcon::Stop: return QMessageBox::Critical;
    case BoxIcon::Exclamation: return QMessageBox::Warning;
    case BoxIcon::Information: return QMessageBox::Information;
    case BoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

QString defaultBoxCaption()
{
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Tessaly") : name;
}

BoxAnswer QtMessageBoxes::show(const BoxRequest& box)
{
    QMessageBox message(box.owner);
    message.setIcon(boxIcon(box.icon));
    message.setWindowTitle(box.caption.empty() ? defaultBoxCaption() : displayText(box.caption));
    message.setTextFormat(Qt::PlainText);
    message.setText(displayText(box.text));
    setWindowIcons(message);
    message.setWindowModality(box.owner != nullptr && !box.systemModal ? Qt::WindowModal : Qt::ApplicationModal);

    if (box.buttons == BoxButtons::YesNo) {
        QPushButton* yes = message.addButton(QMessageBox::Yes);
        QPushButton* no = message.addButton(QMessageBox::No);
        message.setDefaultButton(yes);
        // Escape and the close box answer No.
        message.setEscapeButton(no);
        message.exec();
        return message.clickedButton() == yes ? BoxAnswer::Yes : BoxAnswer::No;
    }
    QPushButton* ok = message.addButton(QMessageBox::Ok);
    QPushButton* cancel = box.buttons == BoxButtons::OkCancel ? message.addButton(QMessageBox::Cancel) : nullptr;
    message.setDefaultButton(ok);
    // Escape and the close box answer Cancel where there is one, else OK.
    message.setEscapeButton(cancel != nullptr ? cancel : ok);
    message.exec();
    return message.clickedButton() == ok || cancel == nullptr ? BoxAnswer::Ok : BoxAnswer::Cancel;
}

} // namespace tessaly
