// SPDX-License-Identifier: MIT
#pragma once

#include <QContextMenuEvent>
#include <QTreeWidget>
#include <cstdint>

class SCA_TezProcessLog;

// The process monitor's event log, one row per process start or end, newest at the top, at
// most the service's process-log length of rows. Its context menu is the window's.
class SCA_SrvProcessLog : public QTreeWidget {
    Q_OBJECT
public:
    explicit SCA_SrvProcessLog(QWidget* parent);

    // Puts the log's items on top, in their order (the last one ends at the top), then trims
    // the oldest rows beyond maxRows. The id of the last item added, or lastId when the log
    // had none.
    uint32_t AppendItems(SCA_TezProcessLog* log, uint32_t maxRows, uint32_t lastId);

signals:
    // The context menu is asked for: the window that holds the list runs it.
    void MenuAsked(QContextMenuEvent* event);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
