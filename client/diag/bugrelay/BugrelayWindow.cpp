#include "client/diag/bugrelay/BugrelayWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

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
        {.kind = ControlKind::Static, .rect = {7, 7, 286, 12}, .text = "Tessaly closed unexpectedly.",
         .font = FontSpec{"MS Shell Dlg", 10, 700}},
        {.kind = ControlKind::Static, .rect = {7, 22, 286, 8}, .text = "What happened, from the crash report:"},
        {.id = BugrelayWindow::kFirstLines, .kind = ControlKind::Edit, .rect = {7, 32, 286, 82},
         .flags = ctl::MultiLine | ctl::ReadOnly | ctl::HScroll},
        {.id = BugrelayWindow::kWhereText, .kind = ControlKind::Static, .rect = {7, 120, 286, 44}},
        {.id = BugrelayWindow::kOpenFolder, .kind = ControlKind::PushButton, .rect = {7, 172, 80, 16},
         .text = "Open Folder"},
        {.id = BugrelayWindow::kRestart, .kind = ControlKind::PushButton, .rect = {93, 172, 80, 16},
         .text = "Start Tessaly", .flags = ctl::DefaultButton},
        {.id = 2, .kind = ControlKind::PushButton, .rect = {233, 172, 60, 16}, .text = "Close"},
    }};

} // namespace

std::vector<std::string> reportFirstLines(std::string_view report, std::size_t count)
{
    std::vector<std::string> lines;
    while (!report.empty() && lines.size() < count) {
        const std::size_t eol = report.find('\n');
        std::string_view line = report.substr(0, eol);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.emplace_back(line);
        report.remove_prefix(eol == std::string_view::npos ? report.size() : eol + 1);
    }
    return lines;
}

BugrelayWindow::BugrelayWindow(const QString& clientPath, FolderOpener openFolder, ProcessLauncher& launcher,
                               QWidget* parent)
    : DialogWindow(kBugrelayTemplate, DialogBuilder{}, parent),
      clientPath_(clientPath),
      folder_(QFileInfo(clientPath).absolutePath()),
      openFolder_(std::move(openFolder)),
      launcher_(launcher)
{
    const QString report = folder_ + QStringLiteral("/ERRORLOG.TXT");
    const QString dump = folder_ + QStringLiteral("/CRASH.DMP");
    QFile file(report);
    QString shown;
    if (file.open(QIODevice::ReadOnly)) {
        for (const std::string& line : reportFirstLines(file.read(64 * 1024).toStdString(), kShownLines))
            shown += QString::fromStdString(line) + QLatin1Char('\n');
    } else {
        shown = QStringLiteral("The crash report could not be read.");
    }
    multiLineEdit(kFirstLines)->setPlainText(shown.trimmed());
    multiLineEdit(kFirstLines)->setLineWrapMode(QPlainTextEdit::NoWrap);
    staticText(kWhereText)->setText(
        QStringLiteral("The crash report and the crash dump are in the program's folder:\n%1\n%2\n"
                       "Nothing has been sent anywhere.")
            .arg(report, dump));

    multiLineEdit(kFirstLines)->setAccessibleName(QStringLiteral("What happened, from the crash report"));
    staticText(kWhereText)->setAccessibleName(QStringLiteral("Where the files are"));
    for (int id : {int(kOpenFolder), int(kRestart), 2})
        button(id)->setAccessibleName(button(id)->text());

    connect(button(kOpenFolder), &QPushButton::clicked, this, [this] { openFolder_(folder_); });
    connect(button(kRestart), &QPushButton::clicked, this, &BugrelayWindow::restartClient);
}

void BugrelayWindow::restartClient()
{
    if (launcher_.start(clientPath_.toStdString(), {}))
        accept();
}

} // namespace tessaly
