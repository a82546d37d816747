#include "client/diag/SystemInfoDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "client/diag/LoadedModules.h"
#include "platform/gui/AccessibleValues.h"

namespace tessaly {
namespace {

const FontSpec kGroupFont{"Verdana", 12};

const DialogTemplate kSystemInfoTemplate{
    .resource = 170,
    .caption = "System Information",
    .width = 219,
    .height = 204,
    .font = {"Arial", 8},
    .controls = {
        {.id = 1067, .kind = ControlKind::GroupBox, .rect = {10, 5, 202, 65}, .text = "Processor", .font = kGroupFont},
        {.kind = ControlKind::Static, .rect = {7, 19, 63, 8}, .text = "Processor Count", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kProcessorCount, .kind = ControlKind::Static, .rect = {77, 18, 22, 10},
         .flags = ctl::Sunken},
        {.kind = ControlKind::Static, .rect = {33, 33, 37, 8}, .text = "CPU Type", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kCpuType, .kind = ControlKind::Static, .rect = {77, 32, 129, 10}, .flags = ctl::Sunken},
        {.kind = ControlKind::Static, .rect = {17, 47, 53, 8}, .text = "CPU Features", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kCpuFeatures, .kind = ControlKind::Static, .rect = {77, 46, 129, 10},
         .flags = ctl::Sunken},
        {.id = 1068, .kind = ControlKind::GroupBox, .rect = {10, 76, 202, 62}, .text = "Memory", .font = kGroupFont},
        {.kind = ControlKind::Static, .rect = {17, 91, 53, 8}, .text = "Memory Load", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kMemoryLoad, .kind = ControlKind::Static, .rect = {77, 90, 22, 10},
         .flags = ctl::Sunken},
        {.kind = ControlKind::Static, .rect = {39, 105, 31, 8}, .text = "Physical", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kPhysical, .kind = ControlKind::Static, .rect = {77, 104, 110, 10},
         .flags = ctl::Sunken},
        {.kind = ControlKind::Static, .rect = {44, 119, 26, 8}, .text = "Virtual", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kVirtual, .kind = ControlKind::Static, .rect = {77, 118, 110, 10}, .flags = ctl::Sunken},
        {.kind = ControlKind::Static, .rect = {18, 147, 55, 8}, .text = "Graphics Card", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kGraphicsCard, .kind = ControlKind::Static, .rect = {80, 146, 125, 10},
         .flags = ctl::Sunken},
        {.kind = ControlKind::Static, .rect = {11, 163, 62, 8}, .text = "Windows Version", .flags = ctl::AlignRight},
        {.id = dlgSystemInfo::kVersion, .kind = ControlKind::Static, .rect = {80, 161, 125, 10}, .flags = ctl::Sunken},
        {.id = 1, .kind = ControlKind::PushButton, .rect = {85, 181, 49, 14}, .text = "OK",
         .flags = ctl::DefaultButton},
    }};

// Each field with the label it is read with.
constexpr std::pair<int, const char*> kFieldLabels[] = {
    {dlgSystemInfo::kProcessorCount, "Processor Count"}, {dlgSystemInfo::kCpuType, "CPU Type"},
    {dlgSystemInfo::kCpuFeatures, "CPU Features"},       {dlgSystemInfo::kMemoryLoad, "Memory Load"},
    {dlgSystemInfo::kPhysical, "Physical"},              {dlgSystemInfo::kVirtual, "Virtual"},
    {dlgSystemInfo::kGraphicsCard, "Graphics Card"},     {dlgSystemInfo::kVersion, "Windows Version"},
};

} // namespace

dlgSystemInfo::dlgSystemInfo(const SystemInfoTexts& texts, QWidget* parent)
    : DialogWindow(kSystemInfoTemplate, DialogBuilder{}, parent)
{
    const std::pair<int, const std::string*> values[] = {
        {kVersion, &texts.version},       {kProcessorCount, &texts.processors}, {kCpuType, &texts.cpuType},
        {kCpuFeatures, &texts.features},  {kMemoryLoad, &texts.memoryLoad},     {kPhysical, &texts.physical},
        {kVirtual, &texts.virtualMemory}, {kGraphicsCard, &texts.graphics},
    };
    for (const auto& [id, text] : values) {
        // A text longer than its field is clipped rather than wrapped out
        // of sight; the tooltip holds all of it.
        QLabel* field = staticText(id);
        field->setWordWrap(false);
        field->setText(QString::fromStdString(*text));
        field->setToolTip(field->text().trimmed());
    }
    for (const auto& [id, label] : kFieldLabels)
        nameWithCaption(*staticText(id), QString::fromLatin1(label));
    for (QLabel* label : findChildren<QLabel*>())
        if (label->accessibleName().isEmpty())
            label->setAccessibleName(label->text());
    for (int group : {1067, 1068})
        groupBox(group)->setAccessibleName(groupBox(group)->title());
    button(1)->setAccessibleName(button(1)->text());
}

void runSystemInfoDialog(QWidget* parent)
{
    dlgSystemInfo dialog(systemInfoTexts(readSystemFacts("/", mappedBytes())), parent);
    dialog.exec();
}

} // namespace tessaly
