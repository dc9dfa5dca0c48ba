// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QHash>
#include <QIcon>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

#include "containers/SCA_List.h"
#include "korvac/kit/SCA_ViewerCommand.h"
#include "model/SCA_TezReportIndex.h"

class QAction;
class QComboBox;
class QContextMenuEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QTreeWidgetItem;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_SrvReportManager;
class SCA_SrvReportsView;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_ToolButton;
class SCA_TreeRows;

// The browser of the reports the service keeps: one row per report, narrowed by monitor mode
// and by a text filter on one report field, and the operations on the selected rows: open,
// open in a detached viewer, save in seven formats, compare two, export, import and delete.
// Long work (save, export, compare, import, delete) runs in a report worker with a connection of
// its own, followed by a progress dialog.
//
// The window reaches the service through the client's session, which it asks for the client
// object at each call; the configurations, parameters and session are the main window's and
// outlive it. Nothing refreshes it on a timer: the list is read at opening, on every change of
// the filter and after a delete or import.
class SCA_SrvReportsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kProgressWidth = 420;
    // The filter text's room: 128 characters in the box, 255 bytes handed on.
    static constexpr int kMaxFilterLength = 128;
    static constexpr uint32_t kFilterTextSize = 256;
    // OpenReportDetached without a screen.
    static constexpr uint32_t kNoScreen = SCA_ViewerCommand::kNoScreen;

    // What gathering the selection found.
    enum class Selection { Found, Nothing, NotFound };

    // Starts a detached viewer (tests replace it).
    using Launcher = SCA_ViewerCommand::Launcher;

    SCA_SrvReportsDlg(QWidget* parent, SCA_TezConfig* cfg, SCA_TezConfigUser* user,
                      SCA_ConfigObj* params, const char* confName, SCA_ClientSession* session);
    ~SCA_SrvReportsDlg() override;

    // The first fill; 1 when the service's reports were read (only then is the window run).
    int StartProcess();

    // The context menu: built anew for each request with one "Open Detached" entry per screen
    // when there are several. The caller owns the menu.
    QMenu* BuildContextMenu(int screens);
    void ShowContextMenu(QContextMenuEvent* event);

    // Lists the reports of the index as it stands through the filter and the mode, without
    // asking the service; 0 when the filter cannot be applied.
    int ShowReports();
    // The selected reports' records, in view order, into list (which owns none of them). Nothing
    // selected: the current row is missing or not selected. NotFound: a selected row's report is
    // not in the index; *missingId names it and list is emptied.
    Selection GatherSelection(SCA_List<SCA_TezReportInfo*>* list, uint32_t* missingId);

    int OpenReportDetached(uint32_t screen);
    int SaveReport(uint32_t format);
    // The detached viewer of a report (the password travels in its environment).
    SCA_ViewerCommand::Target DetachedTarget(uint32_t reportId, uint32_t screen) const;
    void SetLauncher(Launcher launcher) { m_Launcher = std::move(launcher); }

    SCA_TezReportIndex* GetIndex() { return &m_Index; }
    SCA_SrvReportsView* GetView() const { return m_View; }
    QComboBox* GetModeBox() const { return m_ModeBox; }
    QComboBox* GetFieldBox() const { return m_FieldBox; }
    QComboBox* GetOperatorBox() const { return m_OperatorBox; }
    QLineEdit* GetFilterEdit() const { return m_FilterEdit; }
    QLabel* GetReportsLabel() const { return m_ReportsLabel; }
    QLabel* GetDisplayedLabel() const { return m_DisplayedLabel; }
    SCA_ToolButton* GetSaveButton() const { return m_SaveButton; }
    SCA_ToolButton* GetDeleteButton() const { return m_DeleteButton; }
    // The filter text as it is handed to the index: UTF-8, cut on a character boundary to fit.
    QByteArray FilterText() const;

public slots:
    void MonitorModeChanged(int index);
    void FilterModeChanged(int index);
    void FilterOperatorChanged(int index);
    void ItemClicked(QTreeWidgetItem* item, int column);
    void OpenReport();
    void OpenReportDetached();
    void SaveReportPdf();
    void SaveReportHtml();
    void SaveReportExcel();
    void SaveReportText();
    void SaveReportJson();
    void SaveReportCsv();
    void SaveReportXml();
    void CompareReports();
    void ExportReports();
    void ImportReports();
    void DeleteReports();
    void FilterReports();
    void SelectFilter();
    void ResetFilter();
    int RefreshView();

private:
    void BuildFilterRow();
    void BuildBottomRow();
    // The seven save entries, in the order of the Save button's menu.
    void AddSaveActions(QMenu* menu);
    // An information box titled "Message".
    void ShowMessage(const QString& text);
    // The worker over the session's client; null (said) without a connection.
    std::unique_ptr<SCA_SrvReportManager> NewWorker();
    // Gathers the selection for an operation: shows nothingText when nothing is selected and
    // logs "<caller>: cannot access report - <id>" for a report no longer in the index.
    bool GatherFor(SCA_List<SCA_TezReportInfo*>* list, const QString& nothingText,
                   const char* caller);
    // Follows a started worker in the progress dialog; 1 when the dialog was accepted. A worker
    // that failed by itself (not stopped by the user) says why in a box.
    int RunWorker(SCA_SrvReportManager* worker, const QString& title);
    // After a delete or import: the list is read again when the work was done, or when part of
    // it was (so the list never shows reports that are gone).
    void RefreshAfter(const SCA_SrvReportManager& worker, int accepted);
    void SetCounts(uint32_t reports, uint32_t displayed);
    // Writes a report's row; a row that already shows the report as it stands is left alone.
    void FillRow(QTreeWidgetItem* row, const SCA_TezReportInfo& info, bool created);
    // The icon of a monitor mode, made once.
    const QIcon& ModeIcon(uint32_t mode);

    SCA_TezConfig* m_Config;
    SCA_TezConfigUser* m_User;
    SCA_ConfigObj* m_Params;
    char m_ConfName[256] = "";
    SCA_ClientSession* m_Session;
    SCA_TezReportIndex m_Index;
    Launcher m_Launcher;
    QHash<uint32_t, QIcon> m_ModeIcons;

    QComboBox* m_ModeBox = nullptr;
    QComboBox* m_FieldBox = nullptr;
    QComboBox* m_OperatorBox = nullptr;
    QLineEdit* m_FilterEdit = nullptr;
    SCA_SrvReportsView* m_View = nullptr;
    std::unique_ptr<SCA_TreeRows> m_Rows;
    SCA_ToolButton* m_SaveButton = nullptr;
    SCA_ToolButton* m_DeleteButton = nullptr;
    QLabel* m_ReportsLabel = nullptr;
    QLabel* m_DisplayedLabel = nullptr;
};
