// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <cstdint>

// About the connected service: its icon, product name, version and product type.
class SCA_SrvAboutDlg : public QDialog {
    Q_OBJECT
public:
    SCA_SrvAboutDlg(QWidget* parent, const QString& iconPath, uint32_t productType,
                    const QString& productName, const QString& version);
};
