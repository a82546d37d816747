#pragma once
// The numeric edit field behind every typed money amount: it shows a number
// with exactly two fraction digits in the locale's decimal character, takes
// only the keys that edit that number, and keeps its value up to date after
// every keystroke. Moving the caret, selecting, copying, Tab, Enter and
// Escape work as in any edit field; pasting, dropping, undo, the context menu
// and input methods are shut out, since they would bypass the number.

#include <QLineEdit>
#include <QLocale>

#include "client/ui/AmountField.h"

namespace tessaly {

class AmountEdit : public QLineEdit {
    Q_OBJECT
public:
    // The decimal character is the first character of the locale's decimal
    // separator, read once here. Grouping starts on, as in the platform's
    // control; every window switches it off.
    explicit AmountEdit(QWidget* parent = nullptr, const QLocale& locale = QLocale::system());

    // Stores the value, shows it formatted, caret at the start.
    void setValue(double value);
    // The value last stored or read back from the text (text written with
    // setText() is read back too).
    double value() const { return value_; }
    void setGrouping(bool on);
    const AmountFieldFormat& format() const { return format_; }

signals:
    void valueEdited(double value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void applyKey(AmountKey key, QChar digit);
    void readBack(const QString& text);

    AmountFieldFormat format_;
    double value_ = 0;
    bool writing_ = false;
};

} // namespace tessaly
