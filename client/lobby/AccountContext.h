#pragma once
// What the account dialogs work with: the session values they write and
// poll, the one send operation, the message boxes, and the remembered login.
// The lobby owns all four for longer than any dialog it opens.

#include "client/lobby/RememberedLogin.h"
#include "client/net/LineSender.h"
#include "client/table/ClientState.h"
#include "platform/MessageBoxes.h"

namespace tessaly {

struct AccountContext {
    ClientState& state;
    LineSender& sender;
    MessageBoxes& boxes;
    RememberedLogin& remembered;
};

} // namespace tessaly
