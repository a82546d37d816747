#pragma once
// A temporary folder for one test with an install directory and an
// "outside" folder beside it, and a snapshot of a tree (names, kinds,
// modes, contents, link targets) to prove that nothing changed.

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <string>

#include "tests/updater/TestArchive.h"

namespace tessaly::testing {

class InstallFolder {
public:
    InstallFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tessaly-updater-XXXXXX").string();
        root_ = ::mkdtemp(pattern.data());
        std::filesystem::create_directory(install());
        std::filesystem::create_directory(outside());
    }
    ~InstallFolder() { std::filesystem::remove_all(root_); }
    InstallFolder(const InstallFolder&) = delete;
    InstallFolder& operator=(const InstallFolder&) = delete;

    std::string root() const { return root_; }
    std::string install() const { return root_ + "/install"; }
    std::string outside() const { return root_ + "/outside"; }
    std::string at(const std::string& path) const { return install() + "/" + path; }

private:
    std::string root_;
};

// Every entry below `folder`, links not followed: "f 644 <content>",
// "d 755", "l -> <target>".
inline std::map<std::string, std::string> snapshot(const std::string& folder)
{
    std::map<std::string, std::string> tree;
    for (auto it = std::filesystem::recursive_directory_iterator(folder);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        const std::string path = it->path().string();
        struct stat st {};
        ::lstat(path.c_str(), &st);
        const std::string mode = std::to_string(st.st_mode & 07777);
        const std::string name = std::filesystem::relative(it->path(), folder).string();
        if (S_ISLNK(st.st_mode))
            tree[name] = "l -> " + std::filesystem::read_symlink(it->path()).string();
        else if (S_ISDIR(st.st_mode))
            tree[name] = "d " + mode;
        else
            tree[name] = "f " + mode + " " + readFile(path) + " @" + std::to_string(st.st_mtime);
    }
    return tree;
}

} // namespace tessaly::testing
