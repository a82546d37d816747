#include "client/lobby/SoftwareNotesDialog.h"

#include <QTextEdit>

#include "client/ui/SkinControls.h"
#include "platform/gui/Desktop.h"

namespace tessaly {
namespace {

constexpr int kNotesText = 1012;

const DialogTemplate kSoftwareNotesTemplate{
    .resource = 206,
    .caption = "Software Notes",
    .width = 326,
    .height = 239,
    .font = {"MS Shell Dlg", 8},
    .controls = {
        {.id = kNotesText, .kind = ControlKind::RichEdit, .rect = {7, 7, 312, 202},
         .flags = ctl::ReadOnly | ctl::MultiLine | ctl::VScroll | ctl::HScroll},
        {.id = 1, .kind = ControlKind::PushButton, .rect = {138, 217, 50, 15}, .text = "OK",
         .flags = ctl::DefaultButton},
    }};

const char* const kSoftwareNotes =
    "Software Notes.\r\nWe are not using dead blinds in the gameplay (will be enabled once out of beta phase mode)\r\n";

} // namespace

softwareNotesDlg::softwareNotesDlg(QWidget* parent)
    : DialogWindow(kSoftwareNotesTemplate, skinDialogBuilder(), parent)
{
    richEdit(kNotesText)->setPlainText(displayText(kSoftwareNotes));
    richEdit(kNotesText)->setAccessibleName(windowTitle());
}

} // namespace tessaly
