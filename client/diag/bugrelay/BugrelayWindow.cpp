#include "client/diag/bugrelay/BugrelayWindow.h"

#include <QCheckBox>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "client/diag/bugrelay/SentFormDialog.h"
#include "platform/sys/Process.h"

namespace tessaly {
namespace {

const DialogTemplate kBugrelayTemplate{
    .resource = 200,
    .caption = "Tessaly closed unexpectedly",
    .width = 300,
    .height = 196,
    .font = {"MS Shell Dlg", 8},
    .controls = {
        {.id = BugrelayWindow::kHeading, .kind = ControlKind::Static, .rect = {7, 7, 286, 12},
         .font = FontSpec{"MS Shell Dlg", 10, 700}},
        {.id = BugrelayWindow::kExplanation, .kind = ControlKind::Static, .rect = {7, 23, 286, 28}},
        {.kind = ControlKind::Static, .rect = {7, 56, 286, 9}, .text = "What were you doing? (optional)"},
        {.id = BugrelayWindow::kComments, .kind = ControlKind::Edit, .rect = {7, 66, 286, 13},
         .maxLength = BugrelayWindow::kCommentsMax},
        {.id = BugrelayWindow::kShowSent, .kind = ControlKind::PushButton, .rect = {7, 85, 90, 15},
         .text = "Show what is sent"},
        {.id = BugrelayWindow::kAutomatic, .kind = ControlKind::CheckBox, .rect = {7, 106, 286, 11},
         .text = "Send reports automatically from now on"},
        {.id = BugrelayWindow::kStatus, .kind = ControlKind::Static, .rect = {7, 124, 286, 40}},
        {.id = BugrelayWindow::kSend, .kind = ControlKind::PushButton, .rect = {7, 172, 80, 16},
         .text = "Send and restart", .flags = ctl::DefaultButton},
        {.id = BugrelayWindow::kRestart, .kind = ControlKind::PushButton, .rect = {93, 172, 60, 16},
         .text = "Restart"},
        {.id = 2, .kind = ControlKind::PushButton, .rect = {233, 172, 60, 16}, .text = "Close"},
    }};

QString fromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString deliveryText(const Delivery& delivery, const QString& keptFolder)
{
    const QString notKept = QStringLiteral("It could not be kept for later either: the folder %1 cannot be written.")
                                .arg(keptFolder);
    switch (delivery.result) {
    case Delivery::Result::Sent:
        return delivery.reportId.empty()
                   ? QStringLiteral("Thank you: the report was sent.")
                   : QStringLiteral("Thank you: the report was sent. Its number is %1.").arg(fromUtf8(delivery.reportId));
    case Delivery::Result::Limited: {
        const QString when = QDateTime::fromSecsSinceEpoch(delivery.nextUpload).toString(QStringLiteral("HH:mm"));
        return QStringLiteral("A report was sent less than an hour ago, so this one was not sent now. ")
             + (delivery.kept ? QStringLiteral("Tessaly offers it again when it starts after %1.").arg(when) : notKept);
    }
    case Delivery::Result::NotSent:
        break;
    }
    return QStringLiteral("The report could not be sent (%1). ").arg(fromUtf8(delivery.error))
         + (delivery.kept ? QStringLiteral("It is kept, and offered again at the next start of Tessaly.") : notKept);
}

BugrelayWindow::BugrelayWindow(const SenderCommand& command, PendingReport report, ReportDelivery& delivery,
                               SenderSettings& settings, ProcessLauncher& launcher, QWidget* parent)
    : DialogWindow(kBugrelayTemplate, DialogBuilder{}, parent),
      command_(command),
      report_(std::move(report)),
      delivery_(delivery),
      settings_(settings),
      launcher_(launcher)
{
    const bool crashed = command_.how == SenderStart::Crash;
    staticText(kHeading)->setText(crashed || !report_.kept ? QStringLiteral("Tessaly closed unexpectedly.")
                                                           : QStringLiteral("Tessaly closed unexpectedly earlier."));
    QString explanation = QStringLiteral(
        "A crash report was written. Sending it to the Tessaly team helps them find and fix the fault. "
        "It holds no password and no chat text, and nothing is sent unless you choose to.");
    if (report_.kept)
        explanation = QStringLiteral("Its crash report has not been sent yet. It holds no password and no chat "
                                     "text. Send it now? If you close this window, the report is deleted.");
    staticText(kExplanation)->setText(explanation);
    edit(kComments)->setText(fromUtf8(report_.comments));
    checkBox(kAutomatic)->setChecked(settings_.sendAutomatically());
    if (!crashed) {
        button(kSend)->setText(QStringLiteral("Send"));
        button(kRestart)->hide();
    }
    for (int id : {int(kShowSent), int(kSend), int(kRestart), 2})
        button(id)->setAccessibleName(button(id)->text());
    checkBox(kAutomatic)->setAccessibleName(checkBox(kAutomatic)->text());

    connect(button(kShowSent), &QPushButton::clicked, this, &BugrelayWindow::showWhatIsSent);
    connect(checkBox(kAutomatic), &QCheckBox::toggled, this, [this](bool on) { settings_.setSendAutomatically(on); });
    connect(button(kSend), &QPushButton::clicked, this, &BugrelayWindow::sendReport);
    connect(button(kRestart), &QPushButton::clicked, this, [this] {
        restartClient();
        if (restartProblem_.isEmpty())
            closeWindow(QDialog::Accepted);
        else
            staticText(kStatus)->setText(restartProblem_);
    });
    edit(kComments)->setFocus();
}

BugrelayWindow::~BugrelayWindow()
{
    if (worker_.joinable())
        worker_.join();
}

void BugrelayWindow::showWhatIsSent()
{
    const std::string comments = edit(kComments)->text().toStdString();
    const auto parts = crashFormParts(report_, delivery_.fields(comments));
    SentFormDialog(fromUtf8(describeCrashForm(parts, delivery_.url())), this).exec();
}

void BugrelayWindow::restartClient()
{
    restartProblem_.clear();
    if (!launcher_.start(command_.clientPath, command_.clientArguments))
        restartProblem_ = QStringLiteral("Tessaly could not be started again. ");
}

void BugrelayWindow::sendReport()
{
    sendStarted_ = true;
    delivery_.keep(report_, edit(kComments)->text().toStdString());
    if (command_.how == SenderStart::Crash)
        restartClient();
    for (QWidget* control : {static_cast<QWidget*>(edit(kComments)), static_cast<QWidget*>(button(kSend)),
                             static_cast<QWidget*>(button(kRestart))})
        control->setEnabled(false);
    button(2)->setDefault(true);
    button(2)->setFocus();
    staticText(kStatus)->setText(restartProblem_ + QStringLiteral("Sending the report..."));
    sending_ = true;
    worker_ = std::thread([this] {
        const Delivery delivery = delivery_.send(report_);
        QMetaObject::invokeMethod(this, [this, delivery] { sendFinished(delivery); }, Qt::QueuedConnection);
    });
}

void BugrelayWindow::sendFinished(const Delivery& delivery)
{
    worker_.join();
    sending_ = false;
    const QString folder = QString::fromStdString(report_.folder.string());
    QLabel* status = staticText(kStatus);
    status->setText(restartProblem_ + deliveryText(delivery, folder));
    // Selectable, so that the report's number can be copied; focused (which
    // does not bring the window forward), so that a screen reader reads it.
    status->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    status->setFocus();
    if (closed_)
        emit ended();
}

void BugrelayWindow::reject()
{
    // A kept report that the user declines at the offer is not offered again.
    if (report_.kept && !sendStarted_ && command_.how != SenderStart::Crash)
        delivery_.discard(report_);
    closeWindow(QDialog::Rejected);
}

void BugrelayWindow::closeWindow(int result)
{
    closed_ = true;
    done(result);
    if (!sending_)
        emit ended();
}

} // namespace tessaly
