// The dialog layer: a window built from a template, its controls found by
// id at their pixel places, menus, the skinned kinds, and message boxes.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include "client/ui/AmountEdit.h"
#include "client/ui/HotSpotButton.h"
#include "client/ui/LinkTicker.h"
#include "client/ui/SkinButton.h"
#include "client/ui/SkinControls.h"
#include "platform/gui/Desktop.h"
#include "platform/gui/DialogWindow.h"
#include "platform/gui/QtMessageBoxes.h"

namespace tessaly {
namespace {

const MenuTemplate kMenu{
    .resource = 129,
    .items = {{.text = "&My Account",
               .items = {{.text = "My Account (Website)", .id = 139},
                         {.text = "Change E-Mail", .id = 32810, .grayed = true},
                         {.separator = true},
                         {.text = "Logoff and Exit", .id = 144}}},
              {.text = "&Options", .items = {{.text = "Draw smiley's (chat box)", .id = 32799, .checked = true}}}}};

// One small window with a control of every kind.
const DialogTemplate kSample{
    .resource = 901,
    .caption = " Sample\rWindow",
    .width = 200,
    .height = 160,
    .font = {"Arial", 8},
    .flags = dlg::SystemMenu | dlg::MinimizeBox | dlg::HandCursorOverButtons,
    .menu = &kMenu,
    .controls = {
        {.id = 1050, .kind = ControlKind::GroupBox, .rect = {4, 2, 192, 60}, .text = "Register Account",
         .font = FontSpec{"Verdana", 12}},
        {.kind = ControlKind::Static, .rect = {10, 16, 50, 8}, .text = "ScreenName:", .flags = ctl::AlignRight},
        {.id = 1037, .kind = ControlKind::Edit, .rect = {64, 14, 80, 12}, .maxLength = 16},
        {.id = 1038, .kind = ControlKind::Edit, .rect = {64, 30, 80, 12}, .flags = ctl::Password},
        {.id = 1016, .kind = ControlKind::CheckBox, .rect = {10, 46, 180, 12}, .text = "I am at least 18",
         .flags = ctl::Checked | ctl::MultiLine},
        {.id = 1110, .kind = ControlKind::Edit, .rect = {4, 64, 60, 30}, .flags = ctl::MultiLine | ctl::VScroll},
        {.id = 1073, .kind = ControlKind::RichEdit, .rect = {68, 64, 60, 30}, .flags = ctl::ReadOnly},
        {.id = 1000, .kind = ControlKind::ListView, .rect = {132, 64, 64, 30}, .flags = ctl::SingleSelection},
        {.id = 1013, .kind = ControlKind::ComboBox, .rect = {4, 98, 60, 12}, .text = "Dealer - Everything",
         .flags = ctl::Editable},
        {.id = 1020, .kind = ControlKind::Trackbar, .rect = {68, 98, 60, 12}},
        {.id = 1100, .kind = ControlKind::ProgressBar, .rect = {132, 98, 64, 12}},
        {.id = 1006, .kind = ControlKind::SkinButton, .rect = {4, 114, 48, 14}, .text = "Login"},
        {.id = 1010, .kind = ControlKind::HotSpotButton, .rect = {56, 114, 40, 14}},
        {.id = 1077, .kind = ControlKind::LinkTicker, .rect = {0, 130, 200, 12}},
        {.id = 1024, .kind = ControlKind::AmountEdit, .rect = {100, 114, 40, 12}},
        {.id = 1058, .kind = ControlKind::PushButton, .rect = {144, 114, 50, 14}, .text = "I am back",
         .flags = ctl::Hidden},
        {.id = 1, .kind = ControlKind::PushButton, .rect = {100, 144, 40, 14}, .text = "OK",
         .flags = ctl::DefaultButton},
        {.id = 2, .kind = ControlKind::PushButton, .rect = {150, 144, 40, 14}, .text = "Cancel",
         .flags = ctl::Disabled},
    }};

TEST(DialogWindow, BuildsEveryControlAtItsPixelPlaceBelowTheMenu)
{
    DialogWindow window(kSample, skinDialogBuilder(), ScreenScale{});
    ASSERT_NE(window.menuBar(), nullptr);
    const int menu = window.menuBar()->height();
    EXPECT_GT(menu, 0);
    EXPECT_EQ(window.clientRect(), QRect(0, menu, 300, 260));
    EXPECT_EQ(window.size(), QSize(300, 260 + menu));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.windowTitle(), QStringLiteral(" Sample\nWindow"));
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);

    const struct {
        int id;
        QRect pixels;
    } places[] = {{1037, {96, 23, 120, 20}}, {1006, {6, 185, 72, 23}}, {1077, {0, 211, 300, 20}}, {1, {150, 234, 60, 23}}};
    for (const auto& p : places)
        EXPECT_EQ(window.control(p.id)->geometry(), p.pixels.translated(0, menu)) << p.id;

    EXPECT_EQ(window.edit(1037)->maxLength(), 16);
    EXPECT_EQ(window.edit(1038)->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(window.checkBox(1016)->isChecked());
    EXPECT_NE(window.multiLineEdit(1110), nullptr);
    EXPECT_TRUE(window.richEdit(1073)->isReadOnly());
    EXPECT_EQ(window.listView(1000)->selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(window.comboBox(1013)->currentText(), QStringLiteral("Dealer - Everything"));
    EXPECT_EQ(window.trackbar(1020)->maximum(), 100);
    EXPECT_EQ(window.progressBar(1100)->value(), 0);
    EXPECT_NE(window.control<SkinButton>(1006), nullptr);
    EXPECT_NE(window.control<HotSpotButton>(1010), nullptr);
    EXPECT_NE(window.control<LinkTicker>(1077), nullptr);
    EXPECT_NE(window.control<AmountEdit>(1024), nullptr);
    EXPECT_TRUE(window.button(1)->isDefault());
    EXPECT_FALSE(window.button(2)->isEnabled());
    EXPECT_TRUE(window.button(1058)->isHidden());
    EXPECT_EQ(window.control<SkinButton>(1006)->text(), QStringLiteral("Login"));

    // Wrong kind, unknown id: nullptr rather than a bad cast.
    EXPECT_EQ(window.button(1037), nullptr);
    EXPECT_EQ(window.edit(4242), nullptr);

    // The group box's caption has its own font and lets clicks through.
    QGroupBox* group = window.groupBox(1050);
    EXPECT_EQ(group->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(group->font().pointSizeF(), 12);
    EXPECT_EQ(window.edit(1037)->font().family(), QStringLiteral("Liberation Sans"));
    EXPECT_TRUE(group->testAttribute(Qt::WA_TransparentForMouseEvents));
    EXPECT_EQ(window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly).first(), group);

    EXPECT_EQ(window.button(1)->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(window.control(1010)->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_NE(window.checkBox(1016)->cursor().shape(), Qt::PointingHandCursor);
}

TEST(DialogWindow, WrappedCheckBoxTextAndInvisibleHotSpotsTakeClicks)
{
    DialogWindow window(kSample, skinDialogBuilder(), ScreenScale{});
    window.show();
    QCheckBox* box = window.checkBox(1016);
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(box->width() - 20, box->height() / 2));
    EXPECT_FALSE(box->isChecked());

    auto* spot = window.control<HotSpotButton>(1010);
    const QImage before = window.grab(spot->geometry()).toImage();
    QSignalSpy clicked(spot, &QAbstractButton::clicked);
    QTest::mouseClick(spot, Qt::LeftButton);
    EXPECT_EQ(clicked.count(), 1);
    spot->hide();
    EXPECT_EQ(window.grab(spot->geometry()).toImage(), before);   // it never drew anything
}

TEST(DialogWindow, ButtonsOneAndTwoEndTheDialog)
{
    DialogTemplate withCancel = kSample;
    withCancel.controls.back().flags = 0;
    DialogWindow ok(withCancel, skinDialogBuilder(), ScreenScale{});
    QSignalSpy accepted(&ok, &QDialog::accepted);
    ok.button(1)->click();
    EXPECT_EQ(accepted.count(), 1);
    DialogWindow cancel(withCancel, skinDialogBuilder(), ScreenScale{});
    QSignalSpy rejected(&cancel, &QDialog::rejected);
    cancel.button(2)->click();
    EXPECT_EQ(rejected.count(), 1);
}

TEST(DialogWindow, MenusCarryTheirCommandIds)
{
    DialogWindow window(kSample, skinDialogBuilder(), ScreenScale{});
    ASSERT_NE(window.command(144), nullptr);
    EXPECT_EQ(window.command(144)->text(), QStringLiteral("Logoff and Exit"));
    EXPECT_EQ(commandId(window.command(144)), 144);
    EXPECT_FALSE(window.command(32810)->isEnabled());
    EXPECT_TRUE(window.command(32799)->isChecked());
    QSignalSpy triggered(window.menuBar(), &QMenuBar::triggered);
    window.command(139)->trigger();
    ASSERT_EQ(triggered.count(), 1);
    EXPECT_EQ(commandId(triggered.at(0).at(0).value<QAction*>()), 139);

    const MenuItem popup{.items = {{.text = "Take Player Notes", .id = 32804}, {.text = "Disable Players' Chat", .id = 32803}}};
    ControlMap commands;
    std::unique_ptr<QMenu> menu(buildPopupMenu(popup, nullptr, &commands));
    EXPECT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(commandId(commands.command(32803)), 32803);
}

TEST(DialogWindow, ScalesWithTheScreen)
{
    DialogWindow window(kSample, skinDialogBuilder(), ScreenScale{1.25, 1.25});
    EXPECT_EQ(window.clientRect().size(), QSize(375, 325));
    EXPECT_EQ(window.control(1037)->geometry().topLeft(), QPoint(120, 28 + window.clientRect().top()));
}

// A window of fixed size asks the window manager for no maximize button:
// the hint is left out, the customised title bar makes the window manager
// take the missing hint as a refusal, and the size is fixed both ways.
TEST(DialogWindow, OnlyAResizableWindowOffersToMaximize)
{
    const struct {
        const char* what;
        unsigned flags;
    } cases[] = {
        {"a dialog", dlg::SystemMenu},
        {"a window on the task bar, as the lobby", dlg::SystemMenu | dlg::MinimizeBox},
        {"a resizable window", dlg::SystemMenu | dlg::Resizable},
    };
    for (const auto& c : cases) {
        const DialogTemplate style{.resource = 902, .caption = "Style", .width = 100, .height = 50, .flags = c.flags};
        const DialogWindow window(style, skinDialogBuilder(), ScreenScale{});
        const bool resizable = (c.flags & dlg::Resizable) != 0;
        EXPECT_EQ(window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint), resizable) << c.what;
        EXPECT_TRUE(window.windowFlags().testFlag(Qt::CustomizeWindowHint)) << c.what;
        EXPECT_EQ(window.minimumSize() == window.maximumSize(), !resizable) << c.what;
    }
}

TEST(Desktop, TextsBreakLinesAtCarriageReturnsAndResourcesResolve)
{
    EXPECT_EQ(displayText("Incorrect username and/or password.\rIf you do not"),
              QStringLiteral("Incorrect username and/or password.\nIf you do not"));
    EXPECT_EQ(displayText("Click to leave table.\r\nIf seated"), QStringLiteral("Click to leave table.\nIf seated"));
    EXPECT_EQ(bitmapImage(208).size(), QSize(454, 290));
    EXPECT_TRUE(bitmapImage(4711).isNull());
    EXPECT_GE(iconResource(128).availableSizes().size(), 4);
    EXPECT_FALSE(iconResource(199).isNull());
    EXPECT_FALSE(iconResource(200).isNull());
    EXPECT_TRUE(iconResource(4711).isNull());
    EXPECT_EQ(pixelFont("Verdana Bold", 16, 700).pixelSize(), 16);
    EXPECT_EQ(pixelFont("Verdana Bold", 16).weight(), QFont::Bold);
}

// Answers the next message box from inside its event loop.
void answerNextBox(QMessageBox::StandardButton button, std::function<void(QMessageBox&)> inspect)
{
    QTimer::singleShot(0, [button, inspect] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        inspect(*box);
        box->button(button)->click();
    });
}

TEST(QtMessageBoxes, ShowsTextCaptionIconAndButtonsAndReturnsTheAnswer)
{
    QtMessageBoxes boxes;
    answerNextBox(QMessageBox::Cancel, [](QMessageBox& box) {
        EXPECT_EQ(box.text(), QStringLiteral("You sure you want to leave Tessaly\nReally?"));
        EXPECT_EQ(box.windowTitle(), QStringLiteral("Tessaly Warning"));
        EXPECT_EQ(box.icon(), QMessageBox::Warning);
        EXPECT_EQ(box.buttons().size(), 2);
        EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
    });
    EXPECT_EQ(boxes.show({.text = "You sure you want to leave Tessaly\rReally?", .caption = "Tessaly Warning",
                          .icon = BoxIcon::Exclamation, .buttons = BoxButtons::OkCancel, .systemModal = true}),
              BoxAnswer::Cancel);

    QWidget owner;
    owner.show();
    answerNextBox(QMessageBox::Ok, [&owner](QMessageBox& box) {
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.buttons().size(), 1);
        EXPECT_EQ(box.windowModality(), Qt::WindowModal);
        EXPECT_EQ(box.parentWidget(), &owner);
        EXPECT_EQ(box.windowTitle(), defaultBoxCaption());
    });
    EXPECT_EQ(boxes.show({.text = "Failed to load card image", .caption = "", .icon = BoxIcon::Stop, .owner = &owner}),
              BoxAnswer::Ok);

    for (const auto& [button, answer] : {std::pair{QMessageBox::Yes, BoxAnswer::Yes}, {QMessageBox::No, BoxAnswer::No}}) {
        answerNextBox(button, [](QMessageBox& box) {
            EXPECT_EQ(box.buttons().size(), 2);
            EXPECT_NE(box.button(QMessageBox::Yes), nullptr);
            EXPECT_EQ(box.escapeButton(), box.button(QMessageBox::No));
        });
        EXPECT_EQ(boxes.show({.text = "Are you sure?", .caption = "Tessaly Warning", .icon = BoxIcon::None,
                              .buttons = BoxButtons::YesNo}),
                  answer);
    }
}

} // namespace
} // namespace tessaly
