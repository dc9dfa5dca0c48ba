// SPDX-License-Identifier: MIT
#include "korvac/kit/SCA_ViewerCommand.h"

#include <QCoreApplication>
#include <QProcess>
#include <cerrno>

#include "libmor/SCA_Report.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_Field.h"

namespace {

constexpr char kEscape = '\\';

constexpr const char* kCounterParam = "counter";
constexpr const char* kPidParam = "pid";
constexpr const char* kConfNameParam = "conf_name";
constexpr const char* kHostParam = "host";
constexpr const char* kPortParam = "port";
constexpr const char* kUserParam = "user";
constexpr const char* kPasswordParam = "password";
constexpr const char* kScreenParam = "screen";

SCA_ViewerCommand::Launcher& ProcessLauncher() {
    static SCA_ViewerCommand::Launcher launcher;
    return launcher;
}

QString Option(const char* name) {
    return QLatin1Char('-') + QLatin1String(name);
}

std::optional<uint32_t> OptionalNumber(SCA_ConfigObj* params, const char* name) {
    uint32_t value = 0;
    if (SCA_ViewerCommand::ReadNumber(params, name, &value)) {
        return value;
    }
    return std::nullopt;
}

std::string TextOr(SCA_ConfigObj* params, const char* name, const char* fallback) {
    std::string value;
    return SCA_ViewerCommand::ReadText(params, name, &value) ? value : std::string(fallback);
}

} // namespace

QString SCA_ViewerCommand::EscapeValue(const std::string& value) {
    const QString text = QString::fromStdString(value);
    if (!value.empty() && (value.front() == '-' || value.front() == kEscape)) {
        return QLatin1Char(kEscape) + text;
    }
    return text;
}

std::string SCA_ViewerCommand::UnescapeValue(const std::string& value) {
    return !value.empty() && value.front() == kEscape ? value.substr(1) : value;
}

QStringList SCA_ViewerCommand::Arguments(const Target& target) {
    QStringList arguments;
    arguments << Option(target.ViewerKind == Kind::Monitor ? kMonitorParam : kReportParam)
              << QString::number(target.ObjectId);
    if (target.CounterId) {
        arguments << Option(kCounterParam) << QString::number(*target.CounterId);
    }
    if (target.ProcessId) {
        arguments << Option(kPidParam) << QString::number(*target.ProcessId);
    }
    arguments << Option(kConfNameParam) << EscapeValue(target.ConfName) << Option(kHostParam)
              << EscapeValue(target.Host) << Option(kPortParam) << QString::number(target.Port)
              << Option(kUserParam) << EscapeValue(target.User);
    if (target.Screen) {
        arguments << Option(kScreenParam) << QString::number(*target.Screen);
    }
    return arguments;
}

int SCA_ViewerCommand::ReadNumber(SCA_ConfigObj* params, const char* name, uint32_t* value) {
    return params != nullptr && params->GetField(name, value) ? 1 : 0;
}

int SCA_ViewerCommand::ReadText(SCA_ConfigObj* params, const char* name, std::string* value) {
    SCA_Field* field = nullptr;
    if (params == nullptr || !params->GetFieldByName(name, &field) || field == nullptr ||
        field->GetValue()[0] == '\0') {
        return 0;
    }
    *value = UnescapeValue(field->GetValue());
    return 1;
}

SCA_ViewerCommand::Target SCA_ViewerCommand::Read(SCA_ConfigObj* params, uint16_t defaultPort,
                                                  const char* passwordVariable) {
    Target target;
    const bool monitor = params != nullptr && params->IsFieldExists(kMonitorParam);
    target.ViewerKind = monitor ? Kind::Monitor : Kind::Report;
    ReadNumber(params, monitor ? kMonitorParam : kReportParam, &target.ObjectId);
    target.CounterId = OptionalNumber(params, kCounterParam);
    target.ProcessId = OptionalNumber(params, kPidParam);
    target.Screen = OptionalNumber(params, kScreenParam);
    target.ConfName = TextOr(params, kConfNameParam, kDefaultConfName);
    target.Host = TextOr(params, kHostParam, SCA_KorvantaInterface::kLocalHost);
    uint16_t port = 0;
    target.Port =
        params != nullptr && params->GetField(kPortParam, &port) && port != 0 ? port : defaultPort;
    target.User = TextOr(params, kUserParam, kDefaultUser);
    std::string password;
    if (ReadText(params, kPasswordParam, &password)) {
        target.Password = password;
    } else if (passwordVariable != nullptr) {
        target.Password = std::string(passwordVariable);
    }
    return target;
}

SCA_ViewerCommand::Target SCA_ViewerCommand::ForClient(Kind kind, uint32_t objectId,
                                                       const char* confName,
                                                       const SCA_KorvantaInterface* client) {
    Target target;
    target.ViewerKind = kind;
    target.ObjectId = objectId;
    target.ConfName = confName != nullptr ? confName : "";
    if (client != nullptr) {
        target.Host = client->GetName();
        target.Port = client->GetPort();
        target.User = client->GetLoginUser();
    }
    return target;
}

QProcessEnvironment SCA_ViewerCommand::Environment(const char* password) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(kPasswordVariable),
                       QString::fromUtf8(password != nullptr ? password : ""));
    return environment;
}

bool SCA_ViewerCommand::StartDetached(const QString& program, const QStringList& arguments,
                                      const QProcessEnvironment& environment, uint32_t* error,
                                      qint64* pid) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(environment);
    if (process.startDetached(pid)) {
        return true;
    }
    if (error != nullptr) {
        *error = static_cast<uint32_t>(process.error());
    }
    return false;
}

void SCA_ViewerCommand::SetLauncher(Launcher launcher) {
    ProcessLauncher() = std::move(launcher);
}

QString SCA_ViewerCommand::Program(const char* caller) {
    const QString program = QCoreApplication::applicationFilePath();
    if (program.isEmpty()) {
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                  "%s: cannot get the module file name (ERR:%u)",
                                                  caller, static_cast<uint32_t>(ENOENT));
    }
    return program;
}

int SCA_ViewerCommand::Start(const Target& target, const char* password, const char* caller,
                             const Launcher& launcher) {
    const QString program = Program(caller);
    if (program.isEmpty()) {
        return 0;
    }
    Launcher launch = launcher ? launcher : ProcessLauncher();
    if (!launch) {
        launch = [](const QString& path, const QStringList& arguments,
                    const QProcessEnvironment& environment,
                    uint32_t* error) { return StartDetached(path, arguments, environment, error); };
    }
    uint32_t error = 0;
    if (!launch(program, Arguments(target), Environment(password), &error)) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR, "%s: cannot execute monitor command (ERR:%u)", caller, error);
        return 0;
    }
    return 1;
}

int SCA_ViewerCommand::StartMonitorViewer(const MonitorView& view, uint32_t screen,
                                          const char* confName, const SCA_KorvantaInterface* client,
                                          const char* caller) {
    if (client == nullptr) {
        return 0;
    }
    Target target = ForClient(Kind::Monitor, view.MonitorId, confName, client);
    target.CounterId = view.CounterId;
    target.ProcessId = view.ProcessId;
    if (screen != kNoScreen) {
        target.Screen = screen;
    }
    return Start(target, client->GetLoginPassword(), caller);
}
