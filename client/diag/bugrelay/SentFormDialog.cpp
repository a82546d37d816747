#include "client/diag/bugrelay/SentFormDialog.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tessaly {
namespace {

const DialogTemplate kSentFormTemplate{
    .resource = 201,
    .caption = "What is sent",
    .width = 420,
    .height = 260,
    .controls = {
        {.kind = ControlKind::Static, .rect = {7, 7, 406, 9}, .text = "Everything that is sent, exactly as it is sent:"},
        {.id = SentFormDialog::kText, .kind = ControlKind::Edit, .rect = {7, 18, 406, 214},
         .flags = ctl::MultiLine | ctl::ReadOnly | ctl::VScroll | ctl::HScroll},
        {.id = 2, .kind = ControlKind::PushButton, .rect = {353, 238, 60, 16}, .text = "Close",
         .flags = ctl::DefaultButton},
    }};

} // namespace

SentFormDialog::SentFormDialog(const QString& description, QWidget* parent)
    : DialogWindow(kSentFormTemplate, DialogBuilder{}, parent)
{
    QPlainTextEdit* text = multiLineEdit(kText);
    // The report's columns line up only in a fixed-width face.
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setPlainText(description);
    button(2)->setAccessibleName(button(2)->text());
    text->setFocus();
}

} // namespace tessaly
