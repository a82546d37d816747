#pragma once
// For tests run by tests/support/with-secret-service: whether the private
// keyring runs, and why not.

#include <QByteArray>

#include <string>

namespace tessaly {

// Empty when the keyring runs; else why there is none, for GTEST_SKIP.
inline std::string secretServiceMissing()
{
    const QByteArray service = qgetenv("TESSALY_SECRET_SERVICE");
    if (service == "running")
        return {};
    return "no Secret Service for this test: " +
           (service.isEmpty() ? std::string("not run under tests/support/with-secret-service") : service.toStdString());
}

} // namespace tessaly
