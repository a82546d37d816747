// The system information dialog and Bugrelay's window, offscreen: their
// fields, accessible names and buttons.

#include <gtest/gtest.h>

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "client/diag/SystemInfoDialog.h"
#include "client/diag/bugrelay/BugrelayWindow.h"
#include "platform/sys/Process.h"

namespace tessaly {
namespace {

// The label widget whose accessible name is the text.
QLabel* labelNamed(const QWidget& window, const QString& name)
{
    for (QLabel* label : window.findChildren<QLabel*>())
        if (label->accessibleName() == name)
            return label;
    return nullptr;
}

TEST(SystemInfoDialog, ShowsEachFieldBesideTheLabelItIsReadWith)
{
    SystemInfoTexts texts;
    texts.version = "  6.1 Debian GNU/Linux 12 (bookworm)";
    texts.processors = "  4";
    texts.cpuType = "  3.80 GHz Intel(R) Core(TM) i7-7700HQ CPU @ 2.80GHz";
    texts.features = "  FPU MMX SSE SSE2 RDTSC PAE ";
    texts.memoryLoad = "  24%";
    texts.physical = "  11948 MB free out of 15931 MB";
    texts.virtualMemory = "  134217000 MB free out of 134217728 MB";
    texts.graphics = "  Intel Corporation HD Graphics 630";
    dlgSystemInfo dialog(texts);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("System Information"));
    EXPECT_EQ(dialog.resource(), 170);

    const std::pair<const char*, const std::string*> fields[] = {
        {"Processor Count", &texts.processors}, {"CPU Type", &texts.cpuType},
        {"CPU Features", &texts.features},      {"Memory Load", &texts.memoryLoad},
        {"Physical", &texts.physical},          {"Virtual", &texts.virtualMemory},
        {"Graphics Card", &texts.graphics},     {"Windows Version", &texts.version},
    };
    for (const auto& [name, text] : fields) {
        // The field and its caption both carry the name; the field is the sunken one.
        QLabel* field = nullptr;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->accessibleName() == QLatin1String(name) && label->frameShadow() == QFrame::Sunken)
                field = label;
        ASSERT_TRUE(field) << name;
        EXPECT_EQ(field->text().toStdString(), *text) << name;
        // Fields sit right of their captions, on the same line.
        QLabel* caption = nullptr;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (label->text() == QLatin1String(name))
                caption = label;
        ASSERT_TRUE(caption) << name;
        EXPECT_LT(caption->geometry().right(), field->geometry().left()) << name;
        EXPECT_LT(std::abs(caption->geometry().center().y() - field->geometry().center().y()), 6) << name;
    }
    ASSERT_TRUE(dialog.groupBox(1067));
    EXPECT_EQ(dialog.groupBox(1067)->accessibleName(), QStringLiteral("Processor"));
    EXPECT_EQ(dialog.groupBox(1068)->font().family(), dialog.groupBox(1067)->font().family());
    EXPECT_GT(dialog.groupBox(1068)->font().pointSizeF(), dialog.font().pointSizeF());
    EXPECT_EQ(dialog.button(1)->accessibleName(), QStringLiteral("OK"));

    dialog.show();
    if (qEnvironmentVariableIsSet("TESSALY_SCREENSHOTS"))
        dialog.grab().save(QStringLiteral("/tmp/system-info.png"));
    QTest::mouseClick(dialog.button(1), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

class RecordingLauncher : public ProcessLauncher {
public:
    bool start(const std::string& program, const std::vector<std::string>& arguments) override
    {
        started.emplace_back(program, arguments);
        return startWorks;
    }
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
    bool startWorks = true;
};

TEST(ReportFirstLines, CutsCrLfAndLfLines)
{
    EXPECT_EQ(reportFirstLines("a\r\nb\nc\r\n", 2), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(reportFirstLines("a\r\n\r\nlast", 8), (std::vector<std::string>{"a", "", "last"}));
    EXPECT_TRUE(reportFirstLines("", 8).empty());
}

TEST(BugrelayWindow, ShowsTheReportAndWhereItIsOpensTheFolderAndStartsTessalyAgain)
{
    QTemporaryDir dir;
    const QString client = dir.filePath(QStringLiteral("Tessaly"));
    QFile report(dir.filePath(QStringLiteral("ERRORLOG.TXT")));
    ASSERT_TRUE(report.open(QIODevice::WriteOnly));
    report.write("Tessaly caused an Access Violation (0xc0000005) \r\nin module /opt/Tessaly at 0033:00005555deadbeef.\r\n"
                 "\r\nException handler called in CrashGuard - ClientMain.\r\nError occurred at 12/8/2026 10:00:00.\r\n"
                 "/opt/Tessaly, run by ann.\r\nOperating system:  Linux (6.1.0).\r\n2 processor(s), type 8664.\r\n"
                 "9% memory in use.\r\n");
    report.close();

    QStringList opened;
    RecordingLauncher launcher;
    BugrelayWindow window(client, [&](const QString& folder) { opened << folder; }, launcher);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tessaly closed unexpectedly"));
    const QString shown = window.multiLineEdit(BugrelayWindow::kFirstLines)->toPlainText();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Tessaly caused an Access Violation (0xc0000005)")));
    EXPECT_TRUE(shown.contains(QStringLiteral("2 processor(s), type 8664.")));
    EXPECT_FALSE(shown.contains(QStringLiteral("memory in use"))) << "only the first 8 lines";
    const QString where = window.staticText(BugrelayWindow::kWhereText)->text();
    EXPECT_TRUE(where.contains(dir.filePath(QStringLiteral("ERRORLOG.TXT"))));
    EXPECT_TRUE(where.contains(dir.filePath(QStringLiteral("CRASH.DMP"))));
    for (const char* name : {"Open Folder", "Start Tessaly", "Close"}) {
        bool found = false;
        for (QPushButton* button : window.findChildren<QPushButton*>())
            found = found || button->accessibleName() == QLatin1String(name);
        EXPECT_TRUE(found) << name;
    }

    window.show();
    if (qEnvironmentVariableIsSet("TESSALY_SCREENSHOTS"))
        window.grab().save(QStringLiteral("/tmp/bugrelay.png"));
    QTest::mouseClick(window.button(BugrelayWindow::kOpenFolder), Qt::LeftButton);
    EXPECT_EQ(opened, QStringList{dir.path()});
    EXPECT_TRUE(window.isVisible());

    // A start that fails keeps the window; one that works closes it.
    launcher.startWorks = false;
    QTest::mouseClick(window.button(BugrelayWindow::kRestart), Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
    launcher.startWorks = true;
    QTest::mouseClick(window.button(BugrelayWindow::kRestart), Qt::LeftButton);
    ASSERT_EQ(launcher.started.size(), 2u);
    EXPECT_EQ(launcher.started.back().first, client.toStdString());
    EXPECT_TRUE(launcher.started.back().second.empty());
    EXPECT_FALSE(window.isVisible());
}

TEST(BugrelayWindow, SaysSoWhenThereIsNoReport)
{
    QTemporaryDir dir;
    RecordingLauncher launcher;
    BugrelayWindow window(dir.filePath(QStringLiteral("Tessaly")), [](const QString&) {}, launcher);
    EXPECT_EQ(window.multiLineEdit(BugrelayWindow::kFirstLines)->toPlainText(),
              QStringLiteral("The crash report could not be read."));
    EXPECT_FALSE(labelNamed(window, QStringLiteral("Where the files are"))->text().isEmpty());
}

} // namespace
} // namespace tessaly
