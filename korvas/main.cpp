// The entry of korvas: "korvas -console" runs the service in the terminal, anything else runs
// it as the systemd service "Korvanta Server".

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
#include "libmor/SCA_Report.h"
#include "libmor/SCA_System.h"
#include "libmor/SCA_Time.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr const char* kConsoleSwitch = "-console";
// The service's threads mostly wait; an arena per thread (up to eight per core) would keep
// megabytes of freed memory for a few allocations each.
constexpr int kMallocArenas = 2;

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
    std::printf("%s %s %s %s\n", SCA_GetLevelTag(record->Level), dateText, timeText, record->Text);
    std::fflush(stdout);
    return 1;
}

int RunConsole(int argc, char** argv) {
    if (argc < 1) {
        std::printf("Invalid command line\n");
        return 0;
    }
    auto* ctrl = new (std::nothrow) SCA_KorvantaCtrl();
    if (ctrl == nullptr) {
        std::printf("Cannot create SCA_KorvantaCtrl\n");
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
    if (!SCA_InitSystem(SCA_ALL_ONES)) {
        std::printf("Unable to initialize SCA platform library.\n");
        return kExitFailed;
    }
    if (argc >= 2 && std::strcmp(argv[1], kConsoleSwitch) == 0) {
        return RunConsole(argc, argv) == 1 ? kExitOk : kExitFailed;
    }
    SCA_SdNotifier notifier;
    SCA_ServiceHost host(&notifier);
    if (!host.RunServiceDispatcher(argc, argv)) {
        return kExitFailed;
    }
    return host.GetExitCode();
}
