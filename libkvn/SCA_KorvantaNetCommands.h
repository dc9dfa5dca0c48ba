#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <utility>

#include "libkvn/SCA_KorvantaNetVirtual.h"

class SCA_ConfigObj;

// Text fields are read into buffers of this size on both ends: 255 bytes and the zero.
inline constexpr uint32_t SCA_KVN_NET_TEXT_SIZE = 256;
// The most arguments an operation takes (UpdateDeviceStatusEx).
inline constexpr uint32_t SCA_KVN_NET_MAX_FIELDS = 6;
inline constexpr uint32_t SCA_KVN_NET_COMMAND_COUNT = 52;

enum class SCA_KvnNetKind : uint8_t { U32, U64, Text, Object };

// One argument of an operation and the message field that carries it. Inputs are request
// fields and outputs reply fields; each side keeps the order of the arguments.
struct tagSCA_KVN_NET_FIELD {
    const char* Name;
    SCA_KvnNetKind Kind;
    bool Out;
};

// What makes a client's argument unusable before anything is sent.
enum class SCA_KvnNetProblem : uint8_t { None, Missing, TooLong };

// One argument's value while a command is carried: the client fills the inputs from its
// caller, the server from the request; the outputs are filled by the server's agent and from
// the reply.
struct tagSCA_KVN_NET_VALUE {
    uint32_t U32 = 0;
    uint64_t U64 = 0;
    char Text[SCA_KVN_NET_TEXT_SIZE] = "";
    SCA_ConfigObj* Object = nullptr;
    SCA_KvnNetProblem Problem = SCA_KvnNetProblem::None;
};

// Calls a command's operation on an agent with the values of its fields, in argument order.
using SCA_KvnNetInvoker = int (*)(SCA_KorvantaNetVirtual* agent, tagSCA_KVN_NET_VALUE* values);

// One command: its name on the wire (also the operation's), its fields in argument order, and
// the call of its operation.
struct tagSCA_KVN_NET_COMMAND {
    const char* Name;
    uint32_t FieldCount;
    tagSCA_KVN_NET_FIELD Fields[SCA_KVN_NET_MAX_FIELDS];
    SCA_KvnNetInvoker Invoke;
};

namespace sca_kvnnet {

// The seven parameter types of the protocol: the field each one stands for, how the client
// stores its caller's argument (Store) and hands an output back (Load), and what the server
// passes to its agent (Pass).
template <typename T>
struct Param;

template <>
struct Param<uint32_t> {
    static constexpr tagSCA_KVN_NET_FIELD kField{"", SCA_KvnNetKind::U32, false};
    static void Store(uint32_t number, tagSCA_KVN_NET_VALUE* value) { value->U32 = number; }
    static void Load(uint32_t, const tagSCA_KVN_NET_VALUE&) {}
    static uint32_t Pass(tagSCA_KVN_NET_VALUE* value) { return value->U32; }
};

template <>
struct Param<uint64_t> {
    static constexpr tagSCA_KVN_NET_FIELD kField{"", SCA_KvnNetKind::U64, false};
    static void Store(uint64_t number, tagSCA_KVN_NET_VALUE* value) { value->U64 = number; }
    static void Load(uint64_t, const tagSCA_KVN_NET_VALUE&) {}
    static uint64_t Pass(tagSCA_KVN_NET_VALUE* value) { return value->U64; }
};

template <>
struct Param<const char*> {
    static constexpr tagSCA_KVN_NET_FIELD kField{"", SCA_KvnNetKind::Text, false};
    // A text that the other end could not read whole is refused rather than cut.
    static void Store(const char* text, tagSCA_KVN_NET_VALUE* value) {
        const size_t length = text != nullptr ? strnlen(text, SCA_KVN_NET_TEXT_SIZE) : 0;
        if (text == nullptr) {
            value->Problem = SCA_KvnNetProblem::Missing;
        } else if (length >= SCA_KVN_NET_TEXT_SIZE) {
            value->Problem = SCA_KvnNetProblem::TooLong;
        } else {
            std::memcpy(value->Text, text, length + 1);
        }
    }
    static void Load(const char*, const tagSCA_KVN_NET_VALUE&) {}
    static const char* Pass(tagSCA_KVN_NET_VALUE* value) { return value->Text; }
};

template <>
struct Param<SCA_ConfigObj*> {
    static constexpr tagSCA_KVN_NET_FIELD kField{"", SCA_KvnNetKind::Object, false};
    static void Store(SCA_ConfigObj* object, tagSCA_KVN_NET_VALUE* value) {
        value->Object = object;
        if (object == nullptr) {
            value->Problem = SCA_KvnNetProblem::Missing;
        }
    }
    static void Load(SCA_ConfigObj*, const tagSCA_KVN_NET_VALUE&) {}
    static SCA_ConfigObj* Pass(tagSCA_KVN_NET_VALUE* value) { return value->Object; }
};

template <>
struct Param<uint32_t*> {
    static constexpr tagSCA_KVN_NET_FIELD kField{"", SCA_KvnNetKind::U32, true};
    static void Store(uint32_t* out, tagSCA_KVN_NET_VALUE* value) {
        if (out == nullptr) {
            value->Problem = SCA_KvnNetProblem::Missing;
        }
    }
    static void Load(uint32_t* out, const tagSCA_KVN_NET_VALUE& value) { *out = value.U32; }
    static uint32_t* Pass(tagSCA_KVN_NET_VALUE* value) { return &value->U32; }
};

template <>
struct Param<char*> {
    static constexpr tagSCA_KVN_NET_FIELD kField{"", SCA_KvnNetKind::Text, true};
    static void Store(char* out, tagSCA_KVN_NET_VALUE* value) {
        if (out == nullptr) {
            value->Problem = SCA_KvnNetProblem::Missing;
        }
    }
    static void Load(char* out, const tagSCA_KVN_NET_VALUE& value) {
        std::memcpy(out, value.Text, strnlen(value.Text, SCA_KVN_NET_TEXT_SIZE - 1) + 1);
    }
    static char* Pass(tagSCA_KVN_NET_VALUE* value) { return value->Text; }
};

template <>
struct Param<SCA_ConfigObj**> {
    static constexpr tagSCA_KVN_NET_FIELD kField{"", SCA_KvnNetKind::Object, true};
    // Outputs are null from the start, so that a failed call never leaves one set.
    static void Store(SCA_ConfigObj** out, tagSCA_KVN_NET_VALUE* value) {
        if (out == nullptr) {
            value->Problem = SCA_KvnNetProblem::Missing;
        } else {
            *out = nullptr;
        }
    }
    static void Load(SCA_ConfigObj** out, const tagSCA_KVN_NET_VALUE& value) {
        *out = value.Object;
    }
    static SCA_ConfigObj** Pass(tagSCA_KVN_NET_VALUE* value) { return &value->Object; }
};

template <typename... Args, size_t... I>
int CallOperation(SCA_KorvantaNetVirtual* agent, int (SCA_KorvantaNetVirtual::*operation)(Args...),
                  [[maybe_unused]] tagSCA_KVN_NET_VALUE* values, std::index_sequence<I...>) {
    return (agent->*operation)(Param<Args>::Pass(&values[I])...);
}

template <typename... Args>
int CallOperation(SCA_KorvantaNetVirtual* agent, int (SCA_KorvantaNetVirtual::*operation)(Args...),
                  tagSCA_KVN_NET_VALUE* values) {
    return CallOperation(agent, operation, values, std::index_sequence_for<Args...>{});
}

template <auto Operation>
int Invoke(SCA_KorvantaNetVirtual* agent, tagSCA_KVN_NET_VALUE* values) {
    return CallOperation(agent, Operation, values);
}

// True when the fields are the parameters Args in kind, direction and order, every field has
// a name, and no two fields of the command share one (each side finds a field by its name).
template <typename... Args>
consteval bool Fits(const tagSCA_KVN_NET_FIELD* fields, size_t count) {
    constexpr tagSCA_KVN_NET_FIELD expected[] = {Param<Args>::kField..., {"", {}, false}};
    if (count != sizeof...(Args)) {
        return false;
    }
    for (size_t i = 0; i < count; ++i) {
        const std::string_view name = fields[i].Name != nullptr ? fields[i].Name : "";
        if (name.empty() || fields[i].Kind != expected[i].Kind ||
            fields[i].Out != expected[i].Out) {
            return false;
        }
        for (size_t j = 0; j < i; ++j) {
            if (name == fields[j].Name) {
                return false;
            }
        }
    }
    return true;
}

template <typename... Args>
consteval bool FitsOperation(int (SCA_KorvantaNetVirtual::*)(Args...),
                             const tagSCA_KVN_NET_FIELD* fields, size_t count) {
    return Fits<Args...>(fields, count);
}

// Reached only while the compiler builds the table: a row that does not fit its operation
// stops the build here.
inline void RowDoesNotFitItsOperation() {}
// The same for a command name that is not in the table.
inline void NoSuchCommand() {}

template <auto Operation>
consteval tagSCA_KVN_NET_COMMAND Row(const char* name,
                                     std::initializer_list<tagSCA_KVN_NET_FIELD> fields) {
    tagSCA_KVN_NET_COMMAND row{name, static_cast<uint32_t>(fields.size()), {}, &Invoke<Operation>};
    if (fields.size() > SCA_KVN_NET_MAX_FIELDS ||
        !FitsOperation(Operation, fields.begin(), fields.size())) {
        RowDoesNotFitItsOperation();
    }
    uint32_t index = 0;
    for (const tagSCA_KVN_NET_FIELD& field : fields) {
        row.Fields[index++] = field;
    }
    return row;
}

constexpr tagSCA_KVN_NET_FIELD In(const char* name, SCA_KvnNetKind kind) {
    return {name, kind, false};
}
constexpr tagSCA_KVN_NET_FIELD Out(const char* name, SCA_KvnNetKind kind) {
    return {name, kind, true};
}

using V = SCA_KorvantaNetVirtual;
inline constexpr SCA_KvnNetKind U32 = SCA_KvnNetKind::U32;
inline constexpr SCA_KvnNetKind U64 = SCA_KvnNetKind::U64;
inline constexpr SCA_KvnNetKind Text = SCA_KvnNetKind::Text;
inline constexpr SCA_KvnNetKind Object = SCA_KvnNetKind::Object;

// The protocol: every command once, in registration order. A row lists the operation's
// arguments in order; its inputs are the request fields and its outputs the reply fields, each
// in that order. Every row is checked against its operation's parameters when this compiles.
inline constexpr tagSCA_KVN_NET_COMMAND kTable[] = {
    Row<&V::GetDebugLog>("GetDebugLog", {In("LastMessageId", U32), In("Count", U32),
                                         Out("LogSessionId", U32), Out("DebugLogObj", Object)}),
    Row<&V::ClearDebugLog>("ClearDebugLog", {}),
    Row<&V::LoginEx2>("LoginEx2", {In("LoginData", Object), Out("LoginResults", Object)}),
    Row<&V::GetStatus>("GetStatus", {Out("ServerStatus", Object)}),
    Row<&V::GetStatusEx>("GetStatusEx",
                         {In("DevsStatusId", U32), In("LastUpdateTime", U64),
                          Out("ServerStatus", Object), Out("DeviceStatusList", Object)}),
    Row<&V::GetServerInfo>(
        "GetServerInfo",
        {Out("ServerProductType", U32), Out("ServerVersion", Text), Out("ServerHostName", Text)}),
    Row<&V::GetServerInfoEx>("GetServerInfoEx",
                             {Out("ServerProductType", U32), Out("ServerVersion", Text),
                              Out("ServerHostName", Text), Out("EnableOsLogon", U32),
                              Out("ServerLogonMode", U32)}),
    Row<&V::GetServiceInfo>("GetServiceInfo",
                            {Out("ServiceHostName", Text), Out("ServiceUserName", Text)}),
    Row<&V::GetProductConfig>("GetProductConfig", {Out("Config", Object)}),
    Row<&V::SetProductConfig>("SetProductConfig", {In("Config", Object)}),
    Row<&V::GetUserConfig>("GetUserConfig", {Out("Config", Object)}),
    Row<&V::SetUserConfig>("SetUserConfig", {In("Config", Object), In("Flags", U32)}),
    Row<&V::StopServer>("StopServer", {}),
    Row<&V::RestartServer>("RestartServer", {}),
    Row<&V::Suspend>("Suspend", {}),
    Row<&V::GetGroupIndex>("GetGroupIndex", {Out("GroupIndex", Object)}),
    Row<&V::AddGroup>("AddGroup", {In("GroupName", Text)}),
    Row<&V::DeleteGroup>("DeleteGroup", {In("GroupName", Text)}),
    // "Passord" is the field's name on the wire, on both ends.
    Row<&V::ConnectToNetwork>("ConnectToNetwork",
                              {In("HostName", Text), In("Port", U32), In("UserName", Text),
                               In("Passord", Text), Out("DeviceId", U32)}),
    Row<&V::GetDeviceIndexObj>("GetDeviceIndexObj",
                               {Out("DeviceIndexObj", Object), In("IncludeRuntimeInfo", U32)}),
    Row<&V::AddDevice>("AddDevice", {In("HostName", Text), Out("DeviceId", U32)}),
    Row<&V::GetDeviceInfo>("GetDeviceInfo", {In("DeviceId", U32), In("IncludeRuntimeInfo", U32),
                                             Out("DeviceObj", Object)}),
    Row<&V::GetDeviceStatus>("GetDeviceStatus", {In("DeviceId", U32), Out("StatusObj", Object)}),
    Row<&V::GetDeviceStatusEx>("GetDeviceStatusEx",
                               {In("DeviceId", U32), In("Counters", Text), Out("StatusObj", Object),
                                Out("CountersObj", Object)}),
    Row<&V::GetDeviceDebugStatus>("GetDeviceDebugStatus",
                                  {In("DeviceId", U32), Out("StatusObj", Object)}),
    Row<&V::GetDeviceListStatus>(
        "GetDeviceListStatus",
        {In("DeviceList", Object), Out("StatusObj", Object), Out("CountersObj", Object)}),
    Row<&V::DeviceLogin>("DeviceLogin",
                         {In("DeviceId", U32), In("HostName", Text), In("DeviceData", Object),
                          Out("DeviceConfig", Object), Out("StatusCode", U32)}),
    Row<&V::UpdateDeviceStatus>(
        "UpdateDeviceStatus",
        {In("DeviceId", U32), In("DeviceStatus", Object), Out("StatusCode", U32)}),
    Row<&V::UpdateDeviceStatusEx>("UpdateDeviceStatusEx",
                                  {In("DeviceId", U32), In("UpTime", U32), In("MonitorCount", U32),
                                   In("ActiveMonitors", U32), In("DeviceStatus", Object),
                                   Out("StatusCode", U32)}),
    Row<&V::DeviceLogout>("DeviceLogout", {In("DeviceId", U32)}),
    Row<&V::GetDeviceMonitors>("GetDeviceMonitors", {In("DeviceId", U32), Out("Monitors", Object)}),
    Row<&V::GetDeviceSessions>("GetDeviceSessions", {In("DeviceId", U32), Out("Sessions", Object)}),
    Row<&V::GetDeviceLastSession>("GetDeviceLastSession",
                                  {In("DeviceId", U32), Out("Session", Object)}),
    Row<&V::GetDeviceReportIndex>("GetDeviceReportIndex",
                                  {In("DeviceId", U32), Out("Reports", Object)}),
    Row<&V::GetDeviceReportList>("GetDeviceReportList",
                                 {In("DeviceId", U32), Out("Reports", Object)}),
    Row<&V::GetDeviceReportCounter>("GetDeviceReportCounter",
                                    {In("DeviceId", U32), In("ReportId", U32),
                                     In("CounterType", U32), Out("CounterObj", Object)}),
    Row<&V::GetDeviceMonitorCounter>(
        "GetDeviceMonitorCounter",
        {In("DeviceId", U32), In("CounterType", U32), Out("CounterObj", Object)}),
    Row<&V::GetDeviceMonitorReportIndex>(
        "GetDeviceMonitorReportIndex",
        {In("DeviceId", U32), In("MaxReports", U32), Out("ReportsObj", Object)}),
    Row<&V::GetDeviceMonitorReport>("GetDeviceMonitorReport",
                                    {In("DeviceId", U32), Out("ReportObj", Object)}),
    Row<&V::DeleteDeviceReports>("DeleteDeviceReports", {In("DeviceId", U32)}),
    Row<&V::SetNetworkUpdatePeriod>("SetNetworkUpdatePeriod", {In("UpdatePeriod", U32)}),
    Row<&V::SetDeviceUpdatePeriod>("SetDeviceUpdatePeriod",
                                   {In("DeviceId", U32), In("UpdatePeriod", U32)}),
    Row<&V::SetNetworkMaxPendingStatus>("SetNetworkMaxPendingStatus",
                                        {In("MaxPendingStatus", U32)}),
    Row<&V::SetDeviceMaxPendingStatus>("SetDeviceMaxPendingStatus",
                                       {In("DeviceId", U32), In("MaxPendingStatus", U32)}),
    Row<&V::DeleteDevice>("DeleteDevice", {In("DeviceId", U32)}),
    Row<&V::DeleteAllReports>("DeleteAllReports", {}),
    Row<&V::GetRules>("GetRules", {In("GroupName", Text), Out("RulesObj", Object)}),
    Row<&V::IsRuleExists>("IsRuleExists",
                          {In("GroupName", Text), In("RuleObj", Object), Out("Status", U32)}),
    Row<&V::AddRule>("AddRule", {In("GroupName", Text), In("RuleObj", Object), Out("RuleId", U32)}),
    Row<&V::SetRule>("SetRule", {In("GroupName", Text), In("RuleId", U32), In("RuleObj", Object)}),
    Row<&V::GetRule>("GetRule", {In("GroupName", Text), In("RuleId", U32), Out("RuleObj", Object)}),
    Row<&V::DeleteRule>("DeleteRule", {In("GroupName", Text), In("RuleId", U32)}),
};

static_assert(std::size(kTable) == SCA_KVN_NET_COMMAND_COUNT, "the protocol has 52 commands");

} // namespace sca_kvnnet

// The command table and the field access that the client and the server share.
class SCA_KorvantaNetCommands {
public:
    SCA_KorvantaNetCommands() = delete;

    static constexpr uint32_t Count() { return SCA_KVN_NET_COMMAND_COUNT; }
    // Row index (registration order), below Count().
    static constexpr const tagSCA_KVN_NET_COMMAND& Get(uint32_t index) {
        return sca_kvnnet::kTable[index];
    }
    // The index of the command of that name; a name that is not in the table does not compile.
    static consteval uint32_t IndexOf(std::string_view name) {
        for (uint32_t index = 0; index < Count(); ++index) {
            if (name == Get(index).Name) {
                return index;
            }
        }
        sca_kvnnet::NoSuchCommand();
        return Count();
    }
    // True when an operation with the parameters Args (in order) carries the command's fields.
    template <typename... Args>
    static consteval bool Fits(const tagSCA_KVN_NET_COMMAND& command) {
        return sca_kvnnet::Fits<Args...>(command.Fields, command.FieldCount);
    }

    // Reads the field into value: a number of its kind, a text of at most 255 bytes (a longer
    // one is refused, never cut), or an object: the first child of that name, which must be an
    // object and stays a child of data. 0 when the field is missing or not of its kind.
    static int ReadField(SCA_ConfigObj* data, const tagSCA_KVN_NET_FIELD& field,
                         tagSCA_KVN_NET_VALUE* value);
    // Appends the field to data (no duplicate check). An object is renamed to the field's name
    // and linked as the last child; a null object or one linked elsewhere is refused.
    static int WriteField(SCA_ConfigObj* data, const tagSCA_KVN_NET_FIELD& field,
                          tagSCA_KVN_NET_VALUE* value);
};
