// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QString>
#include <array>
#include <cstdint>

#include "containers/SCA_List.h"
#include "libmor/SCA_Object.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezRecordFields.h"

class QBoxLayout;
class QComboBox;
class QHBoxLayout;
class QToolButton;
class QTreeWidgetItem;
class SCA_ClientSession;
class SCA_HintTree;
class SCA_KorvantaInterface;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_ToolButton;

// The counter picker: the user chooses a computer, a category, one of its counters and, where
// the counter measures one of several things (processors, disks, adapters, processes, ...),
// which of them; the lists of things come from the service's inventories of that computer,
// asked once per computer while the picker is open. It only picks: the caller adds the
// counter.
//
// Every instance row keeps the name the service gave for it (empty for the rows that stand
// for all instances or for the whole computer), so what is picked is the name as listed,
// whatever the row shows.
class SCA_SrvAddCounterDlg : public QDialog {
    Q_OBJECT
public:
    // Where an instance row keeps the inventory's name, and counter and category rows their id.
    static constexpr int kDataRole = Qt::UserRole;
    // Columns of the three lists.
    static constexpr int kIconColumn = 0;
    static constexpr int kTextColumn = 1;

    // The service's inventories that the picker keeps, one cache each.
    enum Inventory {
        kCpus,
        kCpusEx,
        kNics,
        kDisks,
        kPhysicalDisks,
        kUsbDevices,
        kProcesses,
        kShares,
        kSqlInstances,
        kSqlDatabases,
        kWebSites,
        kIscsiTargets,
        kPrinters,
        kInventoryCount
    };
    // The instance list of a counter's group or of a category (the table is the picker's own).
    struct InstanceList;

    // computer: the computer that the caller's monitor watches when it is a remote monitor,
    // else null or empty (the service's own computer). The configurations and the session are
    // the caller's and outlive the dialog. Nothing is asked until FillDialog.
    SCA_SrvAddCounterDlg(QWidget* parent, SCA_TezConfig* productConfig,
                         SCA_TezConfigUser* userConfig, SCA_ClientSession* session,
                         const char* computer);
    ~SCA_SrvAddCounterDlg() override;

    // Fills every list for the current computer; 0 when the service could not say which
    // counters the computer offers (reported; the caller then does not show the dialog).
    int FillDialog();
    // After the dialog was accepted: the counter type, the computer (empty: the service's own),
    // the instance (empty: all of them, or none) and the SQL Server instance (empty unless a
    // SQL counter was picked). 0 after telling the user when no counter row is chosen or a name
    // does not fit its buffer (nothing is cut).
    int GetSelectedCounter(uint32_t* counterType, char* computer, uint32_t computerSize,
                           char* instance, uint32_t instanceSize, char* sqlInstance,
                           uint32_t sqlInstanceSize);

    // The configurations the dialog was made with: remote computers added here extend the user
    // configuration's list in memory only; storing it is the caller's choice.
    SCA_TezConfig* GetProductConfig() const { return m_ProductConfig; }
    SCA_TezConfigUser* GetUserConfig() const { return m_UserConfig; }

    // What the tests read.
    SCA_HintTree* GetCategoryTree() const { return m_CategoryTree; }
    SCA_HintTree* GetCounterTree() const { return m_CounterTree; }
    SCA_HintTree* GetInstanceTree() const { return m_InstanceTree; }
    QComboBox* GetComputerCombo() const { return m_ComputerCombo; }
    QComboBox* GetSqlInstanceCombo() const { return m_SqlInstanceCombo; }
    SCA_ToolButton* GetConnectButton() const { return m_ConnectButton; }
    QToolButton* GetAddButton() const { return m_AddButton; }
    const char* GetComputer() const { return m_Computer; }
    uint32_t IsCpuFreqAvailable() const { return m_CpuFreqAvailable; }
    uint32_t IsTcpV6Available() const { return m_TcpV6Available; }
    uint32_t IsFilled() const { return m_Filled; }

public slots:
    void CategorySelected(QTreeWidgetItem* item, int column);
    void CounterClicked(QTreeWidgetItem* item, int column);
    void CounterSelected(QTreeWidgetItem* item, int column);
    void InstanceClicked(QTreeWidgetItem* item, int column);
    void Accept();
    void AddComputer();
    void ComputerNameChanged(int index);
    void SqlInstanceChanged(int index);

private:
    // --- construction -----------------------------------------------------------------------
    SCA_HintTree* AddList(QBoxLayout* row, const char* header, int iconColumnWidth, int stretch);
    void BuildBottomRow(QBoxLayout* row);
    // Wide enough for every category's name beside its icon.
    void FitCategoryWidth();

    // --- filling ----------------------------------------------------------------------------
    // One yes/no question about the computer; 0 when the call failed.
    int AskAvailable(int (SCA_KorvantaInterface::*question)(const char*, uint32_t*, uint32_t*),
                     uint32_t* available);
    void FillCategories(bool networkFilter);
    void FillComputers();
    // Makes the combo show the current computer without reacting to it.
    void ShowComputer();
    // Empties the counter table and the counter and instance lists, and drops the SQL combo.
    void BeginFiller();
    void AddCounterItem(uint32_t category, uint32_t counterType);
    void AddCategoryCounters(uint32_t category);
    void ListCounters();
    void BuildStandardTable();
    void FillCategory(uint32_t category);
    uint32_t CurrentId(SCA_HintTree* tree) const;

    // --- instances (SCA_SrvAddCounterDlgInstances.cpp) ------------------------------------
    // The instance list of a counter, by its group; silent when an inventory fails.
    void FillInstances(uint32_t counterType);
    void FillGroup(uint32_t group);
    // The instance list of a category with an inventory of its own; 0 after telling the user
    // why there is nothing to pick.
    int FillCategoryInstances(uint32_t category);
    int FillItemList(const InstanceList& list, bool tell);
    int FillWebSites();
    int FillSqlServers();
    void FillSqlDatabases();
    int FillDirectory();
    // The cached inventory, asked from the service when it is empty; 0 when the call failed.
    int Fetch(Inventory inventory, uint32_t* status);
    int Query(Inventory inventory, SCA_ConfigObj* list, uint32_t* status);
    QTreeWidgetItem* AddInstanceRow(const QString& text, const char* icon, const QString& name,
                                    bool current);
    void AddInventoryRows(const SCA_ConfigObj& items, const InstanceList& list);
    // A box with one OK button, titled by its level unless a title is given.
    void Tell(uint32_t type, const QString& text, const char* title = nullptr);

    SCA_TezConfig* m_ProductConfig;
    SCA_TezConfigUser* m_UserConfig;
    SCA_ClientSession* m_Session;
    SCA_ConfigObj* m_RemoteComputers;
    char m_Computer[SCA_TEZ_TEXT_SIZE] = "";
    std::array<SCA_OwnedPtr<SCA_ConfigObj>, kInventoryCount> m_Inventories;
    uint32_t m_Filled = 0;
    uint32_t m_CpuFreqAvailable = 0;
    uint32_t m_TcpV6Available = 0;
    // Item id: the counter type; element: its category.
    SCA_List<uint32_t> m_CounterTable;

    SCA_HintTree* m_CategoryTree = nullptr;
    SCA_HintTree* m_CounterTree = nullptr;
    SCA_HintTree* m_InstanceTree = nullptr;
    QHBoxLayout* m_BottomRow = nullptr;
    SCA_ToolButton* m_ConnectButton = nullptr;
    QComboBox* m_ComputerCombo = nullptr;
    QComboBox* m_SqlInstanceCombo = nullptr;
    QToolButton* m_AddButton = nullptr;
    QToolButton* m_CancelButton = nullptr;
};
