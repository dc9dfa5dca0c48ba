// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>
#include <cstdint>

class SCA_SrvProcessListDlg;
class SCA_TezProcessLog;

// The process monitor's event log, one row per process start or end, newest at the top, at
// most the service's process-log length of rows. Its context menu is the window's.
class SCA_SrvProcessLog : public QTreeWidget {
    Q_OBJECT
public:
    SCA_SrvProcessLog(QWidget* parent, SCA_SrvProcessListDlg* window);

    // Puts the log's items on top, in their order (the last one ends at the top), then trims
    // the oldest rows beyond maxRows. The id of the last item added, or lastId when the log
    // had none.
    uint32_t AppendItems(SCA_TezProcessLog* log, uint32_t maxRows, uint32_t lastId);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    SCA_SrvProcessListDlg* m_Window;
};
