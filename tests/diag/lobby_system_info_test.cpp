// "Your System Information" in the lobby's menu opens dlgSystemInfo modally
// over the lobby, filled from this machine.

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include "client/diag/SystemInfoDialog.h"
#include "client/lobby/LobbyTemplate.h"
#include "tests/lobby/LobbyFixture.h"

namespace tessaly {
namespace {

class LobbySystemInformation : public LobbyFixture {};

TEST_F(LobbySystemInformation, OpensTheDialogModallyOverTheLobby)
{
    openLobby();
    bool seen = false;
    QString processors;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<dlgSystemInfo*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        EXPECT_EQ(dialog->parentWidget(), lobby.get());
        processors = dialog->staticText(dlgSystemInfo::kProcessorCount)->text();
        dialog->accept();
    });
    lobby->command(lobby::kSystemInformation)->trigger();
    ASSERT_TRUE(seen);
    EXPECT_TRUE(processors.startsWith(QStringLiteral("  ")));
    EXPECT_GT(processors.trimmed().toInt(), 0);
}

} // namespace
} // namespace tessaly
