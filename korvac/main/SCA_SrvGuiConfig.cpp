// SPDX-License-Identifier: MIT
// The connected service's configuration as one unit: export to a file, import from one, and
// the options dialog over the service's settings joined with the client's own options.
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolBar>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/main/SCA_GuiUpdateLock.h"
#include "korvac/main/SCA_MainConnection.h"
#include "korvac/main/SCA_MainStatusPoll.h"
#include "korvac/main/SCA_SrvActionCtrl.h"
#include "korvac/main/SCA_SrvGui.h"
#include "libmor/SCA_Crypto.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libvop/SCA_EntryDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_OptionsDlg.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"
#include "model/SCA_TezConfigUser.h"
#include "net/SCA_NetProtocol.h"

namespace {

constexpr uint32_t kAllSections = SCA_ALL_ONES;
// Settings and options: what the options dialog edits on the service.
constexpr uint32_t kOptionSections = 33;
constexpr uint32_t kAllOptionPages = 4095;
constexpr const char* kFileFilter = "(*.hdx)";
// The fields of an exported configuration that say what it is.
constexpr const char* kFileTypeField = "FileType";
constexpr const char* kProductTypeField = "ProductType";
// The service's login password never leaves it in an exported file; an import asks for it.
constexpr const char* kPasswordField = "ServerPassword";
constexpr const char* kUserNameField = "ServerUserName";
constexpr uint32_t kPasswordLength = 255;

constexpr const char* kGuiOptions[] = {
    SCA_OPTION_SHOW_MAIN_TOOLBAR, SCA_OPTION_SAVE_LAST_GUI_LAYOUT, SCA_OPTION_SHOW_VERBOSE_MESSAGES,
    SCA_OPTION_TRAY_ERRORS,       SCA_OPTION_TRAY_STATUS,          SCA_OPTION_MINIMIZE_TO_TRAY,
    SCA_OPTION_START_MINIMIZED,
};

// A configuration reaches the service in one request, whose payload the protocol holds to
// SCA_NET_MAX_PAYLOAD; its file is that tree behind a head of magic, format version, file
// type, payload length and SHA-256. A larger file holds no configuration the service could
// take, and is refused before a byte of it is read.
constexpr qint64 kConfigFileHeadBytes = 4 + 4 + 4 + 8 + SCA_SHA256_SIZE;
constexpr qint64 kMaxConfigFileBytes = qint64{SCA_NET_MAX_PAYLOAD} + kConfigFileHeadBytes;

QString UserDir() {
    return QDir::homePath();
}

QByteArray SizeText(qint64 bytes) {
    char text[64] = "";
    SCA_FormatSize(static_cast<uint64_t>(bytes), text, sizeof(text));
    return QByteArray(text);
}

// Whether file may be read as a configuration: a file of a size a configuration can have.
// Anything else (a device, a pipe, a folder, a file past the limit) is reported, unread.
bool MayHoldConfiguration(const QByteArray& file) {
    const QFileInfo info(QString::fromUtf8(file));
    if (!info.exists()) {
        return true; // the load says it is missing
    }
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!info.isFile()) {
        report(SCA_LEVEL_ERROR, "The specified configuration file is invalid.");
        return false;
    }
    if (info.size() > kMaxConfigFileBytes) {
        report(SCA_LEVEL_ERROR,
               "The specified configuration file is too large - %s (%s; a server configuration "
               "is at most %s)",
               file.constData(), SizeText(info.size()).constData(),
               SizeText(kMaxConfigFileBytes).constData());
        return false;
    }
    return true;
}

// The service refused a change of its configuration: "Cannot save server configuration file",
// with the reason it logged for refusing operation since the log message logMark.
void ReportNotSaved(SCA_ClientSession* session, uint32_t logMark, const char* operation) {
    std::string reason;
    if (session->IsConnected()) {
        session->Command([&](SCA_KorvantaInterface& client) {
            return client.GetRefusalReason(logMark, operation, &reason);
        });
    }
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (reason.empty()) {
        report(SCA_LEVEL_ERROR, "Cannot save server configuration file");
    } else {
        report(SCA_LEVEL_ERROR, "Cannot save server configuration file - %s", reason.c_str());
    }
}

QByteArray NormalisedPath(const QString& path) {
    return QDir::cleanPath(path).toUtf8();
}

} // namespace

int SCA_SrvGui::SyncClientOptions(SCA_TezConfigUser* from, SCA_TezConfigUser* to) {
    if (from == nullptr || to == nullptr) {
        return 0;
    }
    for (const char* name : kGuiOptions) {
        SCA_Field* field = nullptr;
        const int on = from->GetAdvancedOptions()->GetFieldByName(name, &field) &&
                               field != nullptr && std::atol(field->GetValue()) != 0
                           ? 1
                           : 0;
        // An option the target lacks stays absent: SetAdvancedOption never creates one.
        to->SetAdvancedOption(name, on);
    }
    to->SetDefaultReportTitle(from->GetDefaultReportTitle());
    to->SetConnectMode(from->GetConnectMode());
    to->SetProxyServer(from->GetProxyServer());
    to->SetProxyPort(from->GetProxyPort());
    to->SetChartTextColor(from->GetChartTextColor());
    to->SetChartLineColor(from->GetChartLineColor());
    to->SetChartFillColor(from->GetChartFillColor());
    to->SetChartGridColor(from->GetChartGridColor());
    to->SetChartBorderColor(from->GetChartBorderColor());
    to->SetChartBackgroundColor(from->GetChartBackgroundColor());

    SCA_ConfigObj shortcuts("Shortcuts", nullptr);
    if (!from->SerializeShortcuts(&shortcuts) || !to->DeserializeShortcuts(&shortcuts)) {
        return 0;
    }
    SCA_ConfigObj sounds("Sounds", nullptr);
    // The sound worker reads the client's own list: whichever side that is, it is locked.
    std::unique_lock<std::mutex> lock;
    if (m_ActionCtrl != nullptr && (from == &m_UserConfig || to == &m_UserConfig)) {
        lock = m_ActionCtrl->LockSoundList();
    }
    return from->GetSoundList()->Serialize(&sounds) && to->GetSoundList()->Deserialize(&sounds) ? 1
                                                                                                : 0;
}

void SCA_SrvGui::ExportConfiguration() {
    const CommandAnswer answer(this);
    SCA_GuiUpdateLock lock(this);
    if (!CheckConnected(1) || !m_Connection->LoadServerConfig()) {
        return;
    }
    const QString start = UserDir() + QLatin1Char('/') +
                          QString::fromUtf8(SCA_GetProductName(m_Connection->ServerProductType())) +
                          QStringLiteral(" Config.hdx");
    const QString path = SCA_GetSaveFileName(this, QStringLiteral("Backup Server Configuration"),
                                             start, QString::fromLatin1(kFileFilter));
    if (path.isEmpty()) {
        return;
    }
    // The stored form carries "FileType" and "ProductType", which the import checks.
    SCA_ConfigObj object("ServerConfig", nullptr);
    uint32_t error = 0;
    if (!m_ServerUserConfig.Serialize(&object)) {
        return;
    }
    SCA_Object::Destroy(object.RemoveField(kPasswordField));
    if (!object.Save(NormalisedPath(path).constData(), SCA_TEZ_USER_CONFIG_FILE_TYPE, 0, &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot backup product configuration");
        return;
    }
    ShowMessage(this, SCA_LEVEL_INFO, "Product configuration exported.");
}

void SCA_SrvGui::ImportConfiguration() {
    const CommandAnswer answer(this);
    // Held for the whole command: the poll must not disconnect under a modal step.
    SCA_GuiUpdateLock lock(this);
    if (!CheckConnected(1)) {
        return;
    }
    const uint32_t logMark = m_Poll->LastServerMessageId();
    if (SCA_AskMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Warning"),
                          QStringLiteral("The current server configuration will be lost.\nAre "
                                         "you sure you want to continue?"),
                          QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        return;
    }
    if (!CheckConnected(1)) {
        return;
    }
    const QString path = SCA_GetOpenFileName(this, QStringLiteral("Restore Server Configuration"),
                                             UserDir(), QString::fromLatin1(kFileFilter));
    if (path.isEmpty() || !CheckConnected(1)) {
        return;
    }
    const QByteArray file = NormalisedPath(path);
    if (!MayHoldConfiguration(file)) {
        return;
    }
    SCA_ConfigObj object("ServerConfig", nullptr);
    uint32_t error = 0;
    if (!object.Load(file.constData(), &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "Error loading server configuration file - %s", file.constData());
        return;
    }
    uint32_t fileType = 0;
    uint32_t productType = 0;
    if (!object.GetField(kFileTypeField, &fileType) || fileType != SCA_TEZ_USER_CONFIG_FILE_TYPE ||
        !object.GetField(kProductTypeField, &productType) ||
        productType != m_Connection->ServerProductType()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "The specified configuration file is invalid.");
        return;
    }
    if (!object.IsFieldExists(kPasswordField) && !AskImportedPassword(&object)) {
        return;
    }
    if (!m_ServerUserConfig.Deserialize(&m_ServerConfig, &object, kAllSections)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "The specified configuration file is invalid.");
        return;
    }
    if (!m_Session->Command(
            [](SCA_KorvantaInterface& client) { return client.StopAllMonitors(); })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot save server configuration file");
        return;
    }
    if (!m_Session->Command([this](SCA_KorvantaInterface& client) {
            return client.SetUserConfig(&m_ServerUserConfig, kAllSections);
        })) {
        ReportNotSaved(m_Session, logMark, "SetUserConfig");
        return;
    }
    RememberServiceLogin(m_ServerUserConfig);
    m_Poll->UpdateStatus(1);
    ShowMessage(this, SCA_LEVEL_INFO, "Server configuration imported.");
}

int SCA_SrvGui::AskImportedPassword(SCA_ConfigObj* object) {
    char user[256] = "";
    if (!object->GetField(kUserNameField, user, sizeof(user))) {
        SCA_StrnCpy(user, m_ServerUserConfig.GetServerUserName(), sizeof(user));
    }
    SCA_EntryDlg dialog(this, QStringLiteral("Restore Server Configuration"),
                        QStringLiteral("The file holds no password for the login user \"%1\".\n"
                                       "Password:")
                            .arg(QString::fromUtf8(user)),
                        "", kPasswordLength);
    dialog.GetEdit()->setEchoMode(QLineEdit::Password);
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return 0;
    }
    // Taken as typed: blanks around a password are part of it.
    return object->AddField(kPasswordField, dialog.GetEdit()->text().toUtf8().constData());
}

void SCA_SrvGui::RememberServiceLogin(SCA_TezConfigUser& serviceConfig) {
    // The service's own login is what the client logs in with only where the service signs
    // with it, which is the mode in effect, not the one stored; with an operating-system or
    // names-only logon the client's saved login is the user's own.
    if (serviceConfig.GetEffectiveLogonMode() == SCA_KORVANTA_LOGIN_SIGNATURE) {
        m_UserConfig.SetConnectUserName(serviceConfig.GetServerUserName());
        m_UserConfig.SetConnectPassword(serviceConfig.GetServerPassword());
    }
}

void SCA_SrvGui::AdvancedOptions() {
    const CommandAnswer answer(this);
    SCA_GuiUpdateLock lock(this);
    SCA_TezConfigUser working(&m_ServerConfig);
    if (!CheckConnected(1) || !m_Connection->LoadServerConfig()) {
        return;
    }
    const uint32_t logMark = m_Poll->LastServerMessageId();
    const uint16_t oldPort = m_ServerUserConfig.GetServerControlPort();
    if (!working.SetContent(&m_ServerUserConfig, kAllSections)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_ClientGui::AdvancedOptions: cannot copy server configuration");
        return;
    }
    if (!SyncClientOptions(&m_UserConfig, &working)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "SCA_ClientGui::AdvancedOptions: cannot sync client configuration");
        return;
    }
    SCA_OptionsDlg dialog(this, &m_ServerConfig, &working, &m_Params, kAllOptionPages);
    dialog.FillDialog();
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return;
    }
    dialog.UpdateConfig();
    if (working.GetServerControlPort() != oldPort &&
        SCA_AskMessageBox(
            this, SCA_LEVEL_INFO, QStringLiteral("Message"),
            QStringLiteral("In order to apply the changed server control port, you need to "
                           "restart the server.Press 'Ok' to save the new control port or press "
                           "'Cancel' to restore the last value."),
            QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
        working.SetServerControlPort(oldPort);
    }
    // The poll may have lost the service while the dialog ran.
    if (!CheckConnected(1)) {
        return;
    }
    if (!m_Session->Command([&working](SCA_KorvantaInterface& client) {
            return client.SetUserConfig(&working, kOptionSections);
        })) {
        ReportNotSaved(m_Session, logMark, "SetUserConfig");
        return;
    }
    RememberServiceLogin(working);
    // The saved port is the one in use: it changes only when the user changed the service's
    // port here and confirmed it (a service may listen elsewhere than its setting says, for
    // one started with another port).
    if (working.GetServerControlPort() != oldPort) {
        m_UserConfig.SetConnectControlPort(working.GetServerControlPort());
    }
    SyncClientOptions(&working, &m_UserConfig);
    ReadTrayOptions();
    uint32_t error = 0;
    if (!m_UserConfig.SaveConfig(&error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot save configuration file (ERR:%u)", error);
        return;
    }
    if (m_ToolBar != nullptr) {
        m_ToolBar->setVisible(m_UserConfig.GetAdvancedOption(SCA_OPTION_SHOW_MAIN_TOOLBAR) != 0);
    }
    if (m_Session->Command([this](SCA_KorvantaInterface& client) {
            return client.GetUserConfig(&m_ServerConfig, &m_ServerUserConfig);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_INFO, "Product configuration saved.");
    } else {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "Cannot load server user configuration");
    }
}
