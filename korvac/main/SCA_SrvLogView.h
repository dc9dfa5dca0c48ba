// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>
#include <cstdint>
#include <memory>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Object.h"
#include "libmor/SCA_Report.h"
#include "model/SCA_DebugLog.h"

class SCA_TreeRows;

// The main window's message pane: the service's log messages, newest last, at most 500 rows;
// a new log session of the service starts it afresh.
class SCA_SrvLogView : public QTreeWidget, public SCA_Object {
    Q_OBJECT
public:
    static constexpr uint32_t kMaxRows = 500;

    explicit SCA_SrvLogView(QWidget* parent);
    ~SCA_SrvLogView() override;

    // One row for a message kept under id. 1, or 0 when no row could be made.
    int AddMessage(const tagSCA_ERROR_DESCR* message, uint32_t id);
    // Appends a batch of the service's log; a session other than the shown one replaces the
    // rows. *lastId becomes the id of the batch's last message.
    int AddMessages(SCA_DebugLog* log, uint32_t sessionId, uint32_t* lastId);
    int ResetView();

    SCA_DebugLog* GetLog() { return &m_Log; }
    uint32_t GetSessionId() const { return m_SessionId; }

protected:
    void paintEvent(QPaintEvent* event) override;

signals:
    // The user asked to clear the service's log.
    void ClearLog();

public slots:
    void ClearAll();
    void SaveTextReport();

private:
    // The rows are the messages the store keeps: new ones are added at the bottom, dropped ones
    // go from the top, and the view scrolls to the newest.
    void ShowStore();

    SCA_DebugLog m_Log;
    std::unique_ptr<SCA_TreeRows> m_Rows;
    uint32_t m_SessionId = SCA_ALL_ONES;
};
