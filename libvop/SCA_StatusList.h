// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>

class QTreeWidgetItem;

// A compact table of named values: an icon column, a label column and a value column, without
// header or selection, for the counts of a service.
class SCA_StatusList : public QTreeWidget {
    Q_OBJECT
public:
    // labelWidth: the least width of the label column in pixels; alternate: 1 to shade every
    // other row.
    SCA_StatusList(QWidget* parent, int labelWidth, int alternate);

    // A new row at the end with the icon (resource path) and the label; the value starts empty.
    QTreeWidgetItem* AddItem(const QString& iconPath, const QString& label);
};
