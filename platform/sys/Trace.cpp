#include "platform/sys/Trace.h"

#include <cstdarg>
#include <string>

#include "platform/sys/CLocale.h"

Q_LOGGING_CATEGORY(tessalyTrace, "tessaly.trace", QtWarningMsg)

namespace tessaly {

bool traceEnabled()
{
    return tessalyTrace().isDebugEnabled();
}

void trace(const char* format, ...)
{
    if (!traceEnabled())
        return;
    va_list args;
    va_start(args, format);
    std::string text = vformatC(format, args);
    va_end(args);
    if (!text.empty() && text.back() == '\n')
        text.pop_back();
    qCDebug(tessalyTrace).noquote() << QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace tessaly
