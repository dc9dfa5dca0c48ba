// The main window's status poll: the 500 ms timer, the service's status, the monitors tree,
// the tray title, the message pane and the hand-over of notification sounds.
#include <QTimer>
#include <QTimerEvent>
#include <QTreeWidgetItem>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "korvac/SCA_MonitorsView.h"
#include "korvac/SCA_SideBar.h"
#include "korvac/SCA_SrvActionCtrl.h"
#include "korvac/SCA_SrvGui.h"
#include "korvac/SCA_SrvLogView.h"
#include "libmor/SCA_String.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_IconEngine.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_Field.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezTaskStatus.h"

namespace {

// One monitor's line of the monitors status text.
struct MonitorRow {
    uint32_t State = 0;
    uint32_t RunState = 0;
    uint32_t Counters = 0;
    uint32_t Errors = 0;
    uint32_t Warnings = 0;
    char Host[256] = "";
    char Description[256] = "";
};

constexpr uint32_t kLogBatch = 500;
constexpr uint32_t kReconnectTicks = 6;
constexpr int kIdRole = Qt::UserRole;

QIcon StateIcon(uint32_t state) {
    const char* name = "tez_command_48px.png";
    switch (state) {
    case SCA_TASK_STATUS_STOPPED:
        name = "tez_ready_48px.png";
        break;
    case SCA_TASK_STATUS_WARNING:
        name = "tez_warning_48px.png";
        break;
    case SCA_TASK_STATUS_ERROR:
        name = "tez_error_48px.png";
        break;
    case SCA_TASK_STATUS_PAUSED:
        name = "tez_paused_48px.png";
        break;
    case SCA_TASK_STATUS_RUNNING:
        name = "tez_active_48px.png";
        break;
    default:
        break;
    }
    return SCA_IconEngine::Load(QStringLiteral(":/images/") + QLatin1String(name));
}

uint32_t ReadU32(SCA_ConfigObj* object, const char* name) {
    uint32_t value = 0;
    if (object != nullptr && !object->GetField(name, &value)) {
        value = 0;
    }
    return value;
}

uint64_t ReadU64(SCA_ConfigObj* object, const char* name) {
    uint64_t value = 0;
    if (object != nullptr && !object->GetField(name, &value)) {
        value = 0;
    }
    return value;
}

const char* FieldText(SCA_Field* field) {
    const char* value = field != nullptr && !field->IsObject() ? field->GetValue() : nullptr;
    return value != nullptr ? value : "";
}

int ReadMonitorRow(SCA_Field* field, MonitorRow* row) {
    return SCA_SrvGui::ParseMonitorStatusString(
        FieldText(field), &row->State, &row->RunState, &row->Counters, &row->Errors, &row->Warnings,
        row->Host, sizeof(row->Host), row->Description, sizeof(row->Description));
}

void ReportError(const char* text) {
    SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s", text);
}

} // namespace

void SCA_SrvGui::timerEvent(QTimerEvent* event) {
    if (event == nullptr || event->timerId() != m_UpdateTimerId) {
        QMainWindow::timerEvent(event);
        return;
    }
    if (m_ClientLog.GetErrorCount() > m_SeenErrorCount && !m_ConsoleOpen) {
        ViewMessageConsole();
        m_SeenErrorCount = m_ClientLog.GetErrorCount();
    }
    CollectUpdateCheck();
    if (m_UpdateLock >= 1) {
        return;
    }
    if (m_Client != nullptr && m_TickCount % 2 == 0) {
        UpdateStatus(0);
    }
    if (m_AutoConnect && m_Client == nullptr && !m_ConnectDialogOpen && m_TickCount != 0 &&
        m_TickCount % kReconnectTicks == 0) {
        m_ReconnectTimer->start();
    }
    ++m_TickCount;
}

int SCA_SrvGui::UpdateStatus(int fullRefresh) {
    if (!CheckConnected(1)) {
        return 0;
    }
    SCA_ConfigObj* serverStatus = nullptr;
    SCA_ConfigObj* monitorsStatus = nullptr;
    if (!m_Client->GetStatusEx(&serverStatus, &monitorsStatus)) {
        SCA_Object::Destroy(serverStatus);
        SCA_Object::Destroy(monitorsStatus);
        Disconnect();
        return 0;
    }
    m_SideBar->UpdateStatus(serverStatus);
    UpdateStatusTitle(serverStatus);
    const uint32_t monitorsStatusId = ReadU32(serverStatus, "MonitorsStatusId");
    const uint32_t lastMessageId = ReadU32(serverStatus, "LastDebugMessageId");
    const uint64_t lastSoundTime = ReadU64(serverStatus, "LastSoundActionTime");
    SCA_Object::Destroy(serverStatus);

    const int shown = !fullRefresh && monitorsStatusId == m_LastMonitorsStatusId
                          ? UpdateMonitorsView(monitorsStatus)
                          : FillMonitorsView(monitorsStatus);
    // A tree that could not be rebuilt is rebuilt again at the next poll, not taken as current.
    if (shown) {
        m_LastMonitorsStatusId = monitorsStatusId;
    }
    SCA_Object::Destroy(monitorsStatus);

    if (lastMessageId != m_LastServerMessageId) {
        SCA_DebugLog log(kLogBatch);
        uint32_t sessionId = 0;
        if (m_Client->GetDebugLog(m_LastServerMessageId, kLogBatch, &sessionId, &log)) {
            m_LogView->AddMessages(&log, sessionId, &m_LastServerMessageId);
        }
    }
    if (lastSoundTime > m_LastSoundActionTime) {
        PlayNotificationSounds();
    }
    return 1;
}

int SCA_SrvGui::ParseMonitorStatusString(const char* text, uint32_t* state, uint32_t* runState,
                                         uint32_t* counters, uint32_t* errors, uint32_t* warnings,
                                         char* host, uint32_t hostSize, char* description,
                                         uint32_t descriptionSize) {
    if (host != nullptr && hostSize > 0) {
        host[0] = '\0';
    }
    if (description != nullptr && descriptionSize > 0) {
        description[0] = '\0';
    }
    uint32_t* numbers[] = {state, runState, counters, errors, warnings};
    uint32_t position = 0;
    char token[256];
    const char* source = text != nullptr ? text : "";
    for (uint32_t* number : numbers) {
        if (!SCA_GetToken1(source, &position, token, sizeof(token))) {
            ReportError("SCA_SrvGui::ParseMonitorStatusString: invalid monitor status string");
            return 0;
        }
        *number = static_cast<uint32_t>(std::strtoul(token, nullptr, 10));
    }
    if (!SCA_GetToken1(source, &position, token, sizeof(token))) {
        ReportError("SCA_SrvGui::ParseMonitorStatusString: invalid monitor status string");
        return 0;
    }
    if (std::strcmp(token, "-") != 0) {
        SCA_StrnCpy(host, token, hostSize);
    }
    const char* rest = source + position;
    while (*rest == ' ' || *rest == '\t') {
        ++rest;
    }
    SCA_StrnCpy(description, rest, descriptionSize);
    return 1;
}

int SCA_SrvGui::FillMonitorsView(SCA_ConfigObj* monitorsStatus) {
    m_MonitorsView->clear();
    if (monitorsStatus == nullptr) {
        return 1;
    }
    for (SCA_Field* field = monitorsStatus->GetHead(); field != nullptr; field = field->GetNext()) {
        const uint32_t id = static_cast<uint32_t>(
            std::strtoul(field->GetName() != nullptr ? field->GetName() : "", nullptr, 10));
        MonitorRow row;
        if (!ReadMonitorRow(field, &row)) {
            return 0;
        }
        auto* item = new QTreeWidgetItem(m_MonitorsView);
        item->setIcon(0, StateIcon(row.State));
        item->setText(1, QString::fromUtf8(row.Description));
        item->setText(2,
                      row.Host[0] != '\0' ? QString::fromUtf8(row.Host) : QStringLiteral("Local"));
        item->setText(3, QString::number(row.Counters));
        item->setText(4, QString::number(row.Errors));
        item->setText(5, QString::number(row.Warnings));
        item->setText(6, QString::fromLatin1(SCA_TezGetProcessStatusDescr(row.RunState)));
        item->setData(0, kIdRole, id);
        item->setData(1, kIdRole, row.RunState);
        item->setData(2, kIdRole, row.State);
    }
    return 1;
}

int SCA_SrvGui::UpdateMonitorsView(SCA_ConfigObj* monitorsStatus) {
    if (monitorsStatus == nullptr) {
        return 1;
    }
    for (int index = 0; index < m_MonitorsView->topLevelItemCount(); ++index) {
        QTreeWidgetItem* item = m_MonitorsView->topLevelItem(index);
        char name[16];
        std::snprintf(name, sizeof(name), "%u", item->data(0, kIdRole).toUInt());
        SCA_Field* field = nullptr;
        if (!monitorsStatus->GetFieldByName(name, &field) || field == nullptr) {
            continue;
        }
        MonitorRow row;
        if (!ReadMonitorRow(field, &row)) {
            return 0;
        }
        item->setText(3, QString::number(row.Counters));
        item->setText(4, QString::number(row.Errors));
        item->setText(5, QString::number(row.Warnings));
        if (item->data(2, kIdRole).toUInt() != row.State) {
            item->setIcon(0, StateIcon(row.State));
            item->setData(2, kIdRole, row.State);
        }
        if (item->data(1, kIdRole).toUInt() != row.RunState) {
            item->setText(6, QString::fromLatin1(SCA_TezGetProcessStatusDescr(row.RunState)));
            item->setData(1, kIdRole, row.RunState);
        }
    }
    return 1;
}

int SCA_SrvGui::UpdateStatusTitle(SCA_ConfigObj* serverStatus) {
    const uint32_t active = ReadU32(serverStatus, "ActiveMonitors");
    const uint32_t failed = ReadU32(serverStatus, "FailedMonitors");
    const uint32_t warnings = ReadU32(serverStatus, "MonitorWarnings");
    const uint64_t errors = static_cast<uint64_t>(ReadU32(serverStatus, "MonitorErrors")) + failed;
    char text[256];
    uint32_t state = kTrayNoActive;
    auto plural = [](uint64_t count) { return count == 1 ? "" : "s"; };
    if (errors > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %llu Error%s",
                      static_cast<unsigned long long>(errors), plural(errors));
        state = kTrayErrors;
    } else if (warnings > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %u Warning%s", warnings,
                      plural(warnings));
        state = kTrayWarnings;
    } else if (active > 0) {
        std::snprintf(text, sizeof(text), "Korvanta Client - %u Monitor%s", active, plural(active));
        state = kTrayRunning;
    } else {
        SCA_StrnCpy(text, "Korvanta Client - No Active Monitors", sizeof(text));
    }
    SetSysTrayStatus(state, text);
    return 1;
}

int SCA_SrvGui::PlayNotificationSounds() {
    if (!CheckConnected(1)) {
        return 0;
    }
    auto* actions = new (std::nothrow) SCA_SoundActions();
    if (actions == nullptr) {
        ReportError("SCA_SrvGui::PlayNotificationSounds: cannot create sound actions object");
        return 0;
    }
    if (!m_Client->GetSoundActions(m_LastSoundActionTime, &m_LastSoundActionTime, actions)) {
        ReportError("SCA_SrvGui::PlayNotificationSounds: cannot get sound actions object");
        delete actions;
        return 0;
    }
    if (actions->Count() == 0) {
        delete actions;
        return 1;
    }
    // The controller owns the batch from here, also when it refuses it.
    return m_ActionCtrl->AddActions(actions);
}
