#pragma once
// The window of `Bugrelay`, the crash sender the client starts after a
// crash: it says that Tessaly closed unexpectedly, shows the report's first
// lines and where the report and the dump are, opens that folder in the
// desktop's file manager and starts Tessaly again. It sends nothing.

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gui/DialogWindow.h"

namespace tessaly {

class ProcessLauncher;

// The first count lines of a report text ("\r\n" or "\n" ended).
std::vector<std::string> reportFirstLines(std::string_view report, std::size_t count);

class BugrelayWindow : public DialogWindow {
    Q_OBJECT
public:
    enum Control { kFirstLines = 1001, kWhereText = 1002, kOpenFolder = 1003, kRestart = 1004 };
    static constexpr std::size_t kShownLines = 8;

    using FolderOpener = std::function<void(const QString& folder)>;

    // clientPath: the crashed client's full path, the sender's one argument.
    BugrelayWindow(const QString& clientPath, FolderOpener openFolder, ProcessLauncher& launcher,
                   QWidget* parent = nullptr);

private:
    void restartClient();

    QString clientPath_;
    QString folder_;
    FolderOpener openFolder_;
    ProcessLauncher& launcher_;
};

} // namespace tessaly
