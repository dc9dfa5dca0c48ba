// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <cstdint>

class QMainWindow;
class QToolBar;
class QWidget;

// The main window's three layouts: the tool bar's button style and icon size, the window's
// least size, and which panes show (side bar, message pane). "Switch Layout" steps through
// them.
class SCA_MainLayout : public QObject {
    Q_OBJECT
public:
    static constexpr uint32_t kLayoutCount = 3;

    explicit SCA_MainLayout(QMainWindow* window);

    // The tool bar and the panes a layout shows or hides, once the window has built them.
    void Arrange(QToolBar* toolBar, QWidget* sideBar, QWidget* messagePane);
    int InitLayout(uint32_t layout);
    int UpdateToolBarButtons(uint32_t layout);
    // The width the tool bar needs to show every button; 0 while it is hidden.
    int ToolBarWidth() const;
    uint32_t CurrentLayout() const { return m_CurrentLayout; }

public slots:
    void SwitchLayout();

private:
    QMainWindow& m_Window;
    QToolBar* m_ToolBar = nullptr;
    QWidget* m_SideBar = nullptr;
    QWidget* m_MessagePane = nullptr;
    uint32_t m_CurrentLayout = 0;
};
