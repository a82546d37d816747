// tessaly-gallery DIST_DIR OUT.png
// A contact sheet of the install's pictures, the compiled-in resources and
// the controls in their states, to look at the whole look at once.

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QThread>
#include <cstdio>
#include <vector>

#include "client/ui/AmountEdit.h"
#include "client/ui/CardImages.h"
#include "client/ui/ChipRack.h"
#include "client/ui/LinkTicker.h"
#include "client/ui/Picture.h"
#include "client/ui/SkinButton.h"
#include "client/ui/SkinControls.h"
#include "platform/gui/Desktop.h"
#include "platform/gui/DialogWindow.h"
#include "platform/gui/QtMessageBoxes.h"

namespace tessaly {
namespace {

const QColor kSheet(0x20, 0x24, 0x2C);
const QColor kFelt(0x1E, 0x6E, 0x3C);
constexpr int kSheetWidth = 1660;

class Sheet {
public:
    Sheet() : image_(kSheetWidth, 4200, QImage::Format_ARGB32_Premultiplied), painter_(&image_)
    {
        image_.fill(kSheet);
        painter_.setRenderHint(QPainter::Antialiasing);
    }

    QPainter& painter() { return painter_; }
    int y() const { return y_; }
    void advance(int height) { y_ += height; }

    void heading(const QString& text)
    {
        y_ += 14;
        painter_.setPen(QColor(0xD4, 0xAF, 0x55));
        painter_.setFont(pixelFont("Verdana Bold", 18));
        painter_.drawText(QPoint(20, y_ + 18), text);
        y_ += 30;
    }

    void label(int x, int y, const QString& text, const QColor& colour = QColor(0xC8, 0xCC, 0xD4))
    {
        painter_.setPen(colour);
        painter_.setFont(pixelFont("Arial", 11));
        painter_.drawText(QPoint(x, y), text);
    }

    QImage finish()
    {
        painter_.end();
        return image_.copy(0, 0, kSheetWidth, y_ + 20);
    }

private:
    QImage image_;
    QPainter painter_;
    int y_ = 0;
};

Picture load(const QString& path)
{
    Picture picture;
    if (picture.load(path.toStdString()) < 0)
        std::fprintf(stderr, "gallery: cannot load %s\n", qPrintable(path));
    return picture;
}

// A row of pictures drawn with their key on a backdrop, labelled.
void pictureRow(Sheet& sheet, const QStringList& files, QRgb key, const QColor& backdrop, int cell)
{
    int x = 20;
    int rowHeight = 0;
    for (const QString& file : files) {
        const Picture picture = load(file);
        const int w = std::max(cell, picture.width() + 16);
        if (x + w > kSheetWidth - 20) {
            sheet.advance(rowHeight + 24);
            x = 20;
            rowHeight = 0;
        }
        sheet.painter().fillRect(QRect(x, sheet.y(), w, picture.height() + 16), backdrop);
        picture.drawKeyed(sheet.painter(), x + 8, sheet.y() + 8, key);
        sheet.label(x, sheet.y() + picture.height() + 30, QFileInfo(file).fileName());
        rowHeight = std::max(rowHeight, picture.height() + 16);
        x += w + 10;
    }
    sheet.advance(rowHeight + 40);
}

void cards(Sheet& sheet)
{
    sheet.heading("Cards (cards/, 57 x 77, key RGB(243,243,22)) on the felt");
    const QRect area(20, sheet.y(), 13 * 62 + 80, 4 * 84 + 12);
    sheet.painter().fillRect(area, kFelt);
    for (int code = 0; code < 52; ++code) {
        const Picture& card = cardImages().card(code);
        card.drawKeyed(sheet.painter(), 28 + (code / 4) * 62, sheet.y() + 6 + (code % 4) * 84, 0xF3F316);
    }
    cardImages().card(kCardBack).drawKeyed(sheet.painter(), 28 + 13 * 62 + 10, sheet.y() + 6, 0xF3F316);
    // Hole cards overlap by all but 19 pixels: the index must stay readable.
    const int hx = area.right() + 30;
    sheet.painter().fillRect(QRect(hx, sheet.y(), 260, area.height()), kFelt);
    const int pairs[][2] = {{48, 51}, {33, 34}, {26, 30}, {0, 5}};
    for (int i = 0; i < 4; ++i) {
        cardImages().card(pairs[i][0]).drawKeyed(sheet.painter(), hx + 20 + (i % 2) * 110, sheet.y() + 20 + (i / 2) * 150, 0xF3F316);
        cardImages().card(pairs[i][1]).drawKeyed(sheet.painter(), hx + 39 + (i % 2) * 110, sheet.y() + 21 + (i / 2) * 150, 0xF3F316);
    }
    sheet.label(hx, area.bottom() + 16, "hole cards as the table draws them");
    sheet.advance(area.height() + 30);
}

void chips(Sheet& sheet, const ChipRack& rack)
{
    sheet.heading("Chips (chips//, GIF, key magenta) and DrawChipStack");
    const QRect area(20, sheet.y(), kSheetWidth - 40, 170);
    sheet.painter().fillRect(area, kFelt);
    for (int i = 0; i < kChipKinds; ++i) {
        rack.drawChip(sheet.painter(), 40 + i * 100, sheet.y() + 34, i);
        sheet.label(40 + i * 100, sheet.y() + 50, QString::fromStdString(chipFileName(i)).mid(7));
    }
    const float amounts[] = {0.3f, 7.77f, 150.0f, 1234.56f, 25000.0f, 128765.43f};
    int x = 60;
    for (float amount : amounts) {
        DrawChipStack(sheet.painter(), rack, x, sheet.y() + 140, amount);
        sheet.label(x, sheet.y() + 160, QString::number(double(amount), 'f', 2), Qt::white);
        x += 210;
    }
    sheet.advance(area.height() + 20);
}

struct Seat {
    int x;
    int y;
};

// The table backgrounds with boxes, markers, bets and board where the table
// window puts them, halved.
void tableMock(Sheet& sheet, const QString& file, const std::vector<Seat>& boxes, const std::vector<Seat>& bets,
               const std::vector<Seat>& markers, const QString& markerPattern, int x, const ChipRack& rack)
{
    QImage frame(798, 544, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&frame);
    load(file).drawStretched(painter, frame.rect());
    const Picture box = load("images/userInfoBox.bmp");
    const Picture back = load("images/smallcard1.bmp");
    painter.setPen(Qt::white);
    for (size_t seat = 0; seat < boxes.size(); ++seat) {
        box.drawBlended(painter, boxes[seat].x, boxes[seat].y, 125);
        painter.setFont(pixelFont("Arial Bold", 12, 700));
        painter.setPen(Qt::white);
        painter.drawText(QRect(boxes[seat].x, boxes[seat].y + 3, 85, 16), Qt::AlignHCenter, QStringLiteral("Player %1").arg(seat));
        painter.setPen(QColor(255, 255, 0));
        painter.drawText(QRect(boxes[seat].x, boxes[seat].y + 18, 85, 16), Qt::AlignHCenter, "250");
        DrawChipStack(painter, rack, bets[seat].x, bets[seat].y, 12.5f + float(seat) * 7);
        load(markerPattern.arg(seat)).drawKeyed(painter, markers[seat].x, markers[seat].y, 0xFF00FF);
    }
    back.drawKeyed(painter, 360, 118, 0xFF00FF);
    const int board[] = {50, 27, 9, 44, 1};
    for (int i = 0; i < 5; ++i)
        cardImages().card(board[i]).drawKeyed(painter, 247 + i * 60, 145, 0xF3F316);
    load("images/dealerButton.png").drawKeyed(painter, 519, 81, 0xFF00FF);
    DrawChipStack(painter, rack, 373, 275, 86.5f);
    painter.setFont(pointFont("Verdana Bold", 10, 700));
    const char* options[] = {"Fold/Check Any Bet", "Auto Post Blind", "Muck Losing Hands", "Deal Me Out"};
    for (int i = 0; i < 4; ++i) {
        painter.setPen(i == 0 ? QColor(255, 255, 0) : QColor(Qt::white));
        painter.drawText(QPoint(20, 474 + i * 17 + 12), options[i]);
    }
    painter.end();
    sheet.painter().drawImage(x, sheet.y(), frame);
}

void tables(Sheet& sheet, const ChipRack& rack)
{
    sheet.heading("Table backgrounds (images/), with boxes, markers, bets and board where the table draws them");
    tableMock(sheet, "images/PokerCover.jpg",
              {{447, 11}, {665, 47}, {683, 141}, {668, 366}, {472, 390}, {220, 390}, {10, 357}, {2, 141}, {90, 40}, {263, 12}},
              {{451, 124}, {592, 139}, {647, 221}, {627, 290}, {483, 323}, {291, 321}, {153, 296}, {140, 216}, {192, 157}, {272, 124}},
              {{436, 59}, {591, 74}, {680, 144}, {698, 263}, {564, 339}, {349, 349}, {154, 326}, {88, 240}, {108, 138}, {256, 68}},
              "images//tobutton%1.png", 20, rack);
    tableMock(sheet, "images/sixseattablePlayMoney.jpg",
              {{498, 7}, {700, 127}, {571, 380}, {138, 380}, {13, 127}, {197, 7}},
              {{480, 135}, {615, 215}, {530, 305}, {227, 305}, {145, 215}, {272, 135}},
              {{465, 61}, {673, 148}, {616, 325}, {298, 345}, {92, 240}, {180, 84}},
              "images//6S_tobutton%1.png", 840, rack);
    sheet.advance(560);
}

void lobby(Sheet& sheet)
{
    sheet.heading("Lobby background (images/LobbyBg.jpg) with the ticker and the list frames of the lobby");
    QImage frame(798, 489, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&frame);
    load("images/LobbyBg.jpg").drawStretched(painter, frame.rect());
    painter.setFont(pixelFont("Verdana Bold", 16, 700));
    painter.setPen(Qt::white);
    painter.drawText(QPoint(16, 110 + 14), "Welcome to the Tessaly Gaming Network, have fun and good luck.");
    painter.drawText(QPoint(16, 135 + 14), "Server time: 20:15:03 CT 112 live users on 14 tables.");
    painter.fillRect(unitsToPixels({10, 96, 374, 168}), QColor(255, 255, 255, 235));
    painter.fillRect(unitsToPixels({395, 98, 127, 100}), QColor(245, 245, 245, 235));
    painter.fillRect(unitsToPixels({396, 221, 127, 47}), QColor(255, 255, 255, 235));
    const struct { int x, w, first, second; } buttons[] = {
        {7, 48, 186, 176}, {81, 51, 187, 173}, {150, 50, 189, 174}, {219, 75, 190, 177}, {306, 50, 191, 184}};
    for (const auto& b : buttons) {
        const QRect r = unitsToPixels({b.x, 272, b.w, 14});
        painter.drawImage(r.topLeft(), keyedCopy(bitmapImage(b.second), 0));
    }
    painter.end();
    sheet.painter().drawImage(20, sheet.y(), frame);
    sheet.advance(500);
}

void resources(Sheet& sheet)
{
    sheet.heading("Bitmap resources (first = under the pointer, second = resting) and icons 128, 199, 200");
    const int pairs[][2] = {{186, 176}, {187, 173}, {190, 177}, {189, 174}, {191, 184}, {195, 193},
                            {197, 196}, {202, 182}, {203, 181}, {204, 180}, {201, 183}};
    sheet.painter().fillRect(QRect(20, sheet.y(), kSheetWidth - 40, 120), QColor(0x0B, 0x15, 0x2B));
    int x = 30;
    for (const auto& pair : pairs) {
        const QImage first = keyedCopy(bitmapImage(pair[0]), 0xFF00F0);
        const QImage second = keyedCopy(bitmapImage(pair[1]), 0);
        sheet.painter().drawImage(x, sheet.y() + 12, second);
        sheet.painter().drawImage(x, sheet.y() + 44, first);
        sheet.label(x, sheet.y() + 90, QStringLiteral("%1 / %2").arg(pair[0]).arg(pair[1]));
        x += std::max(first.width(), 80) + 16;
    }
    sheet.advance(130);
    sheet.painter().fillRect(QRect(20, sheet.y(), 480, 300), kFelt);
    sheet.painter().drawImage(20 + 13, sheet.y() + 5, bitmapImage(208));
    sheet.painter().drawImage(530, sheet.y() + 10, keyedCopy(bitmapImage(163), 0xFF00F0));
    sheet.label(530, sheet.y() + 56, "163 action button");
    sheet.painter().fillRect(QRect(700, sheet.y(), 110, 60), kFelt);
    sheet.painter().drawImage(712, sheet.y() + 10, keyedCopy(bitmapImage(1002), 0xFFDEF0));
    sheet.label(700, sheet.y() + 76, "1002 seat button");
    int ix = 530;
    for (int id : {128, 199, 200}) {
        const QIcon icon = iconResource(id);
        for (int size : {16, 32, 64, 128}) {
            sheet.painter().drawPixmap(ix, sheet.y() + 100 + (128 - size), icon.pixmap(size, size));
            ix += size + 10;
        }
        sheet.label(ix - 60, sheet.y() + 250, QString::number(id));
        ix += 20;
    }
    sheet.label(20, sheet.y() + 316, "208 about picture, 454 x 290");
    sheet.advance(330);
}

// The host window the controls live in while they are grabbed.
void settle(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
}

void controls(Sheet& sheet)
{
    sheet.heading("Controls: SkinButton normal / hover / pressed / disabled, a captioned action button, LinkTicker mid-scroll, AmountEdit");
    QWidget host;
    host.resize(1600, 200);
    host.setStyleSheet(QString());
    QPalette dark = host.palette();
    dark.setColor(QPalette::Window, QColor(0x0B, 0x15, 0x2B));
    host.setPalette(dark);
    host.setAutoFillBackground(true);
    std::vector<SkinButton*> buttons;
    for (int i = 0; i < 4; ++i) {
        auto* button = new SkinButton(&host);
        button->setBitmaps(186, 0xFF00F0, 176, 0);
        button->sizeToContent();
        button->move(20 + i * 100, 20);
        buttons.push_back(button);
    }
    auto* action = new SkinButton(&host);
    action->setBitmaps(163, 0xFF00F0, 0, 0);
    action->sizeToContent();
    action->setText("Call 2.50");
    action->setFont(pixelFont("Arial Bold", 13, 700));
    action->move(430, 16);
    auto* ticker = new LinkTicker(&host);
    ticker->setGeometry(20, 70, 797, 20);
    ticker->setFont(pointFont("MS Shell Dlg", 8));
    ticker->addItem("http://www.tessaly.test/", "Welcome to Tessaly, Good Luck!!");
    ticker->addItem("http://www.tessaly.test/stickers.php", "Show your support by displaying one of our Banners!");
    ticker->addItem("http://www.tessaly.test/tellafriend.php", "Tell-A-Friend");
    ticker->addItem("http://www.tessaly.test/comingsoon.php", "Sit & Go + Multi Table Tournaments coming soon !!");
    ticker->start(true);
    auto* amount = new AmountEdit(&host);
    amount->setGrouping(false);
    amount->setValue(1234.5);
    amount->setGeometry(20, 110, 120, 22);
    auto* comma = new AmountEdit(&host, QLocale(QLocale::German));
    comma->setGrouping(false);
    comma->setValue(12.5);
    comma->setGeometry(160, 110, 120, 22);
    host.show();
    host.activateWindow();
    settle(200);
    QMouseEvent move(QEvent::MouseMove, QPointF(10, 10), buttons[1]->mapToGlobal(QPointF(10, 10)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(buttons[1], &move);
    buttons[2]->setDown(true);
    buttons[3]->setEnabled(false);
    settle(1800);   // the banner scrolls on
    const QImage shot = host.grab().toImage();
    sheet.painter().drawImage(20, sheet.y(), shot, 0, 0, 840, 150);
    const char* names[] = {"normal", "hover", "pressed", "disabled"};
    for (int i = 0; i < 4; ++i)
        sheet.label(40 + i * 100, sheet.y() + 60, names[i], Qt::white);
    sheet.label(300, sheet.y() + 126, "1234.50 and 12,50 (comma locale)", Qt::white);
    sheet.advance(160);
}

const DialogTemplate kSample{
    .resource = 900,
    .caption = "  Login to Tessaly",
    .width = 174,
    .height = 120,
    .controls = {
        {.id = 1048, .kind = ControlKind::GroupBox, .rect = {7, 4, 160, 86}, .text = "Registered Player Login",
         .font = FontSpec{"Verdana", 12}},
        {.kind = ControlKind::Static, .rect = {14, 30, 48, 8}, .text = "ScreenName:", .flags = ctl::AlignRight},
        {.id = 1012, .kind = ControlKind::Edit, .rect = {66, 28, 92, 12}, .text = "shark42"},
        {.kind = ControlKind::Static, .rect = {14, 46, 48, 8}, .text = "Password:", .flags = ctl::AlignRight},
        {.id = 1036, .kind = ControlKind::Edit, .rect = {66, 44, 92, 12}, .text = "secret", .flags = ctl::Password},
        {.id = 1016, .kind = ControlKind::CheckBox, .rect = {14, 62, 150, 20},
         .text = "Remember My ScreenName and Password", .flags = ctl::Checked | ctl::MultiLine},
        {.id = 1003, .kind = ControlKind::PushButton, .rect = {30, 98, 50, 14}, .text = "Submit", .flags = ctl::DefaultButton},
        {.id = 1005, .kind = ControlKind::PushButton, .rect = {94, 98, 60, 14}, .text = "Forgot password"},
    }};

void dialog(Sheet& sheet)
{
    sheet.heading("A dialog built from a template (dialog units at scale 1)");
    DialogWindow window(kSample, skinDialogBuilder(), ScreenScale{});
    window.show();
    settle(100);
    sheet.painter().drawImage(20, sheet.y(), window.grab().toImage());
    sheet.advance(window.height() + 10);
}

} // namespace
} // namespace tessaly

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: tessaly-gallery DIST_DIR OUT.png\n");
        return 2;
    }
    QDir::setCurrent(QString::fromLocal8Bit(argv[1]));
    tessaly::QtMessageBoxes boxes;
    tessaly::LoadCardImages(boxes);
    tessaly::ChipRack rack;
    rack.load(boxes);

    tessaly::Sheet sheet;
    tessaly::cards(sheet);
    tessaly::chips(sheet, rack);
    tessaly::tables(sheet, rack);
    tessaly::lobby(sheet);
    sheet.heading("Table pictures (images/), drawn with their keys on the felt");
    tessaly::pictureRow(sheet,
                        {"images/dealerButton.png", "images/sitout.png", "images/congratsbanner.png",
                         "images/userInfoBox.bmp", "images/actionInfoBox.bmp", "images/smallcard1.bmp",
                         "images/toplayerButton.bmp"},
                        0xFF00FF, tessaly::kFelt, 120);
    QStringList markers;
    for (int i = 0; i < 10; ++i)
        markers << QStringLiteral("images//tobutton%1.png").arg(i);
    for (int i = 0; i < 6; ++i)
        markers << QStringLiteral("images//6S_tobutton%1.png").arg(i);
    tessaly::pictureRow(sheet, markers, 0xFF00FF, tessaly::kFelt, 115);
    sheet.heading("Chat pictures (images/chat_*.bmp)");
    QStringList chat;
    for (const char* name : {"smile", "wink", "think", "neutral", "think2", "grin", "sad", "shock", "tongue",
                             "crossedlips", "cry", "cool", "angel", "suit_h", "suit_s", "suit_d", "suit_c", "card",
                             "chip", "n", "y"})
        chat << QStringLiteral("images/chat_%1.bmp").arg(name);
    tessaly::pictureRow(sheet, chat, 0xFF00FF, Qt::white, 125);
    tessaly::resources(sheet);
    tessaly::controls(sheet);
    tessaly::dialog(sheet);
    const QImage result = sheet.finish();
    if (!result.save(QString::fromLocal8Bit(argv[2]))) {
        std::fprintf(stderr, "gallery: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
