// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QString>

class QLocalServer;
class SCA_SrvGui;

// The client's application object. It also listens for later starts of the client by the same
// user: a start that finds the listener asks it to bring the main window back, and ends.
class SCA_SrvApplication : public QApplication {
    Q_OBJECT
public:
    SCA_SrvApplication(int& argc, char** argv, int version);
    ~SCA_SrvApplication() override;

    void SetMainWindow(SCA_SrvGui* window) { m_MainWindow = window; }
    SCA_SrvGui* GetMainWindow() const { return m_MainWindow; }

    // The listener's address: "korvac.socket" in the user's runtime folder (XDG_RUNTIME_DIR),
    // else in a folder of the user's own under the temporary folder.
    static QString InstanceSocketPath();
    // 1 when a running client answered on the address and was asked to show its window.
    static int NotifyRunningInstance(const QString& path);
    // Listens on the address; a socket file left by a client that crashed is replaced. 0 when
    // another client listens there (then nothing is changed) or listening fails.
    int StartInstanceServer(const QString& path);

private:
    void OnInstanceConnection();

    SCA_SrvGui* m_MainWindow = nullptr;
    QLocalServer* m_InstanceServer = nullptr;
};
