// SPDX-License-Identifier: MIT
#include "libtez/SCA_KorvantaProtocolDoc.h"

#include <charconv>
#include <cstring>

#include "libmor/SCA_Report.h"
#include "libmor/SCA_Time.h"
#include "libtez/SCA_KorvantaCommands.h"
#include "libtez/SCA_KorvantaInterface.h"
#include "libtez/SCA_KorvantaMonitorRow.h"
#include "libtez/SCA_KorvantaServerStatus.h"
#include "libtez/SCA_TezProcessStatusText.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_ExeModule.h"
#include "model/SCA_ExeModuleList.h"
#include "model/SCA_PerfMonCounter.h"
#include "model/SCA_SoundAction.h"
#include "model/SCA_SoundActions.h"
#include "model/SCA_SrvMonitor.h"
#include "model/SCA_TezActionType.h"
#include "model/SCA_TezCond.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounter.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezCounterStatus.h"
#include "model/SCA_TezError.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcess.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezProcessLogItem.h"
#include "model/SCA_TezProcessRule.h"
#include "model/SCA_TezProcessRules.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezProfile.h"
#include "model/SCA_TezRepStatus.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportInfo.h"
#include "model/SCA_TezTaskStatus.h"
#include "net/SCA_NetLoginThrottle.h"

namespace {

// Worked out apart from this code (SHA-256 and AES-256-GCM of a general-purpose library over
// the byte form as this reference describes it); the tests check that this code agrees.
constexpr SCA_KorvantaProtocolDoc::LoginExample kExample = {
    "17300000000000000",
    "17300000123450000",
    "17300000100000000",
    "17300000123460000",
    "client-host",
    "admin",
    "s3cret",
    "02e8ac782f6ba8a40f1ae800c504da6204d2338962010d6d79c7adbae662ee49",
    "32014c6f67696e44617461013101486f73744e616d6501636c69656e742d686f7374013101557365724e616d65"
    "0161646d696e013101417574685369670130326538616337383266366261386134306631616538303063353034"
    "646136323034643233333839363230313064366437396337616462616536363265653439013001",
    "000102030405060708090a0b",
    "173ebc01ea59f8f3e586bbd96be395ba6998738d57c2dd7d440a048749ee343f320d52b465e1a415c6e764011a"
    "2f8fcbef65a51123dd2e979c6ba58bd3fd42c4eb332e3bc65adbb123132cb0a22912300c1cb18a6cba98f45bba"
    "2f5e671519d205f6c7200abfb2ebe95f061e4c9fa6e32819b1473484cb4ec97d70d945aadf3e6d",
    "7f8237ef9d17caa54af96c0dc1d86df0",
};

constexpr uint32_t kMsPerSecond = 1000;

std::string Number(uint64_t value) {
    return std::to_string(value);
}

bool IsDecimal(const char* text) {
    uint64_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [stop, error] = std::from_chars(text, end, value);
    return error == std::errc() && stop == end && stop != text;
}

// The shape of what a serialiser wrote: one line per value field, a nested list per object.
// Children named by decimal ids are one item of a list, shown once as "<id>".
void Shape(SCA_ConfigObj* object, const std::string& indent, std::string* out) {
    bool listShown = false;
    for (SCA_Field* field = object->GetHead(); field != nullptr; field = field->GetNext()) {
        const bool listItem = IsDecimal(field->GetName());
        if (listItem && listShown) {
            continue;
        }
        const std::string name = listItem ? std::string("`<id>` (one per item, named by its id)")
                                          : std::string("`") + field->GetName() + "`";
        if (field->IsObject()) {
            *out += indent + "- " + name + ": object\n";
            Shape(static_cast<SCA_ConfigObj*>(field), indent + "  ", out);
        } else {
            *out += indent + "- " + name + ": " +
                    (IsDecimal(field->GetValue()) ? "number" : "text") + "\n";
        }
        listShown = listShown || listItem;
    }
}

template <typename Write>
std::string ShapeOf(Write write) {
    SCA_ConfigObj object("Sample", nullptr);
    write(&object);
    std::string text;
    Shape(&object, "", &text);
    return text;
}

std::string SamplesText() {
    return "One value field per sample, in the order the samples were taken: the field's name "
           "is the sample's absolute time in decimal, its value the sample's value in its "
           "shortest exact decimal form (C locale), or \"-\" for a gap (the counter had no "
           "value then). No two samples the service keeps of a counter share a time (one taken "
           "at a time a kept one has is stamped 100 ns later), so the time a request gives "
           "names the last sample its client holds, and the reply holds the newest of those "
           "taken after that one, whatever the wall clock did meanwhile; for 0, or a time no "
           "kept sample has, the newest of those later than that time, or the newest when it "
           "is later than every kept sample.\n";
}

std::string CounterStatusList() {
    return "One value field per counter, in the monitor's order: the field's name is the "
           "counter id in decimal, its value the counter's status text (see Counter status "
           "text).\n";
}

const char* KindOf(const char* kind) {
    if (std::strcmp(kind, "Switch") == 0) {
        return "0 or 1";
    }
    if (std::strcmp(kind, "Number") == 0) {
        return "u32";
    }
    if (std::strcmp(kind, "Port") == 0) {
        return "u16";
    }
    if (std::strcmp(kind, "Time") == 0) {
        return "u64";
    }
    return "text";
}

std::string ProductConfigText() {
    std::string text = "The product configuration: value fields \"FileType\" and \"ProductType\", "
                       "then one value field per setting.\n\n| field | kind |\n|---|---|\n";
#define SCA_DOC_PRODUCT_ROW(Name, Kind)                                                            \
    text += std::string("| " #Name " | ") + KindOf(#Kind) + " |\n";
    SCA_TEZ_PRODUCT_SETTINGS(SCA_DOC_PRODUCT_ROW)
#undef SCA_DOC_PRODUCT_ROW
    return text;
}

std::string UserConfigText() {
    std::string text =
        "The user configuration: value fields \"FileType\" and \"ProductType\", one value field "
        "per setting, then one object per list. The section is the bit of SetUserConfig's mask "
        "that takes the setting over (all ones takes everything).\n\n"
        "| field | kind | section |\n|---|---|---|\n";
#define SCA_DOC_USER_ROW(Name, Kind, Section)                                                      \
    text += std::string("| " #Name " | ") + KindOf(#Kind) + " | " + Number(Section) + " |\n";
    SCA_TEZ_USER_CONFIG_SETTINGS(SCA_DOC_USER_ROW)
#undef SCA_DOC_USER_ROW
    SCA_TezConfig product(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_TezConfigUser user(&product);
    SCA_ConfigObj object("UserConfig", nullptr);
    user.Serialize(&object);
    text += "\nThe lists, each an object:";
    const char* separator = " ";
    for (SCA_Field* field = object.GetHead(); field != nullptr; field = field->GetNext()) {
        if (field->IsObject()) {
            text += std::string(separator) + "\"" + field->GetName() + "\"";
            separator = ", ";
        }
    }
    text += ".\n";
    return text;
}

// A counter's information with one condition, so that the shape shows a condition's fields.
void AddSampleCondition(SCA_TezCounterInfo* info) {
    auto* cond = new SCA_TezCond();
    uint32_t id = 0;
    if (!info->GetCondList()->AddCond(cond, &id)) {
        delete cond;
    }
}

// A report with one counter (with a condition) and one error, its summary written.
void WriteSampleReport(SCA_ConfigObj* object) {
    SCA_TezReport report;
    auto* counter = new SCA_TezCounter();
    AddSampleCondition(counter->GetCounterInfo());
    if (!report.AddCounter(counter)) {
        delete counter;
    }
    auto* error = new SCA_TezError();
    if (!report.GetErrorList()->AddError(error)) {
        delete error;
    }
    report.UpdateSummary();
    report.UpdateStatistics();
    report.Serialize(object);
}

// What one object output holds: a text, or nothing when it has no description.
std::string Describe(const std::string& op, const std::string& field) {
    const std::string key = op + "." + field;
    if (key == "GetDebugLog.DebugLog") {
        return "One object per message, oldest first, named by the message id:\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_DebugLog log(1);
                   tagSCA_ERROR_DESCR message{};
                   message.Level = SCA_LEVEL_INFO;
                   log.AddMessage(&message, 1);
                   log.Serialize(SCA_ALL_ONES, SCA_ALL_ONES, SCA_ALL_ONES, object);
               }) +
               "\n\"Level\" is on the log levels below, \"AbsTime\" an absolute time.\n";
    }
    if (key == "LoginEx2.LoginResults") {
        return "Encrypted under the reply key (see Login); once deciphered it holds the u32 "
               "\"LoginStatus\", 1 when the login was accepted.\n";
    }
    if (key == "GetStatusObj.ServerStatus") {
        return "Value fields \"Status\" (\"Ok\"), \"Version\" and \"HostName\" of the service.\n";
    }
    if (key == "GetStatusEx.ServerStatus") {
        return "What a client polls every second. Every field is a decimal number; a field that "
               "is missing reads as 0.\n\n" +
               SCA_KorvantaServerStatus::Schema();
    }
    if (key == "GetStatusEx.MonitorsStatus") {
        return "One value field per monitor, in the service's order: the field's name is the "
               "monitor id in decimal, its value five numbers, a host word and the "
               "description, separated by blanks:\n\n" +
               SCA_KorvantaMonitorRow::Schema() +
               "\nExample: `9 11 12 0 0 - Local processor load` is a running monitor of the "
               "service's own computer with 12 counters.\n";
    }
    if (key == "GetProductConfig.Config") {
        return ProductConfigText();
    }
    if (key == "GetUserConfig.Config") {
        return UserConfigText();
    }
    if (key == "GetProcessMonitorRules.Rules") {
        return "The process monitors' rules, one object per rule, named by its id:\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_TezProcessRules rules;
                   auto* rule = new SCA_TezProcessRule();
                   uint32_t id = 0;
                   if (!rules.AddRule(rule, &id)) {
                       delete rule;
                   }
                   rules.Serialize(object);
               });
    }
    if (key == "GetSmtpServerSetup.Config") {
        return "The mail settings for people to read: value fields \"E-Mail Notifications\", "
               "\"Source E-Mail Address\", \"SMTP Server\", \"SMTP Server Port\", \"SMTP Server "
               "Login\", \"SMTP User Name\", \"SMTP Password\" (always empty), \"SMTP Secure "
               "Connect\" and \"SMTP Connect Mode\"; yes/no settings read \"Yes\" or \"No\".\n";
    }
    if (key == "GetProfileInfoList.ProfilesInfoList") {
        return "One value field per profile: the field's name is the profile name, its value "
               "the profile id.\n";
    }
    if (key == "GetProfiles.Profiles") {
        return "One object per profile, named by its id, each as GetProfile's \"Profile\".\n";
    }
    if (key == "GetProfile.Profile" || key == "GetMonitorProfile.Profile") {
        return "A profile: its counters are the objects of its counter list.\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_TezProfile profile;
                   uint32_t id = 0;
                   profile.GetCounterList()->AddCounter(1, "", "", "", &id);
                   profile.Serialize(object);
               });
    }
    if (field == "List") {
        return "One value field per item found (processors, disks, interfaces, ...): the field's "
               "name is the item's name, its value the item's position. \"Status\" says whether "
               "the list could be read.\n";
    }
    if (key == "PerfMonitorGetCounters.CounterList") {
        return "The counters a running monitor's collector has open, one object each, named by "
               "its id, with \"Type\", \"Name\", \"Instance\", \"Valid\" and \"Value\". With "
               "the monitor id all ones: the service computer's own counters, every type it has "
               "a source for over all instances (\"\"), process counters aside, sampled at the "
               "request (a rate has its value from the second request on).\n";
    }
    if (key == "GetMonitorInfoList.MonitorInfoList") {
        return "One object per monitor, named by its id in decimal, with \"MonitorId\", "
               "\"Description\", \"ComputerName\" and \"RemoteMonitor\".\n";
    }
    if (key == "GetMonitors.MonitorList") {
        return "One object per monitor, named by its id, each as GetMonitorObj's \"Monitor\".\n";
    }
    if (key == "GetMonitorObj.Monitor") {
        return "A monitor: its settings, and its profile as an object.\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_TezConfig product(SCA_PRODUCT_TYPE_KORVANTA);
                   SCA_TezConfigUser user(&product);
                   SCA_SrvMonitor(&product, &user).Serialize(object);
               });
    }
    if (field == "CountersStatus") {
        return CounterStatusList();
    }
    if (key == "GetCounterData.CounterData") {
        return "Always an empty object: once logged in the operation succeeds without filling "
               "it, and no client asks for it. A counter's samples come with "
               "GetCounterStatusEx or GetMonitorStatusEx.\n";
    }
    if (field == "CounterData") {
        return SamplesText();
    }
    if (key == "GetMonitorReport.Report" || key == "GetReportObj.Report") {
        return "A report: its header fields (as in the report index); \"Summary\", the counts "
               "of the run (counters in error and in warning, error records, values kept, the "
               "first and last sample time) with \"Statistics\", one object per counter with "
               "its minimum, maximum, average and last value once it has values; "
               "\"Counters\", one object per counter with its information, conditions (see "
               "Conditions) and samples; and \"Errors\", one object per error as "
               "GetMonitorErrors' items.\n\n" +
               ShapeOf(WriteSampleReport);
    }
    if (key == "GetMonitorErrors.Errors") {
        return "One object per error, named by its id:\n\n" + ShapeOf([](SCA_ConfigObj* object) {
                   SCA_TezErrorList errors;
                   auto* error = new SCA_TezError();
                   if (!errors.AddError(error)) {
                       delete error;
                   }
                   errors.Serialize(object);
               });
    }
    if (key == "GetCounterInfo.CounterInfo") {
        return "A counter's settings and its conditions (see Conditions):\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_TezCounterInfo info;
                   AddSampleCondition(&info);
                   info.Serialize(object);
               });
    }
    if (key == "GetSoundActions.Actions") {
        return "The notification sounds queued after \"Since\", one object each, named by its "
               "id:\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_SoundActions actions;
                   auto* action = new SCA_SoundAction();
                   action->SetActionId(1);
                   action->SetActionTime(1);
                   if (!actions.AddAction(action)) {
                       delete action;
                   }
                   actions.Serialize(0, object);
               });
    }
    if (field == "ProcessLog") {
        return "The process starts and ends seen, one object each, named by its id:\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_TezProcessLog log;
                   auto* item = new SCA_TezProcessLogItem();
                   if (!log.AddItem(item)) {
                       delete item;
                   }
                   log.Serialize(SCA_ALL_ONES, object);
               }) +
               "\n\"OpCode\" is 0 for a start and 1 for an end.\n";
    }
    if (key == "GetMonitorProcessList.ProcessList") {
        return "One object per process name, each as GetMonitorProcess's \"Process\".\n";
    }
    if (field == "ProcessListStatus") {
        return "One value field per process name: the field's name is the process name, its "
               "value the process status text (see Process status text).\n";
    }
    if (key == "GetMonitorProcessCounterList.CounterList") {
        return "The counters of one process, one object each, named by its id.\n";
    }
    if (key == "GetMonitorProcess.Process") {
        return ShapeOf([](SCA_ConfigObj* object) { SCA_TezProcess().Serialize(object, 0); });
    }
    if (key == "GetMonitorProcessModules.Modules") {
        return "The modules (shared objects) a process has mapped, one object each:\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_ExeModuleList modules(0);
                   auto* module = new SCA_ExeModule();
                   if (!modules.AddModule(module)) {
                       delete module;
                   }
                   modules.Serialize(object);
               });
    }
    if (field == "ExcludeList") {
        return "The process names a process monitor leaves out: one value field per name.\n";
    }
    if (key == "GetReportIndexObj.ReportIndex") {
        return "One object per kept report, named by the report id:\n\n" +
               ShapeOf([](SCA_ConfigObj* object) {
                   SCA_TezReportInfo info;
                   SCA_ConfigObj* item = object->AddConfigObj("1");
                   info.Serialize(item);
               });
    }
    if (key == "GetSelfTestLog.Log") {
        return "The self-test's log: one object per message as GetDebugLog's.\n";
    }
    return std::string();
}

struct Entry {
    uint32_t Value;
    const char* Meaning;
};

std::string EntryRows(std::initializer_list<Entry> rows) {
    std::string text = "| value | meaning |\n|---|---|\n";
    for (const Entry& row : rows) {
        text += "| " + Number(row.Value) + " | " + row.Meaning + " |\n";
    }
    return text;
}

std::string EntryTable(const char* title, const char* about, std::initializer_list<Entry> rows) {
    return std::string("### ") + title + "\n\n" + about + "\n\n" + EntryRows(rows) + "\n";
}

// How a client writes a counter's conditions (and a profile's rules, which add their own
// fields to the same ones): the numbers come from the tables the evaluation uses.
std::string ConditionsText() {
    std::string text =
        "\n### Conditions\n\n"
        "\"Conditions\" of a counter holds \"NextId\" and one object per condition, named by "
        "its id (\"CondId\"). A client writes a counter's conditions by sending its information "
        "back with SetCounterInfo (GetCounterInfo gives it): the conditions in it replace the "
        "counter's, with the ids and the NextId it carries (a new condition takes NextId, and "
        "NextId rises past it); a running monitor takes them at once. A report action's folder "
        "must lie below the service's reports folder, or the change is refused. On each sample "
        "the service checks every enabled "
        "condition (\"Enabled\" 1): \"CondType\" says what it compares with \"CondValue\" "
        "(a decimal number), \"CondMode\" when a condition that holds acts. When it acts, it "
        "adds an error record with \"RepStatus\" and, with \"ExecuteAction\" 1, queues its "
        "action (\"ActionType\", \"ActionValue\"); \"ActionCount\" and "
        "\"LastActionTime\" are the service's bookkeeping. A counter's status is the highest "
        "\"RepStatus\" among the conditions that hold.\n\n"
        "\"CondType\" is subject \u00d7 4 + comparison:\n\n| value | meaning |\n|---|---|\n";
    for (uint32_t type = 0; type < SCA_COND_TYPES; ++type) {
        text += "| " + Number(type) + " | " + SCA_TezGetCondTypeDescr(type) + " |\n";
    }
    text += "\n\"CondMode\":\n\n" +
            EntryRows({{SCA_COND_MODE_EVERY_TIME, "every sample on which it holds"},
                       {SCA_COND_MODE_ONCE, "once a run: the first sample on which it holds"}}) +
            "| N \u2265 " + Number(SCA_COND_MODE_STREAK) +
            " | when it has held for N samples in a row, once per streak |\n"
            "\n\"ActionType\" and what \"ActionValue\" then holds:\n\n" +
            EntryRows({{SCA_ACTION_NONE, "nothing"},
                       {SCA_ACTION_PLAY_SOUND, "play a sound: the name of a sound of the user's "
                                               "sound list (GetSoundActions shows it)"},
                       {SCA_ACTION_SEND_MAIL, "send an e-mail: the address"},
                       {SCA_ACTION_SAVE_REPORT, "save the monitor's report in the own format: "
                                                "the folder, or empty for the reports folder"}}) +
            "| " + Number(SCA_ACTION_REPORT_FIRST) + "-" + Number(SCA_ACTION_REPORT_LAST) +
            " | save the monitor's report as HTML, text, CSV, XML, PDF, Excel or JSON: the "
            "folder, or empty |\n"
            "\n\"RepStatus\" is on the statuses under Numbers.\n";
    return text;
}

} // namespace

const SCA_KorvantaProtocolDoc::LoginExample& SCA_KorvantaProtocolDoc::Example() {
    return kExample;
}

std::string SCA_KorvantaProtocolDoc::Login() {
    const LoginExample& e = kExample;
    return std::string(
               "## Login\n\n"
               "A connection logs in once with LoginEx2, before any operation whose login is "
               "required. The service announces its login mode in the greeting "
               "(\"ServerLoginMode\"); the mode in effect is its configured \"ServerLogonMode\" "
               "while \"EnableOsLogon\" is 1, and the signature (2) otherwise.\n\n"
               "| mode | the client sends | the service checks |\n|---|---|---|\n"
               "| 0 | nothing more | nothing: any user name is accepted |\n"
               "| 1 | \"Password\" | the operating system's password of the user (PAM) |\n"
               "| 2 | \"AuthSig\" | the signature of its own \"ServerUserName\" and "
               "\"ServerPassword\" |\n\n"
               "\"LoginData\" is an object with \"HostName\" (the client's computer) and "
               "\"UserName\", then the mode's field. The signature is the lowercase hex SHA-256 "
               "of the text `<user>_<server start><server connect>_<password>`, the times in "
               "decimal, so a recorded signature opens no other connection.\n\n"
               "The object travels encrypted. Its key text is the four times of the greeting in "
               "decimal, written one after the other: client start, client connect, server "
               "start, server connect. The key is the SHA-256 of the key text (32 bytes); the "
               "cipher AES-256-GCM with a random 12-byte nonce, no additional data and a 16-byte "
               "tag. What is enciphered is the object's whole byte form, its own name included. "
               "The object keeps its name; its children become the value fields \"Nonce\" (hex), "
               "\"Cipher0\", \"Cipher1\", ... (the ciphertext in hex, in pieces of at most ") +
           Number(SCA_FIELD_MAX_VALUE) +
           " hex digits) and \"Tag\" (hex). The reply's \"LoginResults\" comes back the same way "
           "under the reply key, whose text has the server's times first (server start, server "
           "connect, client start, client connect).\n\n"
           "A worked example in mode 2 (times in 100-ns units since 1970):\n\n"
           "| | |\n|---|---|\n"
           "| server start, server connect | " +
           e.ServerStart + ", " + e.ServerConnect +
           " |\n"
           "| client start, client connect | " +
           e.ClientStart + ", " + e.ClientConnect +
           " |\n"
           "| host, user, password | " +
           e.HostName + ", " + e.User + ", " + e.Password +
           " |\n"
           "| signature text | `" +
           e.User + "_" + e.ServerStart + e.ServerConnect + "_" + e.Password +
           "` |\n"
           "| \"AuthSig\" | " +
           e.Signature +
           " |\n"
           "| key text | " +
           e.ClientStart + e.ClientConnect + e.ServerStart + e.ServerConnect +
           " |\n"
           "| byte form of \"LoginData\" (hex) | " +
           e.PlainHex +
           " |\n"
           "| \"Nonce\" | " +
           e.Nonce +
           " |\n"
           "| \"Cipher0\" | " +
           e.Cipher +
           " |\n"
           "| \"Tag\" | " +
           e.Tag + " |\n\n";
}

std::string SCA_KorvantaProtocolDoc::Session(const SessionLimits& limits) {
    return "## Session\n\n"
           "- One request at a time: a client sends a request and waits for its reply before it "
           "sends the next. A reply that comes after the client gave up waiting carries an "
           "older sequence number and is dropped.\n"
           "- \"ERR\" says that the service did not carry the operation out: the connection has "
           "not logged in, an id names nothing, an argument is unusable, or the work itself "
           "failed. An \"ERR\" reply carries no outputs; the service's log (GetDebugLog) tells "
           "why. The connection stays usable.\n"
           "- A connection that fails (a send, a wait, a reply that does not come in time) is "
           "gone: connect and log in again. The service's own client waits at most 1.5 s for "
           "the replies of its polls and 5 s for those of commands, and " +
           Number(SCA_KorvantaInterface::kLoginReplyTimeoutMs / kMsPerSecond) +
           " s for that of a login, which a service may hold (see the login above).\n"
           "- A service takes at most " +
           Number(limits.Connections) + " connections (the advanced option \"" +
           limits.ConnectionsOption +
           "\" changes that). A connection that has not logged in is a stranger: strangers "
           "hold at most a " +
           Number(limits.StrangerShare) + "th of the connections and " +
           Number(limits.StrangersPerAddress) +
           " from one address (each loopback address is one as any other: a flood from one "
           "never takes the places of this computer's other clients), a stranger's frame "
           "carries at most " +
           Number(limits.StrangerMaxPayload) + " bytes, and a stranger that sends nothing for " +
           Number(limits.StrangerIdleMs / kMsPerSecond) +
           " s is closed. A new stranger past a stranger limit, or past the cap, takes the "
           "place of the stranger that has waited longest, of its own address when that "
           "address is at its limit, else of the address with the most strangers; one that "
           "has not answered the greeting gives way before one that has, and one whose request "
           "has arrived (a login held for its turn too) keeps its place. A new connection is "
           "refused only when logged-in clients fill the cap or every stranger of its address "
           "has a request under way. So a crowd of clients that log in at once from one "
           "address, or a flood that shares the address of a client, may take that client's "
           "place before it has logged in; clients of other addresses keep theirs. With " +
           Number(limits.StrangersPerAddress) + " strangers an address gets at most " +
           Number(SCA_NetLoginThrottle::MostChecksPerMinute(limits.StrangersPerAddress)) +
           " failed logins checked in any minute.\n"
           "- Operations that change the service or reveal a secret need the login; the status "
           "and information queries and the login itself do not.\n"
           "- Times are absolute times: 100-ns units since 1970-01-01 00:00 UTC (" +
           Number(SCA_ABS_TIME_SECOND) +
           " per second).\n"
           "- A client keeps up with a service by polling GetStatusEx every second, and asks for "
           "the rest only when its fields say so: the monitors again when "
           "\"MonitorsStatusId\" changed, the log when \"LastDebugMessageId\" did, the sounds "
           "when \"LastSoundActionTime\" rose.\n\n";
}

std::string SCA_KorvantaProtocolDoc::Replies() {
    std::string text = "## Reply objects\n\n"
                       "What every object output holds. Numbers are decimal text in the C "
                       "locale; a list is an object with one child per item, usually named by "
                       "the item's id.\n";
    for (uint32_t index = 0; index < SCA_KorvantaCommands::Count(); ++index) {
        const tagSCA_NET_COMMAND_SHAPE& command = SCA_KorvantaCommands::Shape(index);
        for (uint32_t i = 0; i < command.FieldCount; ++i) {
            const tagSCA_NET_FIELD& field = command.Fields[i];
            if (!field.Out || field.Kind != SCA_NetKind::Object) {
                continue;
            }
            const std::string about = Describe(command.Name, field.Name);
            text += std::string("\n### ") + command.Name + ": " + field.Name + "\n\n" +
                    (about.empty() ? std::string("(not described)\n") : about);
        }
    }
    text += "\n### Counter status text\n\n"
            "Seven tokens separated by single blanks:\n\n" +
            SCA_TezCounterStatusSchema() +
            "\n### Process status text\n\n"
            "Ten tokens separated by blanks; a measure that is not available is \"-\":\n\n" +
            SCA_TezProcessStatusSchema() + ConditionsText();
    return text + "\n";
}

std::string SCA_KorvantaProtocolDoc::Enumerations() {
    std::string text =
        "## Numbers\n\n" +
        EntryTable("Monitor types", "\"Type\" of a monitor.",
                   {{SCA_SRV_MONITOR_COUNTERS, "counter monitor"},
                    {SCA_SRV_MONITOR_PROCESS, "process monitor"}}) +
        "A monitor's mode (\"MonitorMode\") is the kind the client chose when it added the "
        "monitor; the service keeps it and does not act on it.\n\n" +
        EntryTable("Run states",
                   "The run state of a monitor's task (\"RunState\", "
                   "\"ProcessStatus\").",
                   {{SCA_PROCESS_FAILED, "failed"},
                    {SCA_PROCESS_STOPPED, "stopped"},
                    {SCA_PROCESS_IDLE, "idle (never started)"},
                    {SCA_PROCESS_RUNNING, "running"},
                    {SCA_PROCESS_PAUSED, "paused"},
                    {SCA_PROCESS_PENDING, "pending"},
                    {SCA_PROCESS_ENDED, "ended"}}) +
        EntryTable("Monitor statuses",
                   "The status of a monitor (\"Status\", the first token of "
                   "a monitor row), the first that applies.",
                   {{SCA_TASK_STATUS_PAUSED, "paused"},
                    {SCA_TASK_STATUS_ERROR, "a counter in error, or the start failed"},
                    {SCA_TASK_STATUS_WARNING, "a counter in warning"},
                    {SCA_TASK_STATUS_RUNNING, "running"},
                    {SCA_TASK_STATUS_STOPPED, "stopped"},
                    {SCA_TASK_STATUS_IDLE, "idle"}}) +
        EntryTable("Statuses", "The status of a counter or a process.",
                   {{SCA_REP_STATUS_MESSAGE, "information"},
                    {SCA_REP_STATUS_WARNING, "warning"},
                    {SCA_REP_STATUS_ERROR, "error"}}) +
        EntryTable("Log levels", "\"Level\" of a log message.",
                   {{SCA_LEVEL_CONFIG, "debug"},
                    {SCA_LEVEL_INFO, "information"},
                    {SCA_LEVEL_WARNING, "warning"},
                    {SCA_LEVEL_ERROR, "error"}}) +
        "### Counter types\n\n"
        "A counter's type (\"CounterType\") is an id of the counter-type vocabulary:\n\n"
        "| id | name | description |\n|---|---|---|\n";
    constexpr uint32_t kLastType = 1000;
    for (uint32_t type = 1; type <= kLastType; ++type) {
        const char* name = SCA_PerfMonCounter::GetTypeName(type);
        if (std::strcmp(name, "INV") != 0) {
            text += "| " + Number(type) + " | " + name + " | " +
                    SCA_PerfMonCounter::GetTypeDescription(type) + " |\n";
        }
    }
    return text + "\n";
}
