// SPDX-License-Identifier: MIT
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class SCA_ConfigObj;
class SCA_KorvantaInterface;

// The command line of a detached viewer: what it shows and where it connects. The writer (the
// main window, the live windows, the reports window) builds it as an argument vector and starts
// the program without a shell; the viewer reads it back from its "Params" (ParseMainCommandLine).
//
// The password never travels on the command line, where every local user can read it
// (/proc/PID/cmdline): the writer hands it to the viewer in the environment variable
// KORVANTA_PASSWORD. A "-password" typed by hand is still read, before the environment.
//
// A text value that begins with '-' would name a parameter of its own, so the writer puts a
// '\' before a value that begins with '-' or '\', and the reader takes one leading '\' away.
class SCA_ViewerCommand {
public:
    enum class Kind { Monitor, Report };

    // One viewer's parameters. Counter, process and screen are optional; on the reading side
    // the connection texts hold their defaults when the command line has none.
    struct Target {
        Kind ViewerKind = Kind::Monitor;
        uint32_t ObjectId = 0;
        std::optional<uint32_t> CounterId;
        std::optional<uint32_t> ProcessId;
        std::optional<uint32_t> Screen;
        std::string ConfName;
        std::string Host;
        uint16_t Port = 0;
        std::string User;
        // Only ever read (from "-password" or the environment), never written.
        std::optional<std::string> Password;

        bool operator==(const Target&) const = default;
    };

    // Starts the viewer program with its arguments and environment; false (with the reason in
    // *error) when it could not be started. Tests replace it (SetLauncher).
    using Launcher = std::function<bool(const QString& program, const QStringList& arguments,
                                        const QProcessEnvironment& environment, uint32_t* error)>;

    static constexpr const char* kPasswordVariable = "KORVANTA_PASSWORD";
    // What the viewer reads when the command line leaves a text out.
    static constexpr const char* kDefaultConfName = "korva";
    static constexpr const char* kDefaultUser = "qelma";
    // The longest configuration name, host, user name or password a viewer takes.
    static constexpr size_t kMaxText = 255;

    // The screen of a viewer that the windowing system places.
    static constexpr uint32_t kNoScreen = 0xFFFFFFFFu;

    // The parameters of the viewer kinds.
    static constexpr const char* kMonitorParam = "vdm";
    static constexpr const char* kReportParam = "vdr";

    // The arguments (after the program) that show target. No password, whatever target holds.
    static QStringList Arguments(const Target& target);

    // The viewer's parameters from its "Params", with the defaults for what is missing, empty or
    // not a number: port 0 counts as missing and gives defaultPort; the password comes from
    // "-password", else from passwordVariable (the environment's value, null when unset), else
    // stays unset. The kind is a monitor viewer when "vdm" is present.
    static Target Read(SCA_ConfigObj* params, uint16_t defaultPort, const char* passwordVariable);
    // A number parameter: 1 when present and wholly an unsigned 32-bit decimal.
    static int ReadNumber(SCA_ConfigObj* params, const char* name, uint32_t* value);
    // A text parameter with its escape undone: 1 when present and not empty.
    static int ReadText(SCA_ConfigObj* params, const char* name, std::string* value);

    // The connection part of a target from the client object of the writer's connection.
    static Target ForClient(Kind kind, uint32_t objectId, const char* confName,
                            const SCA_KorvantaInterface* client);

    // This program's path, which viewers are started from; empty when it cannot be found, then
    // reported at level 5 as "<caller>: cannot get the module file name (ERR:%u)".
    static QString Program(const char* caller);
    // Starts the viewer of target with password in its environment, without waiting for it. A
    // failure is reported at level 5 as "<caller>: cannot get the module file name (ERR:%u)" or
    // "<caller>: cannot execute monitor command (ERR:%u)". 1 when started.
    static int Start(const Target& target, const char* password, const char* caller,
                     const Launcher& launcher = Launcher());

    // What a monitor viewer shows: the whole monitor, one counter of it or one process.
    struct MonitorView {
        uint32_t MonitorId = 0;
        std::optional<uint32_t> CounterId;
        std::optional<uint32_t> ProcessId;
    };
    // Starts the viewer of view over client's connection (its password in the environment) on
    // screen (kNoScreen: where the windowing system puts it); failures are reported as Start
    // reports them. 0 when there is no client or the viewer could not be started.
    static int StartMonitorViewer(const MonitorView& view, uint32_t screen, const char* confName,
                                  const SCA_KorvantaInterface* client, const char* caller);

    // The environment a viewer starts with: this process's, with the password.
    static QProcessEnvironment Environment(const char* password);
    // The launcher windows use: QProcess::startDetached with the argument vector, never a shell.
    // pid (may be null) receives the viewer's process id.
    static bool StartDetached(const QString& program, const QStringList& arguments,
                              const QProcessEnvironment& environment, uint32_t* error,
                              qint64* pid = nullptr);
    // Replaces the launcher of Start for the whole process (null restores StartDetached).
    static void SetLauncher(Launcher launcher);

    // The escape of text values, and its undoing.
    static QString EscapeValue(const std::string& value);
    static std::string UnescapeValue(const std::string& value);
};
