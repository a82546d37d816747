#pragma once
// DATA/www: what the web port serves. The first start writes the version
// files (for client version 6.7, with carriage-return line ends as the
// client's scan wants them), two small upgrade packages and a plain page
// for every path the lobby opens. Files already there are left alone, so
// a tester can put other versions or packages in their place.

#include <string>
#include <vector>

namespace tessaly::house {

struct WebFile {
    std::string path; // below the web root, "/" separated
    std::string content;
};

// The files of a fresh web root.
std::vector<WebFile> defaultWebFiles();

// Writes every default file that does not exist yet; returns false (with
// error) when the folder or a file cannot be written.
bool prepareWebRoot(const std::string& root, std::string* error);

// A zip archive of the given entries (a name ending in "/" is a folder).
std::string zipArchive(const std::vector<WebFile>& entries);

} // namespace tessaly::house
