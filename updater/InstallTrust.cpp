#include "updater/InstallTrust.h"

#include <fstream>
#include <iterator>

#include "platform/sys/Trace.h"

namespace tessaly::updater {

InstallTrust InstallTrust::readFrom(const std::string& installDir)
{
    InstallTrust trust;
    const std::string path = installDir + "/" + kTrustedKeysFile;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        trace("no %s in the install: packages are installed without a signature check", kTrustedKeysFile);
        return trust;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    trust.requiresSignatures_ = true;
    trust.keys_ = signing::readPublicKeys(text);
    trace("%zu update key(s) trusted from %s", trust.keys_.size(), path.c_str());
    return trust;
}

} // namespace tessaly::updater
