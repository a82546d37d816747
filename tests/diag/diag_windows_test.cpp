// The system information dialog, offscreen: its fields, accessible names
// and button.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "client/diag/SystemInfoDialog.h"

namespace tessaly {
namespace {

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
        // The field is read with its caption; the field is the sunken one.
        QLabel* field = nullptr;
        for (QLabel* label : dialog.findChildren<QLabel*>())
            if (QAccessible::queryAccessibleInterface(label)->text(QAccessible::Name) ==
                    QLatin1String(name) + QStringLiteral(": ") + label->text() &&
                label->frameShadow() == QFrame::Sunken)
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

} // namespace
} // namespace tessaly
