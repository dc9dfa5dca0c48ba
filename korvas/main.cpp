// SPDX-License-Identifier: MIT
// The entry of korvas: "korvas -console" runs the service in the terminal, anything else runs
// it as the systemd service "Korvanta Server". The command line is checked before either run:
// help, version and refusals (exit status 2) need no configuration.

#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <new>
#include <unistd.h>

#include "korvas/SCA_ConsoleInput.h"
#include "korvas/SCA_KorvantaCtrl.h"
#include "korvas/SCA_SdNotifier.h"
#include "korvas/SCA_ServiceHost.h"
#include "libmor/SCA_Limits.h"
#include "libmor/SCA_ProgramOptions.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"

namespace {

constexpr int kExitOk = SCA_EXIT_OK;
constexpr int kExitFailed = SCA_EXIT_FAILURE;
constexpr const char* kConsoleSwitch = "-console";
// The service's threads mostly wait; an arena per thread (up to eight per core) would keep
// megabytes of freed memory for a few allocations each.
constexpr int kMallocArenas = 2;

constexpr tagSCA_PROGRAM_OPTION kOptions[] = {
    {"console", SCA_OptionValue::None, nullptr, "run in this terminal (Esc or Ctrl+C ends it)"},
    {"conf_name", SCA_OptionValue::Text, "NAME", "the configuration's name (default korva)"},
    {"control_port", SCA_OptionValue::Port, "PORT",
     "listen on PORT instead of the stored port (0: any free port)"},
};

constexpr const char* kSummary =
    "The Korvanta monitoring service. Without -console it runs as a systemd service (signals:\n"
    "TERM stops, USR1 pauses, USR2 continues).";

constexpr const char* kEpilogue =
    "Configuration: $KORVANTA_HOME when set, else /var/lib/korvanta for root and\n"
    "$XDG_DATA_HOME/korvanta (~/.local/share/korvanta) for other users. The first start writes\n"
    "the login user admin's password to initial-password there.\n"
    "\n"
    "Exit status: 0 stopped in order, 1 failed (the port cannot be bound, the configuration\n"
    "cannot be read or saved), 2 bad command line, 101-104 the service could not start.\n";

// Anywhere on the line: the command line was checked, so the word is the option itself.
bool HasConsoleSwitch(int argc, char** argv) {
    for (int index = 1; index < argc; ++index) {
        if (std::strcmp(argv[index], kConsoleSwitch) == 0) {
            return true;
        }
    }
    return false;
}

// The console's last line: whoever started it sees whether the user configuration and the
// monitors were stored without reading the log back.
void SayConsoleStopped(bool stored) {
    if (stored) {
        std::printf("korvas: stopped; the configuration and the monitors are saved\n");
    } else {
        std::fprintf(stderr, "korvas: stopped after an error (see above); changes since the "
                             "start may not be saved\n");
    }
    std::fflush(stdout);
}

} // namespace

int ConsoleErrorCallback(tagSCA_ERROR_DESCR* record, void* context) {
    auto* ctrl = static_cast<SCA_KorvantaCtrl*>(context);
    if (record == nullptr) {
        return 1;
    }
    if (ctrl != nullptr) {
        ctrl->GetDebugLog()->AddMessage(record, SCA_ALL_ONES);
    }
    tagSCA_DATE date{};
    tagSCA_TIME time{};
    char dateText[256] = "";
    char timeText[256] = "";
    if (SCA_ConvertAbsTime(record->AbsTime, &date, &time)) {
        SCA_FormatDateString(&date, 0, "-", dateText, sizeof(dateText));
        SCA_FormatTimeString(&time, timeText, sizeof(timeText));
    }
    // Errors go where errors are looked for; everything else is the console's running log.
    std::FILE* stream = record->Level >= SCA_LEVEL_ERROR ? stderr : stdout;
    std::fprintf(stream, "%s %s %s %s\n", SCA_GetLevelTag(record->Level), dateText, timeText,
                 record->Text);
    std::fflush(stream);
    return 1;
}

int RunConsole(int argc, char** argv) {
    if (argc < 1) {
        std::fprintf(stderr, "Invalid command line\n");
        return 0;
    }
    auto* ctrl = new (std::nothrow) SCA_KorvantaCtrl();
    if (ctrl == nullptr) {
        std::fprintf(stderr, "Cannot create SCA_KorvantaCtrl\n");
        return 0;
    }
    SCA_SetErrorCallback(ConsoleErrorCallback, ctrl);
    SCA_ConsoleInput keys(STDIN_FILENO);
    keys.CatchStopSignals();
    uint32_t code = 0;
    int done = 0;
    if (ctrl->Init(static_cast<uint32_t>(argc), argv, &code)) {
        ctrl->SetConsoleInput(&keys);
        done = ctrl->DoProcess();
    }
    // The callback writes into the control object: it goes first, on every path.
    SCA_SetErrorCallback(nullptr, nullptr);
    ctrl->Destroy();
    return done ? 1 : 0;
}

int main(int argc, char** argv) {
    mallopt(M_ARENA_MAX, kMallocArenas);
    const SCA_ProgramOptions options("korvas", kSummary, kOptions, kEpilogue);
    const SCA_ProgramAction action = options.Check(argc, argv, stdout, stderr);
    if (action != SCA_ProgramAction::Run) {
        return SCA_ProgramOptions::ExitStatus(action);
    }
    if (!SCA_InitSystem(SCA_ALL_ONES)) {
        std::fprintf(stderr, "Unable to initialize SCA platform library.\n");
        return kExitFailed;
    }
    if (HasConsoleSwitch(argc, argv)) {
        const bool stored = RunConsole(argc, argv) == 1;
        SayConsoleStopped(stored);
        return stored ? kExitOk : kExitFailed;
    }
    SCA_SdNotifier notifier;
    SCA_ServiceHost host(&notifier);
    if (!host.RunServiceDispatcher(argc, argv)) {
        return kExitFailed;
    }
    return host.GetExitCode();
}
