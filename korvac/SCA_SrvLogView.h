#pragma once

#include <QTreeWidget>

// The main window's message pane: the service's log messages, newest last.
class SCA_SrvLogView : public QTreeWidget {
    Q_OBJECT
public:
    explicit SCA_SrvLogView(QWidget* parent);

signals:
    // The user asked to clear the service's log.
    void ClearLog();
};
