// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QString>
#include <QTreeWidget>

// The reports window's list: one row per report, the report id under Qt::UserRole of column 0.
// A right click asks the window for its context menu; an empty list says why it is empty.
class SCA_SrvReportsView : public QTreeWidget {
    Q_OBJECT
public:
    enum Column { kIcon, kStartTime, kDuration, kProfile, kHost, kCounters, kErrors, kColumns };

    explicit SCA_SrvReportsView(QWidget* parent);

    // What the list says while it has no rows.
    void SetEmptyHint(const QString& hint);
    const QString& GetEmptyHint() const { return m_Hint; }

signals:
    // The context menu is asked for: the window that holds the list runs it.
    void MenuAsked(QContextMenuEvent* event);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_Hint;
};
