#pragma once
// What the account dialog tests share: the client's state, a recording
// sender, scripted boxes for the dialogs, a remembered login in a temporary
// folder, and the real dispatcher to write server replies into the state
// exactly as the running client does.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "client/lobby/AccountContext.h"
#include "client/dispatch/Dispatcher.h"
#include "client/dispatch/EffectRecorder.h"
#include "tests/support/RecordingSender.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

namespace tessaly {

class AccountFixture : public ::testing::Test {
protected:
    // A server line, through the dispatcher; its own boxes go to `server`.
    void serverSays(std::string_view line) { dispatcher.dispatchLine(line); }

    // The dialog's poll timer, found by its object name.
    static QTimer* pollTimer(const QWidget& dialog, const char* name)
    {
        return dialog.findChild<QTimer*>(QString::fromLatin1(name));
    }

    // Runs `inside` in the event loop of the next modal dialog, once it is
    // up, then closes that dialog if `inside` left it open.
    static void whileModal(std::function<void(QDialog& modal)> inside)
    {
        QTimer::singleShot(0, [inside] {
            ASSERT_TRUE(waitUntil([] { return qobject_cast<QDialog*>(QApplication::activeModalWidget()) != nullptr; }));
            QPointer<QDialog> modal = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            inside(*modal);
            if (modal != nullptr && modal->isVisible())
                modal->reject();
        });
    }

    QTemporaryDir folder;
    NoSecretStore noKeyring;
    RememberedLogin remembered{noKeyring, folder.filePath(QStringLiteral("Tessaly.conf"))};
    ClientState state;
    RecordingSender sender;
    ScriptedMessageBoxes boxes;
    AccountContext context{state, sender, boxes, remembered};
    EffectRecorder server;
    Dispatcher dispatcher{state, {server, server, server, server}};
};

} // namespace tessaly
