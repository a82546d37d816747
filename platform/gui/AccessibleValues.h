#pragma once
// Controls whose screen-reader text is more than the widget tells: a value
// label read with its caption ("Minimum Buy-In: 5"), and a slider whose
// value is the amount it stands for rather than its position.

#include <QString>

class QLabel;
class QSlider;

namespace tessaly {

// The label's accessible name is always "caption: text", whatever text it
// shows later.
void nameWithCaption(QLabel& label, const QString& caption);

// The slider's accessible value becomes `amount`, read as `text`, until the
// next call; screen readers are told of the change.
void setAccessibleAmount(QSlider& slider, double amount, const QString& text);

} // namespace tessaly
