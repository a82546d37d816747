#pragma once
// Diagnostic traces: every complete server line, table ids, seat clicks.
// They carry no behaviour. Off by default; QT_LOGGING_RULES="tessaly.trace=true"
// prints them to stderr.

#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(tessalyTrace)

namespace tessaly {

bool traceEnabled();

// printf-style, formatted in the "C" locale; a trailing line feed is dropped
// because every trace is one log record.
void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace tessaly
