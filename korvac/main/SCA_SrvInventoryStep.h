// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

class QWidget;
class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_SrvMonitor;

// The step of adding a monitor where its kind watches one item among many (a disk, a network
// card, a share, a database, a web site, a target, a printer, a protocol version) or needs a
// facility the computer may lack: asks the service for the computer's inventory, lets the user
// choose, and names the monitor after the choice. Whatever stops the command is told in a box
// on the parent (a failed presence query only in the log); nothing is sent to the service but
// read-only queries.
class SCA_SrvInventoryStep {
public:
    enum class Kind {
        None,
        LogicalDisk,
        PhysicalDisk,
        NetworkCard,
        NetworkShare,
        WebSite,
        IscsiTarget,
        Printer,
        SqlDatabase,
        TcpVersion,
        UdpVersion,
        NetworkFilter,
        DirectoryService,
    };

    // What the step chose: the counter preset, the item the counters watch (empty: every item)
    // and, for SQL monitors, the server instance.
    struct Choice {
        uint32_t Preset = 0;
        std::string Instance;
        std::string SqlInstance;
    };

    // One kind of item list (its query, texts and naming); the table of them is the step's own.
    struct ItemList;

    // The parent and the session are the caller's and outlive the step.
    SCA_SrvInventoryStep(QWidget* parent, SCA_ClientSession* session);

    // Whether the service reaches the remote computer; 0 after telling the user why not.
    int CheckRemote(const char* computer);
    // Runs the kind's step for computer ("" for the service's own). choice->Preset comes in as
    // the kind's preset and may change; the monitor's description may be changed. 1 to go on.
    int Run(Kind kind, const char* computer, SCA_SrvMonitor* monitor, Choice* choice);

private:
    // A choice among the service's items, an "all" row first.
    int RunItemList(const ItemList& step, const char* computer, SCA_SrvMonitor* monitor,
                    Choice* choice);
    int RunSql(const char* computer, SCA_SrvMonitor* monitor, Choice* choice);
    int RunProtocol(bool udp, const char* computer, Choice* choice);
    int RunNetworkFilter(const char* computer, Choice* choice);
    int RunDirectoryService(const char* computer, Choice* choice);
    // Asks the service for the list of step.Step into list; the call's result.
    int Query(const ItemList& step, const char* computer, SCA_ConfigObj* list, uint32_t* status);
    // Runs a list dialog over the choices' names; the row chosen, or -1 when cancelled.
    int Choose(const char* title, const char* icon, SCA_ConfigObj* choices);
    // A box titled by its level: "Message" for information, "Error" for anything else.
    void Tell(uint32_t level, const std::string& text);
    // "<what> (<the status's text>)", or what the failed call was when it failed itself.
    static std::string Failure(const char* what, int called, uint32_t status);

    QWidget* m_Parent;
    SCA_ClientSession* m_Session;
};
