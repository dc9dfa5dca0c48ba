#pragma once

#include <QTreeWidget>

class SCA_SrvGui;

// The servers the client has connected to, from the client configuration's known servers.
class SCA_SrvConnectView : public QTreeWidget {
    Q_OBJECT
public:
    SCA_SrvConnectView(QWidget* parent, SCA_SrvGui* window);

    // Refills the list; the row of host (may be null) is selected.
    int Refill(const char* host);

private:
    SCA_SrvGui* m_Window;
};
