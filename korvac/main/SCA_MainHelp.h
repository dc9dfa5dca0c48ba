// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "korvac/main/SCA_MainCommandContext.h"

class QAction;
class SCA_MainConnection;

// The main window's help entries: the product's web pages, and what the connected service
// says it is.
class SCA_MainHelp : public QObject {
    Q_OBJECT
public:
    // The text of the entry that names the service, and of its box's title.
    static constexpr const char* kAboutServerText = "About Korvanta Server";

    SCA_MainHelp(const SCA_MainCommandContext& context, const SCA_MainConnection* connection);

    // Connects action to slot. An entry of a page without an address is disabled and says why
    // in its tool tip.
    void ConnectEntry(QAction* action, void (SCA_MainHelp::*slot)());

public slots:
    void AboutKorvantaServer();
    void OnlineHelp();
    void ReleaseNotes();
    void ProductWebPage();

private:
    SCA_MainCommandContext m_Context;
    const SCA_MainConnection& m_Connection;
};
