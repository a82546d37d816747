#include "client/ui/AmountEdit.h"

#include <QKeyEvent>

namespace tessaly {

AmountEdit::AmountEdit(QWidget* parent, const QLocale& locale) : QLineEdit(parent)
{
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    format_.decimal = decimal.isEmpty() ? QLatin1Char('.') : decimal.front();
    format_.group = group.isEmpty() ? QLatin1Char(',') : group.front();
    format_.grouping = true;
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setDragEnabled(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    connect(this, &QLineEdit::textChanged, this, &AmountEdit::readBack);
    setValue(0);
}

void AmountEdit::setValue(double value)
{
    writing_ = true;
    setText(amountFieldText(value, format_));
    writing_ = false;
    value_ = value;
    setCursorPosition(0);
}

void AmountEdit::setGrouping(bool on)
{
    format_.grouping = on;
    setValue(value_);
}

void AmountEdit::readBack(const QString& text)
{
    if (!writing_)
        value_ = amountFieldValue(text, format_);
}

void AmountEdit::applyKey(AmountKey key, QChar digit)
{
    const int start = hasSelectedText() ? selectionStart() : cursorPosition();
    const int end = hasSelectedText() ? selectionEnd() : cursorPosition();
    const AmountFieldEdit edit = amountFieldKey({text(), start, end}, key, digit, format_);
    if (!edit.changed)
        return;
    writing_ = true;
    setText(edit.text);
    writing_ = false;
    setCursorPosition(edit.caret);
    value_ = edit.value;
    emit valueEdited(value_);
}

void AmountEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace: applyKey(AmountKey::Backspace, {}); return;
    case Qt::Key_Delete: applyKey(AmountKey::Delete, {}); return;
    case Qt::Key_Insert: return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        QLineEdit::keyPressEvent(event);
        return;
    default: break;
    }
    if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString typed = event->text();
    if (typed.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        const QChar c = typed.front();
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            applyKey(AmountKey::Digit, c);
        else if (c == format_.decimal)
            applyKey(AmountKey::Decimal, {});
        else if (c == QLatin1Char('+'))
            applyKey(AmountKey::Plus, {});
    }
    // Every other key is swallowed.
}

void AmountEdit::mousePressEvent(QMouseEvent* event)
{
    // The middle button would paste the X selection.
    if (event->button() != Qt::MiddleButton)
        QLineEdit::mousePressEvent(event);
}

void AmountEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::MiddleButton)
        QLineEdit::mouseReleaseEvent(event);
}

void AmountEdit::inputMethodEvent(QInputMethodEvent* event)
{
    event->ignore();
}

} // namespace tessaly
