// SPDX-License-Identifier: MIT
#include "korvac/main/SCA_SideBar.h"

#include <QTreeWidgetItem>

#include "korvac/main/SCA_SrvConnectView.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "libvop/SCA_StatusList.h"

namespace {

constexpr const char* kRowLabels[SCA_SideBar::kRowCount] = {"Monitors", "Active",   "Failed",
                                                            "Errors",   "Warnings", "Reports"};
constexpr uint32_t SCA_KorvantaServerStatus::*kRowValues[SCA_SideBar::kRowCount] = {
    &SCA_KorvantaServerStatus::MonitorCount,    &SCA_KorvantaServerStatus::ActiveMonitors,
    &SCA_KorvantaServerStatus::FailedMonitors,  &SCA_KorvantaServerStatus::MonitorErrors,
    &SCA_KorvantaServerStatus::MonitorWarnings, &SCA_KorvantaServerStatus::TotalReports};

} // namespace

SCA_SideBar::SCA_SideBar(QWidget* parent, SCA_TezConfigUser* userConfig)
    : QSplitter(Qt::Vertical, parent) {
    setChildrenCollapsible(false);
    CreateStatusList();
    m_ConnectView = new SCA_SrvConnectView(this, userConfig);
}

void SCA_SideBar::CreateStatusList() {
    m_StatusList = new SCA_StatusList(this, 100, 1);
    m_StatusList->setMinimumWidth(125);
    for (int row = 0; row < kRowCount; ++row) {
        AddStatusItem(":/images/file_attr_16px.png", kRowLabels[row], &m_Rows[row]);
    }
}

int SCA_SideBar::AddStatusItem(const char* icon, const char* label, QTreeWidgetItem** out) {
    *out = m_StatusList->AddItem(QString::fromLatin1(icon), QString::fromLatin1(label));
    return *out != nullptr ? 1 : 0;
}

QTreeWidgetItem* SCA_SideBar::GetRow(int index) const {
    return index >= 0 && index < kRowCount ? m_Rows[index] : nullptr;
}

int SCA_SideBar::UpdateStatus(const SCA_KorvantaServerStatus& status) {
    for (int row = 0; row < kRowCount; ++row) {
        if (m_Rows[row] != nullptr) {
            m_Rows[row]->setText(2, QString::number(status.*kRowValues[row]));
        }
    }
    return 1;
}

int SCA_SideBar::ResetStatus() {
    for (QTreeWidgetItem* row : m_Rows) {
        if (row != nullptr) {
            row->setText(2, QString());
        }
    }
    return 1;
}
