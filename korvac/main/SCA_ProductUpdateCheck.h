// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

#include "korvac/main/SCA_MainCommandContext.h"
#include "model/SCA_Update.h"

class QMenuBar;
class QStackedWidget;
class QToolButton;
class SCA_UpdateManager;

// The product-update check: started at each connection, collected by the window's timer, and
// shown as the corner button of the menu bar when a newer package is there; "Check For
// Updates" says what the last check found.
class SCA_ProductUpdateCheck : public QObject {
    Q_OBJECT
public:
    explicit SCA_ProductUpdateCheck(const SCA_MainCommandContext& context);
    ~SCA_ProductUpdateCheck() override;

    // The corner button " - Update - ", hidden until a check finds a newer package.
    void AddButton(QMenuBar* menuBar);
    // Starts the check of a new connection (over the connected service's configuration).
    void Start();
    // Takes the result of a finished check; nothing while it runs or when none was started.
    void Collect();
    // The connection went: a check still running is dropped and the button hidden.
    void Cancel();
    // Whether the check of the last connection has yet to be collected.
    bool IsPending() const { return m_UpdateManager != nullptr; }

public slots:
    void CheckForUpdates();

private:
    void StopManager();

    SCA_MainCommandContext m_Context;
    SCA_Update m_ProductUpdate;
    SCA_UpdateManager* m_UpdateManager = nullptr;
    QStackedWidget* m_CornerStack = nullptr;
    QToolButton* m_UpdateButton = nullptr;
};
