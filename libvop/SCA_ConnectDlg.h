// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>

class QLineEdit;
class QSpinBox;

// Asks for the service to connect to: host, control port, user name and password.
class SCA_ConnectDlg : public QDialog {
    Q_OBJECT
public:
    SCA_ConnectDlg(QWidget* parent, const QString& title, const QString& iconPath, const char* host,
                   uint16_t port, const char* user, const char* password);

    // The entered values, each cut to its buffer on a character boundary. 0 when the host is
    // empty.
    int GetData(char* host, uint32_t hostSize, uint16_t* port, char* user, uint32_t userSize,
                char* password, uint32_t passwordSize) const;

    QLineEdit* GetHostEdit() const { return m_Host; }
    QSpinBox* GetPortEdit() const { return m_Port; }
    QLineEdit* GetUserEdit() const { return m_User; }
    QLineEdit* GetPasswordEdit() const { return m_Password; }

private:
    QLineEdit* m_Host;
    QSpinBox* m_Port;
    QLineEdit* m_User;
    QLineEdit* m_Password;
};
