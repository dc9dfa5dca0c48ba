// SPDX-License-Identifier: MIT
#pragma once

// The client's main window on a running korvas, connected and logged in as "admin".

#include <QTimer>
#include <memory>

#include "../korvac/GuiTestSupport.h"
#include "tests/integration/KorvasProcess.h"

namespace korvas_integration {

// Null when the window could not be built; check CheckConnected for the connection.
inline std::unique_ptr<SCA_SrvGui> ConnectedWindow(const KorvasProcess& korvas, uint16_t port) {
    auto main = korvac_test::StartWindow();
    if (main == nullptr) {
        return nullptr;
    }
    main->GetReconnectTimer()->stop();
    SCA_TezConfigUser* user = main->GetUserConfig();
    user->SetConnectHostName("127.0.0.1");
    user->SetConnectControlPort(port);
    user->SetConnectUserName("admin");
    user->SetConnectPassword(korvas.InitialPassword().c_str());
    main->DefaultConnect();
    return main;
}

} // namespace korvas_integration
