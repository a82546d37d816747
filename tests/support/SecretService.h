#pragma once
// For tests run by tests/support/with-secret-service: whether the private
// keyring runs in the state the test wants ("running": unlocked; "locked"),
// and why not.

#include <QByteArray>

#include <string>

namespace tessaly {

// Empty when the keyring runs as wanted; else why not, for GTEST_SKIP.
inline std::string secretServiceMissing(const char* wanted = "running")
{
    const QByteArray service = qgetenv("TESSALY_SECRET_SERVICE");
    if (service == wanted)
        return {};
    return "no Secret Service for this test: " +
           (service.isEmpty() ? std::string("not run under tests/support/with-secret-service") : service.toStdString());
}

} // namespace tessaly
