#include "korvac/SCA_SideBar.h"

#include <QTreeWidgetItem>
#include <cstdlib>

#include "korvac/SCA_SrvConnectView.h"
#include "korvac/SCA_SrvGui.h"
#include "libvop/SCA_StatusList.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"

namespace {

constexpr const char* kRowLabels[SCA_SideBar::kRowCount] = {"Monitors", "Active",   "Failed",
                                                            "Errors",   "Warnings", "Reports"};
constexpr const char* kRowFields[SCA_SideBar::kRowCount] = {"MonitorCount",    "ActiveMonitors",
                                                            "FailedMonitors",  "MonitorErrors",
                                                            "MonitorWarnings", "TotalReports"};

} // namespace

SCA_SideBar::SCA_SideBar(QWidget* parent, SCA_SrvGui* window)
    : QSplitter(Qt::Vertical, parent), m_Window(*window), m_UserConfig(*window->GetUserConfig()) {
    setChildrenCollapsible(false);
    CreateStatusList();
    m_ConnectView = new SCA_SrvConnectView(this, &m_Window);
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

int SCA_SideBar::UpdateStatus(SCA_ConfigObj* status) {
    for (int row = 0; row < kRowCount; ++row) {
        uint32_t value = 0;
        SCA_Field* field = nullptr;
        if (status != nullptr && status->GetFieldByName(kRowFields[row], &field) &&
            field != nullptr && !field->IsObject()) {
            value = static_cast<uint32_t>(std::strtoul(field->GetValue(), nullptr, 10));
        }
        if (m_Rows[row] != nullptr) {
            m_Rows[row]->setText(2, QString::number(value));
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
