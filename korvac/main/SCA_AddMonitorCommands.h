// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "korvac/main/SCA_MainCommandContext.h"

class QMenu;
class SCA_SrvMonitor;

// The main window's add commands: one per kind of monitor, each from one row of the kinds'
// table. A command runs the monitor dialog and the inventory step of its kind, registers the
// monitor with the service and asks the window to show it.
class SCA_AddMonitorCommands : public QObject {
    Q_OBJECT
public:
    explicit SCA_AddMonitorCommands(const SCA_MainCommandContext& context);

    // The "Add Monitor" entries, in the menus' order.
    void BuildMenu(QMenu* menu);
    // Runs the monitor dialog titled title over monitor; 1 when it was accepted and the values
    // were written back.
    int RunMonitorDialog(SCA_SrvMonitor* monitor, const QString& title);
    // Registers a new monitor with the service, starts it when it starts by itself, and asks
    // to open it. 1 also when the user was asked about an identical monitor; 0 on failure
    // (logged).
    int AddMonitorToServer(SCA_SrvMonitor* monitor);

public slots:
    void AddSystemMonitor();
    void AddProcessMonitor();
    void AddCpuUsageMonitor();
    void AddMemoryUsageMonitor();
    void AddDiskActivityMonitor();
    void AddPhysicalDisksMonitor();
    void AddNetworkActivityMonitor();
    void AddNetworkFilterMonitor();
    void AddTcpProtocolMonitor();
    void AddUdpProtocolMonitor();
    void AddActiveDirMonitor();
    void AddSmbServerMonitor();
    void AddSqlServerMonitor();
    void AddWebServiceMonitor();
    void AddISCSITargetMonitor();
    void AddPrinterMonitor();
    void AddEmptyMonitor();

signals:
    // The service's monitors changed: the window refreshes its list in full.
    void MonitorsChanged();
    // The window opens the live window of the monitor.
    void OpenAsked(uint32_t monitorId);

private:
    void AddMonitorOfKind(void (SCA_AddMonitorCommands::*slot)());

    SCA_MainCommandContext m_Context;
};
