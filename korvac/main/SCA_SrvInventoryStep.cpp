// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SrvInventoryStep.h"

#include <QListWidget>
#include <QString>
#include <vector>

#include "korvac/kit/SCA_ClientSession.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libvop/SCA_ListDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezMonitorKinds.h"

namespace {

// The service's answer for a facility the computer does not have.
constexpr uint32_t kNotPresent = 100196;
constexpr uint32_t kStatusOk = 1;
constexpr uint32_t kPresent = 1;
// The value of an "all" row among the choices.
constexpr int kAllRow = -1;
constexpr char kTotalItem[] = "_Total";
// Shares published under every name of the computer: the prefix names no share.
constexpr char kAnyHostPrefix[] = "\\\\*\\";
constexpr size_t kAnyHostPrefixLength = sizeof(kAnyHostPrefix) - 1;

// How a chosen item names the monitor: "<description> - <name>", "- NIC <number>", or the
// share's name without its any-host prefix.
enum class Naming { Name, NicNumber, ShareName };

std::string Composed(const char* description, const std::string& what) {
    return std::string(description) + " - " + what;
}

void AddChoice(SCA_ConfigObj* choices, const std::string& name, int value,
               std::vector<const SCA_Field*>* items, const SCA_Field* item) {
    // A name no field can carry is left out of the rows and of the items alike.
    if (choices->AddField(name.c_str(), value)) {
        items->push_back(item);
    }
}

} // namespace

struct SCA_SrvInventoryStep::ItemList {
    Kind Step = Kind::None;
    const char* ListName = "";
    // At most one item: every item, without a question. Otherwise an empty list stops with
    // EmptyText.
    bool FewMeansAll = false;
    const char* EmptyText = nullptr;
    // Put before the first item; null where the service's own "_Total" item stands for all.
    const char* AllRow = nullptr;
    // Put before each item's name in its row.
    const char* RowPrefix = "";
    const char* Title = "";
    const char* Icon = "";
    const char* AllText = "";
    Naming How = Naming::Name;
    const char* FailureText = "";
    uint32_t FailureLevel = SCA_LEVEL_ERROR;
    // The information for a computer without the facility (status 100196); null: FailureText.
    const char* AbsentText = nullptr;
    const char* Exclude[2] = {nullptr, nullptr};
};

namespace {

using Kind = SCA_SrvInventoryStep::Kind;

constexpr const char* kNoTargets = "No iSCSI targets detected on the computer.";
constexpr const char* kNoPrinters = "No printers detected on the computer.";

const SCA_SrvInventoryStep::ItemList kItemLists[] = {
    {.Step = Kind::LogicalDisk,
     .ListName = "DiskList",
     .FewMeansAll = true,
     .AllRow = "All Disks",
     .RowPrefix = "Disk ",
     .Title = "Select Disk",
     .Icon = ":/images/hard_disk_16px.png",
     .AllText = "All Disks",
     .FailureText = "Cannot get logical disks"},
    {.Step = Kind::PhysicalDisk,
     .ListName = "PDisks",
     .FewMeansAll = true,
     .AllRow = "All Physical Disks",
     .Title = "Select Physical Disk",
     .Icon = ":/images/hard_disk_16px.png",
     .AllText = "All Disks",
     .FailureText = "Cannot get physical disks"},
    {.Step = Kind::NetworkCard,
     .ListName = "NICs",
     .FewMeansAll = true,
     .AllRow = "All Network Cards",
     .Title = "Select Network Card",
     .Icon = ":/images/nic_16px.png",
     .AllText = "All NICs",
     .How = Naming::NicNumber,
     .FailureText = "Cannot get network cards"},
    {.Step = Kind::NetworkShare,
     .ListName = "ShareList",
     .EmptyText = "No network shares to monitor.",
     .AllRow = "All Network Shares",
     .Title = "Select Network Share",
     .Icon = ":/images/network_drive_16px.png",
     .AllText = "All Shares",
     .How = Naming::ShareName,
     .FailureText = "Cannot get network shares",
     .AbsentText = "NAS Monitor Requires Windows Server 2012 or Newer",
     .Exclude = {kTotalItem, nullptr}},
    {.Step = Kind::WebSite,
     .ListName = "SiteList",
     .EmptyText = "No IIS web sites to monitor.",
     .Title = "Select Web Site",
     .Icon = ":/images/web_16px.png",
     .AllText = "All Web Sites",
     .FailureText = "Cannot get IIS server web sites",
     .FailureLevel = SCA_LEVEL_INFO,
     .AbsentText = "No IIS servers detected on the computer."},
    {.Step = Kind::IscsiTarget,
     .ListName = "Targets",
     .EmptyText = kNoTargets,
     .AllRow = "All Targets",
     .Title = "Select iSCSI Target",
     .Icon = ":/images/iscsi_16px.png",
     .AllText = "All Targets",
     .FailureText = "Cannot get iSCSI targets",
     .FailureLevel = SCA_LEVEL_INFO,
     .AbsentText = kNoTargets,
     .Exclude = {kTotalItem, "<All instances>"}},
    {.Step = Kind::Printer,
     .ListName = "Printers",
     .EmptyText = kNoPrinters,
     .AllRow = "All Printers",
     .Title = "Select Printer",
     .Icon = ":/images/print_16px.png",
     .AllText = "All Printers",
     .FailureText = "Cannot get printers",
     .FailureLevel = SCA_LEVEL_INFO,
     .AbsentText = kNoPrinters},
};

} // namespace

SCA_SrvInventoryStep::SCA_SrvInventoryStep(QWidget* parent, SCA_ClientSession* session)
    : m_Parent(parent), m_Session(session) {}

void SCA_SrvInventoryStep::Tell(uint32_t level, const std::string& text) {
    SCA_ShowMessageBox(m_Parent, level,
                       level == SCA_LEVEL_INFO ? QStringLiteral("Message")
                                               : QStringLiteral("Error"),
                       QString::fromStdString(text));
}

std::string SCA_SrvInventoryStep::Failure(const char* what, int called, uint32_t status) {
    char reason[256] = "the request to the service failed";
    if (called) {
        SCA_GetErrorDescr(status, reason, sizeof(reason));
    }
    return std::string(what) + " (" + reason + ")";
}

int SCA_SrvInventoryStep::CheckRemote(const char* computer) {
    uint32_t status = 0;
    uint64_t totalBytes = 0;
    const int connected = m_Session->Command([&](SCA_KorvantaInterface& client) {
        return client.PerfMonitorConnect(computer, &status);
    });
    if (connected && status == kStatusOk) {
        status = 0;
        const int sized = m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.PerfMonitorGetTotalMemory(computer, &totalBytes, &status);
        });
        if (sized && status == kStatusOk) {
            return 1;
        }
        Tell(SCA_LEVEL_ERROR, Failure("Cannot connect to the remote computer", sized, status));
        return 0;
    }
    Tell(SCA_LEVEL_ERROR, Failure("Cannot connect to the remote computer", connected, status));
    return 0;
}

int SCA_SrvInventoryStep::Run(Kind kind, const char* computer, SCA_SrvMonitor* monitor,
                              Choice* choice) {
    for (const ItemList& step : kItemLists) {
        if (step.Step == kind) {
            return RunItemList(step, computer, monitor, choice);
        }
    }
    switch (kind) {
    case Kind::SqlDatabase:
        return RunSql(computer, monitor, choice);
    case Kind::TcpVersion:
        return RunProtocol(false, computer, choice);
    case Kind::UdpVersion:
        return RunProtocol(true, computer, choice);
    case Kind::NetworkFilter:
        return RunNetworkFilter(computer, choice);
    case Kind::DirectoryService:
        return RunDirectoryService(computer, choice);
    default:
        return 1;
    }
}

int SCA_SrvInventoryStep::Query(const ItemList& step, const char* computer, SCA_ConfigObj* list,
                                uint32_t* status) {
    SCA_ConfigObj exclude("ExcludeList", nullptr);
    for (const char* name : step.Exclude) {
        if (name != nullptr) {
            exclude.AddField(name, 0);
        }
    }
    return m_Session->Command([&](SCA_KorvantaInterface& client) {
        switch (step.Step) {
        case Kind::LogicalDisk:
            return client.GetDiskList(computer, list, status);
        case Kind::PhysicalDisk:
            return client.GetPDiskList(computer, list, status);
        case Kind::NetworkCard:
            return client.GetNicList(computer, list, status);
        case Kind::NetworkShare:
            return client.GetSmbShareList(computer, 1, &exclude, list, status);
        case Kind::WebSite:
            return client.GetWebSiteList(computer, &exclude, list, status);
        case Kind::IscsiTarget:
            return client.GetISCSITargets(computer, &exclude, list, status);
        case Kind::Printer:
            return client.GetPrinters(computer, list, status);
        default:
            return 0;
        }
    });
}

int SCA_SrvInventoryStep::Choose(const char* title, const char* icon, SCA_ConfigObj* choices) {
    SCA_ListDlg dialog(m_Parent, QString::fromLatin1(title), QString::fromLatin1(icon));
    if (!dialog.UpdateDialog(choices) || SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return -1;
    }
    return dialog.GetList()->currentRow();
}

int SCA_SrvInventoryStep::RunItemList(const ItemList& step, const char* computer,
                                      SCA_SrvMonitor* monitor, Choice* choice) {
    SCA_ConfigObj list(step.ListName, nullptr);
    uint32_t status = 0;
    const int called = Query(step, computer, &list, &status);
    if (!called || status != kStatusOk) {
        if (called && status == kNotPresent && step.AbsentText != nullptr) {
            Tell(SCA_LEVEL_INFO, step.AbsentText);
        } else {
            Tell(step.FailureLevel, Failure(step.FailureText, called, status));
        }
        return 0;
    }
    const char* description = monitor->GetDescription();
    const uint32_t count = list.GetFieldCount();
    if (step.FewMeansAll && count <= 1) {
        monitor->SetDescription(Composed(description, step.AllText).c_str());
        return 1;
    }
    if (!step.FewMeansAll && count == 0) {
        Tell(SCA_LEVEL_INFO, step.EmptyText);
        return 0;
    }
    // The rows offered and, for each, the item it stands for (null: every item).
    SCA_ConfigObj choices(step.ListName, nullptr);
    std::vector<const SCA_Field*> items;
    if (step.AllRow != nullptr) {
        AddChoice(&choices, step.AllRow, kAllRow, &items, nullptr);
    }
    for (const SCA_Field* item = list.GetHead(); item != nullptr; item = item->GetNext()) {
        const bool total = step.AllRow == nullptr && std::string(item->GetName()) == kTotalItem;
        AddChoice(&choices,
                  total ? std::string(step.AllText) : step.RowPrefix + std::string(item->GetName()),
                  total ? kAllRow : static_cast<int>(SCA_AtoUint64(item->GetValue())), &items,
                  total ? nullptr : item);
    }
    const int row = Choose(step.Title, step.Icon, &choices);
    if (row < 0 || static_cast<size_t>(row) >= items.size()) {
        return 0;
    }
    const SCA_Field* chosen = items[static_cast<size_t>(row)];
    if (chosen == nullptr) {
        monitor->SetDescription(Composed(description, step.AllText).c_str());
        return 1;
    }
    std::string name = chosen->GetName();
    choice->Instance = name;
    if (step.How == Naming::NicNumber) {
        name = "NIC " + std::to_string(SCA_AtoUint64(chosen->GetValue()));
    } else if (step.How == Naming::ShareName && name.size() > kAnyHostPrefixLength &&
               name.compare(0, kAnyHostPrefixLength, kAnyHostPrefix) == 0) {
        name.erase(0, kAnyHostPrefixLength);
    }
    monitor->SetDescription(Composed(description, name).c_str());
    return 1;
}

int SCA_SrvInventoryStep::RunSql(const char* computer, SCA_SrvMonitor* monitor, Choice* choice) {
    SCA_ConfigObj instances("SqlInstances", nullptr);
    uint32_t status = 0;
    int called = m_Session->Command([&](SCA_KorvantaInterface& client) {
        return client.GetSqlInstances(computer, &instances, &status);
    });
    // A computer without SQL servers is a computer whose list of them is empty.
    if (called && status == kNotPresent) {
        instances.Clear();
    } else if (!called || status != kStatusOk) {
        Tell(SCA_LEVEL_ERROR, Failure("Cannot get SQL Server instances", called, status));
        return 0;
    }
    if (instances.GetFieldCount() == 0) {
        Tell(SCA_LEVEL_INFO, "No SQL Servers detected on the computer.");
        return 0;
    }
    const int instanceRow = Choose("Select SQL Instance", ":/images/database_16px.png", &instances);
    const SCA_Field* instance = instances.GetHead();
    for (int i = 0; instance != nullptr && i < instanceRow; ++i) {
        instance = instance->GetNext();
    }
    if (instanceRow < 0 || instance == nullptr) {
        return 0;
    }
    const std::string server = instance->GetName();

    SCA_ConfigObj exclude("ExcludeList", nullptr);
    exclude.AddField(kTotalItem, 0);
    SCA_ConfigObj databases("SqlDatabases", nullptr);
    status = 0;
    called = m_Session->Command([&](SCA_KorvantaInterface& client) {
        return client.GetSqlDatabases(computer, server.c_str(), &exclude, &databases, &status);
    });
    if (!called || status != kStatusOk) {
        Tell(SCA_LEVEL_ERROR, Failure("Cannot get SQL Server databases", called, status));
        return 0;
    }
    SCA_ConfigObj choices("SqlDatabases", nullptr);
    std::vector<const SCA_Field*> items;
    AddChoice(&choices, "All Databases", kAllRow, &items, nullptr);
    for (const SCA_Field* item = databases.GetHead(); item != nullptr; item = item->GetNext()) {
        AddChoice(&choices, item->GetName(), static_cast<int>(SCA_AtoUint64(item->GetValue())),
                  &items, item);
    }
    const int row = Choose("Select SQL Database", ":/images/database_16px.png", &choices);
    if (row < 0 || static_cast<size_t>(row) >= items.size()) {
        return 0;
    }
    const SCA_Field* database = items[static_cast<size_t>(row)];
    choice->SqlInstance = server;
    choice->Instance = database != nullptr ? database->GetName() : "";
    monitor->SetDescription(
        Composed(server.c_str(), database != nullptr ? database->GetName() : "All Databases")
            .c_str());
    return 1;
}

int SCA_SrvInventoryStep::RunProtocol(bool udp, const char* computer, Choice* choice) {
    uint32_t present = 0;
    uint32_t status = 0;
    const int called = m_Session->Command([&](SCA_KorvantaInterface& client) {
        return udp ? client.PerfMonitorGetUDPv6Status(computer, &present, &status)
                   : client.PerfMonitorGetTCPv6Status(computer, &present, &status);
    });
    if (!called) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "%s",
            udp ? "SCA_SrvGui::AddTcpProtocolMonitor: cannot get UDP/IP protocol status"
                : "SCA_SrvGui::AddTcpProtocolMonitor: cannot get TCP/IP protocol status");
        return 0;
    }
    if (present == kPresent) {
        SCA_ConfigObj versions("ProtoList", nullptr);
        versions.AddField(udp ? "UDP/IP v4" : "TCP/IP v4", 0);
        versions.AddField(udp ? "UDP/IP v6" : "TCP/IP v6", 1);
        const int row = Choose("Select Protocol", ":/images/net_activity_16px.png", &versions);
        if (row < 0) {
            return 0;
        }
        const bool v6 = row == 1;
        choice->Preset = udp ? (v6 ? SCA_TEZ_PRESET_UDP6 : SCA_TEZ_PRESET_UDP4)
                             : (v6 ? SCA_TEZ_PRESET_TCP6 : SCA_TEZ_PRESET_TCP4);
        return 1;
    }
    if (status == kNotPresent) {
        choice->Preset = udp ? SCA_TEZ_PRESET_UDP : SCA_TEZ_PRESET_TCP;
        return 1;
    }
    Tell(SCA_LEVEL_ERROR, Failure("Cannot get TCP/IP protocol status", called, status));
    return 0;
}

int SCA_SrvInventoryStep::RunNetworkFilter(const char* computer, Choice* choice) {
    uint32_t present = 0;
    uint32_t status = 0;
    const int called = m_Session->Command([&](SCA_KorvantaInterface& client) {
        return client.PerfMonitorGetWFPv4Status(computer, &present, &status);
    });
    if (!called) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_SrvGui::AddWfpMonitor: cannot get WFP status");
        return 0;
    }
    if (present == kPresent) {
        choice->Preset = SCA_TEZ_PRESET_NET_FILTER;
        return 1;
    }
    if (status == kNotPresent) {
        Tell(SCA_LEVEL_INFO, "There is no network filter on the computer");
    } else {
        Tell(SCA_LEVEL_ERROR, Failure("Cannot get WFP status", called, status));
    }
    return 0;
}

int SCA_SrvInventoryStep::RunDirectoryService(const char* computer, Choice* choice) {
    uint32_t present = 0;
    uint32_t status = 0;
    const int called = m_Session->Command([&](SCA_KorvantaInterface& client) {
        return client.PerfMonitorGetADStatus(computer, &present, &status);
    });
    if (!called) {
        Tell(SCA_LEVEL_ERROR, "Cannot get Active Diretcory services status.");
        return 0;
    }
    if (present != kPresent) {
        Tell(SCA_LEVEL_INFO, "No Active Directory services detected on the machine.");
        return 0;
    }
    choice->Preset = SCA_TEZ_PRESET_DIRECTORY;
    return 1;
}
