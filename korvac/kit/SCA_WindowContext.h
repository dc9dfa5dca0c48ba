// SPDX-License-Identifier: MIT
#pragma once

class SCA_ClientSession;
class SCA_ConfigObj;
class SCA_TezConfig;
class SCA_TezConfigUser;
class SCA_WindowHost;

// What every window of a monitor is built from. All of it is the opener's (the main window or
// a detached viewer) and outlives the window.
struct SCA_WindowContext {
    // The service's product and user configuration.
    SCA_TezConfig* ProductConfig = nullptr;
    SCA_TezConfigUser* UserConfig = nullptr;
    // The client's own user configuration: chart colours and the save choices.
    SCA_TezConfigUser* ClientUserConfig = nullptr;
    SCA_ConfigObj* Params = nullptr;
    // The client configuration's name, which a detached viewer started from a window takes.
    const char* ConfigName = "";
    SCA_ClientSession* Session = nullptr;
    // Never null.
    SCA_WindowHost* Host = nullptr;
};
