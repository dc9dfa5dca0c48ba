// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

class QDialogButtonBox;
class QListWidget;
class SCA_ConfigObj;

// Asks the user to pick one of a list of names: the field names of a configuration object.
// A double click picks at once.
class SCA_ListDlg : public QDialog {
    Q_OBJECT
public:
    // iconPath names the icon shown beside every choice and on the window.
    SCA_ListDlg(QWidget* parent, const QString& title, const QString& iconPath);

    // Shows the names of object's direct children, in order, the first one chosen. 0 for a null
    // object or one without children (nothing to choose).
    int UpdateDialog(SCA_ConfigObj* object);
    // The chosen name, cut to size on a character boundary. 0 when nothing is chosen.
    int GetData(char* buf, uint32_t size) const;

    QListWidget* GetList() const { return m_List; }

private:
    QString m_IconPath;
    QListWidget* m_List;
    QDialogButtonBox* m_Buttons;
};
