// SPDX-License-Identifier: MIT
// The counter picker's instance list: which inventory of the service lists the instances of a
// counter or of a category, how its items are shown, and the caches that ask each inventory
// once per computer.
#include <QComboBox>
#include <QHBoxLayout>
#include <cstring>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/monitor/SCA_HintTree.h"
#include "korvac/monitor/SCA_SrvAddCounterDlg.h"
#include "korvac/monitor/SCA_SrvCounterCategories.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_TezCounterMeta.h"

struct SCA_SrvAddCounterDlg::InstanceList {
    // The counter group (refill by counter) or the category (fill by category).
    uint32_t Key = 0;
    // Where the items come from; kInventoryCount for a list of one row (AllRow) and no items.
    Inventory Source = kInventoryCount;
    // The row that stands for every instance (or for the whole computer), made current; null
    // where every row is one instance.
    const char* AllRow = nullptr;
    // An item's row text, %1 being its name.
    const char* RowText = "%1";
    const char* Icon = "";
    // Items listed in name order rather than in the service's order.
    bool Sorted = false;
    // Asked anew each time rather than kept.
    bool AskEveryTime = false;
    // Filling a category: what the user is told when there is nothing to pick, and when the
    // computer has no such facility (status 100196; null: EmptyText).
    const char* EmptyText = nullptr;
    const char* AbsentText = nullptr;
};

namespace {

constexpr uint32_t kStatusOk = 1;
constexpr uint32_t kAvailable = 1;
// The service's answer for a facility the computer does not have.
constexpr uint32_t kNotPresent = 100196;
constexpr QSize kSqlComboSize(238, 24);
// After the connect button and the computer combo.
constexpr int kSqlComboPosition = 2;
constexpr char kTotal[] = "_Total";

constexpr const char* kCpuIcon = ":/images/cpu_16px.png";
constexpr const char* kDiskIcon = ":/images/hard_disk_16px.png";
constexpr const char* kNicIcon = ":/images/nic_16px.png";
constexpr const char* kDatabaseIcon = ":/images/database_16px.png";
constexpr const char* kWebIcon = ":/images/web_16px.png";

QIcon Icon(const char* path) {
    return SCA_IconEngine::Load(QString::fromLatin1(path));
}

int ByName(const void* left, const void* right) {
    return std::strcmp((*static_cast<SCA_Field* const*>(left))->GetName(),
                       (*static_cast<SCA_Field* const*>(right))->GetName());
}

} // namespace

// The instance list of each counter group. Groups not listed keep what their category filled.
static const SCA_SrvAddCounterDlg::InstanceList kGroupLists[] = {
    {.Key = SCA_TEZ_GROUP_CPU,
     .Source = SCA_SrvAddCounterDlg::kCpus,
     .AllRow = "All CPUs",
     .RowText = "CPU %1",
     .Icon = kCpuIcon},
    {.Key = SCA_TEZ_GROUP_CPU_FREQ,
     .Source = SCA_SrvAddCounterDlg::kCpusEx,
     .AllRow = "All CPUs",
     .RowText = "CPU %1",
     .Icon = kCpuIcon,
     .Sorted = true},
    {.Key = SCA_TEZ_GROUP_MEMORY, .AllRow = "System Memory", .Icon = ":/images/memory_16px.png"},
    {.Key = SCA_TEZ_GROUP_SYSTEM, .AllRow = "Operating System", .Icon = ":/images/system_16px.png"},
    {.Key = SCA_TEZ_GROUP_FILE_SYSTEM, .AllRow = "File System", .Icon = ":/images/dir_16px.png"},
    // A mount point is shown as it stands: it is a path already.
    {.Key = SCA_TEZ_GROUP_DISK,
     .Source = SCA_SrvAddCounterDlg::kDisks,
     .AllRow = "All Disks",
     .RowText = "Disk %1",
     .Icon = kDiskIcon},
    {.Key = SCA_TEZ_GROUP_NIC,
     .Source = SCA_SrvAddCounterDlg::kNics,
     .AllRow = "All Network Cards",
     .Icon = kNicIcon},
    {.Key = SCA_TEZ_GROUP_PROTOCOL, .AllRow = "Network Protocols", .Icon = kNicIcon},
    {.Key = SCA_TEZ_GROUP_PROCESS,
     .Source = SCA_SrvAddCounterDlg::kProcesses,
     .Icon = ":/images/app_16px.png",
     .Sorted = true},
    {.Key = SCA_TEZ_GROUP_USB,
     .Source = SCA_SrvAddCounterDlg::kUsbDevices,
     .Icon = ":/images/usb_16px.png",
     .AskEveryTime = true},
    {.Key = SCA_TEZ_GROUP_PHYSICAL_DISK,
     .Source = SCA_SrvAddCounterDlg::kPhysicalDisks,
     .AllRow = "All Physical Disks",
     .Icon = kDiskIcon},
};

// The instance list of each category that fills it from an inventory of its own, apart from
// the SQL servers, the web sites and the directory service, which have their own steps.
static const SCA_SrvAddCounterDlg::InstanceList kCategoryLists[] = {
    {.Key = SCA_COUNTER_CATEGORY_USB,
     .Source = SCA_SrvAddCounterDlg::kUsbDevices,
     .Icon = ":/images/usb_16px.png",
     .EmptyText = "No USB devices detected on the computer."},
    {.Key = SCA_COUNTER_CATEGORY_SHARES,
     .Source = SCA_SrvAddCounterDlg::kShares,
     .AllRow = "All Network Shares",
     .Icon = ":/images/network_drive_16px.png",
     .EmptyText = "No Network Shares To Monitor",
     .AbsentText = "NAS Monitor Requires Windows Server 2012 or Newer"},
    {.Key = SCA_COUNTER_CATEGORY_ISCSI,
     .Source = SCA_SrvAddCounterDlg::kIscsiTargets,
     .AllRow = "All iSCSI Targets",
     .Icon = ":/images/iscsi_16px.png",
     .EmptyText = "No iSCSI Targets detected on the computer."},
    {.Key = SCA_COUNTER_CATEGORY_PRINTERS,
     .Source = SCA_SrvAddCounterDlg::kPrinters,
     .AllRow = "All Printers",
     .Icon = ":/images/print_16px.png",
     .EmptyText = "No printers detected on the computer."},
    {.Key = SCA_COUNTER_CATEGORY_NET_FILTER,
     .AllRow = "Windows Filtering Platform",
     .Icon = ":/images/net_filter_16px.png"},
};

QTreeWidgetItem* SCA_SrvAddCounterDlg::AddInstanceRow(const QString& text, const char* icon,
                                                      const QString& name, bool current) {
    auto* row = new QTreeWidgetItem(m_InstanceTree);
    row->setIcon(kIconColumn, Icon(icon));
    row->setText(kTextColumn, text);
    row->setData(kIconColumn, kDataRole, name);
    if (current) {
        m_InstanceTree->setCurrentItem(row);
    }
    return row;
}

void SCA_SrvAddCounterDlg::AddInventoryRows(const SCA_ConfigObj& items, const InstanceList& list) {
    for (const SCA_Field* item = items.GetHead(); item != nullptr; item = item->GetNext()) {
        const QString name = QString::fromUtf8(item->GetName());
        AddInstanceRow(QString::fromLatin1(list.RowText).arg(name), list.Icon, name, false);
    }
}

int SCA_SrvAddCounterDlg::Query(Inventory inventory, SCA_ConfigObj* list, uint32_t* status) {
    SCA_ConfigObj exclude("ExcludeList", nullptr);
    exclude.AddField(kTotal, 0);
    if (inventory == kProcesses) {
        exclude.AddField("Idle", 0);
    } else if (inventory == kIscsiTargets) {
        exclude.AddField("<All instances>", 0);
    }
    const QByteArray sqlInstance =
        m_SqlInstanceCombo != nullptr ? m_SqlInstanceCombo->currentText().toUtf8() : QByteArray();
    const char* computer = m_Computer;
    return m_Session->Command([&](SCA_KorvantaInterface& client) {
        switch (inventory) {
        case kCpus:
            return client.GetCpuList(computer, list, status);
        case kCpusEx:
            return client.GetCpuListEx(computer, list, status);
        case kNics:
            return client.GetNicList(computer, list, status);
        case kDisks:
            return client.GetDiskList(computer, list, status);
        case kPhysicalDisks:
            return client.GetPDiskList(computer, list, status);
        case kUsbDevices:
            return client.GetUsbDevList(computer, list, status);
        case kProcesses:
            return client.GetProcessList(computer, &exclude, list, status);
        case kShares:
            return client.GetSmbShareList(computer, 1, &exclude, list, status);
        case kSqlInstances:
            return client.GetSqlInstances(computer, list, status);
        case kSqlDatabases:
            return client.GetSqlDatabases(computer, sqlInstance.constData(), &exclude, list,
                                          status);
        case kWebSites:
            return client.GetWebSiteList(computer, &exclude, list, status);
        case kIscsiTargets:
            return client.GetISCSITargets(computer, &exclude, list, status);
        case kPrinters:
            return client.GetPrinters(computer, list, status);
        default:
            return 0;
        }
    });
}

int SCA_SrvAddCounterDlg::Fetch(Inventory inventory, uint32_t* status) {
    SCA_ConfigObj* cache = m_Inventories[inventory].get();
    if (cache->GetFieldCount() > 0) {
        *status = kStatusOk;
        return 1;
    }
    *status = 0;
    if (!Query(inventory, cache, status)) {
        return 0;
    }
    if (inventory == kCpusEx || inventory == kProcesses) {
        cache->SortFields(ByName);
    }
    return 1;
}

int SCA_SrvAddCounterDlg::FillItemList(const InstanceList& list, bool tell) {
    if (!tell && list.AllRow != nullptr) {
        AddInstanceRow(QString::fromLatin1(list.AllRow), list.Icon, QString(), true);
    }
    if (list.Source == kInventoryCount) {
        if (tell && list.AllRow != nullptr) {
            AddInstanceRow(QString::fromLatin1(list.AllRow), list.Icon, QString(), true);
        }
        return 1;
    }
    uint32_t status = 0;
    SCA_ConfigObj fresh(m_Inventories[list.Source]->GetName(), nullptr);
    const SCA_ConfigObj* items = &fresh;
    int called = 0;
    if (list.AskEveryTime) {
        called = Query(list.Source, &fresh, &status);
    } else {
        called = Fetch(list.Source, &status);
        items = m_Inventories[list.Source].get();
    }
    if (!tell) {
        if (!called || status != kStatusOk) {
            return 0;
        }
        AddInventoryRows(*items, list);
        return 1;
    }
    if (!called || items->GetHead() == nullptr) {
        const char* text = called && status == kNotPresent && list.AbsentText != nullptr
                               ? list.AbsentText
                               : list.EmptyText;
        Tell(SCA_LEVEL_INFO, QString::fromUtf8(text));
        m_InstanceTree->SetHint(QString::fromUtf8(text));
        return 0;
    }
    if (list.AllRow != nullptr) {
        AddInstanceRow(QString::fromLatin1(list.AllRow), list.Icon, QString(), true);
    }
    AddInventoryRows(*items, list);
    return 1;
}

void SCA_SrvAddCounterDlg::FillInstances(uint32_t counterType) {
    FillGroup(SCA_TezGetCounterGroup(counterType));
}

void SCA_SrvAddCounterDlg::FillGroup(uint32_t group) {
    for (const InstanceList& list : kGroupLists) {
        if (list.Key == group) {
            m_InstanceTree->clear();
            m_InstanceTree->SetHint(
                QStringLiteral("The service lists no instances of this counter."));
            FillItemList(list, false);
            return;
        }
    }
}

int SCA_SrvAddCounterDlg::FillCategoryInstances(uint32_t category) {
    int filled = 0;
    switch (category) {
    case SCA_COUNTER_CATEGORY_SQL:
        filled = FillSqlServers();
        break;
    case SCA_COUNTER_CATEGORY_WEB:
        filled = FillWebSites();
        break;
    case SCA_COUNTER_CATEGORY_DIRECTORY:
        filled = FillDirectory();
        break;
    case SCA_COUNTER_CATEGORY_PHYSICAL_DISKS:
        // Its counters are offered whatever the inventory gave: the row for all disks stays.
        FillGroup(SCA_TEZ_GROUP_PHYSICAL_DISK);
        return 1;
    default:
        for (const InstanceList& list : kCategoryLists) {
            if (list.Key == category) {
                filled = FillItemList(list, true);
            }
        }
        break;
    }
    if (!filled) {
        m_CounterTree->SetHint(QStringLiteral("Nothing of this category to monitor on this "
                                              "computer. Choose another category."));
    }
    return filled;
}

int SCA_SrvAddCounterDlg::FillWebSites() {
    uint32_t status = 0;
    const int called = Fetch(kWebSites, &status);
    QString problem;
    if (called && status == kStatusOk) {
        if (m_Inventories[kWebSites]->GetHead() == nullptr) {
            problem = QStringLiteral("No IIS web sites to monitor.");
        }
    } else if (called && status == kNotPresent) {
        problem = QStringLiteral("No IIS servers detected on the computer.");
    } else {
        problem = QStringLiteral("Cannot get IIS server web sites (ERR:%1)").arg(status);
    }
    if (!problem.isEmpty()) {
        Tell(SCA_LEVEL_WARNING, problem, "Message");
        m_InstanceTree->SetHint(problem);
        return 0;
    }
    AddInstanceRow(QStringLiteral("All Web Sites"), kWebIcon, QString(), true);
    AddInventoryRows(*m_Inventories[kWebSites], {.Icon = kWebIcon});
    return 1;
}

int SCA_SrvAddCounterDlg::FillSqlServers() {
    uint32_t status = 0;
    const int called = Fetch(kSqlInstances, &status);
    const SCA_ConfigObj& servers = *m_Inventories[kSqlInstances];
    if (!called || servers.GetHead() == nullptr) {
        const QString text = QStringLiteral("No SQL Servers detected on the computer.");
        Tell(SCA_LEVEL_INFO, text);
        m_InstanceTree->SetHint(text);
        return 0;
    }
    m_SqlInstanceCombo = new QComboBox(this);
    m_SqlInstanceCombo->setFixedSize(kSqlComboSize);
    for (const SCA_Field* server = servers.GetHead(); server != nullptr;
         server = server->GetNext()) {
        m_SqlInstanceCombo->addItem(Icon(kDatabaseIcon), QString::fromUtf8(server->GetName()));
    }
    // Connected once filled: the databases are asked for after the counters are listed.
    connect(m_SqlInstanceCombo, &QComboBox::currentIndexChanged, this,
            &SCA_SrvAddCounterDlg::SqlInstanceChanged);
    m_BottomRow->insertWidget(kSqlComboPosition, m_SqlInstanceCombo);
    return 1;
}

void SCA_SrvAddCounterDlg::FillSqlDatabases() {
    m_InstanceTree->clear();
    if (m_SqlInstanceCombo == nullptr || m_SqlInstanceCombo->count() == 0) {
        return;
    }
    uint32_t status = 0;
    if (!Fetch(kSqlDatabases, &status) || status != kStatusOk) {
        const QString text = QStringLiteral("No SQL Server databases detected on the computer.");
        Tell(SCA_LEVEL_INFO, text);
        m_InstanceTree->SetHint(text);
        return;
    }
    AddInstanceRow(QStringLiteral("All Databases"), kDatabaseIcon, QString(), true);
    AddInventoryRows(*m_Inventories[kSqlDatabases], {.Icon = kDatabaseIcon});
}

int SCA_SrvAddCounterDlg::FillDirectory() {
    uint32_t available = 0;
    if (!AskAvailable(&SCA_KorvantaInterface::PerfMonitorGetADStatus, &available) ||
        available != kAvailable) {
        const QString text =
            QStringLiteral("No Active Directory services detected on the machine.");
        Tell(SCA_LEVEL_INFO, text);
        m_InstanceTree->SetHint(text);
        return 0;
    }
    AddInstanceRow(QStringLiteral("Active Directory"), ":/images/active_dir_16px.png", QString(),
                   true);
    return 1;
}
