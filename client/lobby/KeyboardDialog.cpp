#include "client/lobby/KeyboardDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/MessageBoxes.h"
#include "platform/sys/QtText.h"

namespace tessaly {
namespace {

std::size_t indexOf(TableCommand command) { return static_cast<std::size_t>(command); }

QString portable(const QKeySequence& keys)
{
    return keys.isEmpty() ? QString() : QKeySequence(keys[0]).toString(QKeySequence::PortableText);
}

} // namespace

KeyboardDialog::KeyboardDialog(const TablePreferences& preferences, MessageBoxes& boxes, QWidget* parent)
    : QDialog(parent), boxes_(boxes), chosen_(preferences), speak_(new QCheckBox(QStringLiteral("Speak table events")))
{
    setWindowTitle(QString::fromLatin1(kKeyboardCaption));
    auto* layout = new QVBoxLayout(this);
    auto* intro = new QLabel(QStringLiteral("Hotkeys at the table. Click a field and press the new key."));
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    for (const TableCommandInfo& c : tableCommands()) {
        auto* field = new QKeySequenceEdit;
        field->setAccessibleName(QString::fromUtf8(c.name));
        fields_[indexOf(c.command)] = field;
        form->addRow(QString::fromUtf8(c.name), field);
        connect(field, &QKeySequenceEdit::editingFinished, this,
                [this, field, command = c.command] { setKey(command, portable(field->keySequence())); });
    }
    layout->addLayout(form);

    speak_->setChecked(chosen_.speakTableEvents);
    speak_->setToolTip(QStringLiteral("Screen readers hear the prompts and the events of the hand"));
    connect(speak_, &QCheckBox::toggled, this, [this](bool on) { chosen_.speakTableEvents = on; });
    layout->addWidget(speak_);

    auto* fixed = new QLabel(QString::fromLatin1(kFixedKeysText));
    fixed->setWordWrap(true);
    fixed->setAccessibleName(QStringLiteral("Fixed keys"));
    fixed->setAccessibleDescription(fixed->text());
    fixed->setFocusPolicy(Qt::TabFocus);   // read out when reached
    layout->addWidget(fixed);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::RestoreDefaults);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons->button(QDialogButtonBox::RestoreDefaults), &QPushButton::clicked, this,
            &KeyboardDialog::restoreDefaults);
    layout->addWidget(buttons);
    showKeys();
}

QKeySequenceEdit* KeyboardDialog::keyField(TableCommand command) const { return fields_[indexOf(command)]; }

bool KeyboardDialog::setKey(TableCommand command, const QString& key)
{
    const std::optional<std::string> refusal =
        key == toQString(chosen_.hotkeys.key(command)) ? std::nullopt : chosen_.hotkeys.assign(command, toUtf8(key));
    if (refusal) {
        BoxRequest box{*refusal, "Tessaly Message", BoxIcon::Information};
        box.owner = this;
        boxes_.show(box);
    }
    showKeys();
    return !refusal;
}

void KeyboardDialog::restoreDefaults()
{
    chosen_.hotkeys = Hotkeys();
    showKeys();
}

void KeyboardDialog::showKeys()
{
    for (const TableCommandInfo& c : tableCommands()) {
        QKeySequenceEdit* field = fields_[indexOf(c.command)];
        const QKeySequence keys(toQString(chosen_.hotkeys.key(c.command)), QKeySequence::PortableText);
        if (field->keySequence() != keys) {
            const QSignalBlocker quiet(field);
            field->setKeySequence(keys);
        }
    }
}

} // namespace tessaly
