// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <utility>

class SCA_ConfigObj;

// The generic part of a command protocol carried by the transport: a table of commands, each
// an operation of an interface class V, whose arguments travel as named message fields. The
// network library and the client-to-service protocol each hold one table of this form; the
// compiler checks every row against its operation's parameters, and both the server's
// handlers and the client's stubs are made from the rows.

// Text fields are read into buffers of this size on both ends: 255 bytes and the zero.
inline constexpr uint32_t SCA_NET_TEXT_SIZE = 256;
// The most arguments an operation of any table takes.
inline constexpr uint32_t SCA_NET_MAX_FIELDS = 16;

enum class SCA_NetKind : uint8_t { U32, U64, Text, Object };

// Who lets a command through on a connection that has not logged in.
enum class SCA_NetLogin : uint8_t {
    Agent,    // the host's agent decides (the network library's commands)
    Open,     // any connected client
    Required, // refused by the server before the agent is asked
};

// One argument of an operation and the message field that carries it. Inputs are request
// fields and outputs reply fields; each side keeps the order of the arguments. An object
// output travels under the field's name; Root, when set, is the name the client gives it back.
struct tagSCA_NET_FIELD {
    const char* Name;
    SCA_NetKind Kind;
    bool Out;
    const char* Root = nullptr;
};

// What makes a client's argument unusable before anything is sent.
enum class SCA_NetProblem : uint8_t { None, Missing, TooLong };

// One argument's value while a command is carried: the client fills the inputs from its
// caller, the server from the request; the outputs are filled by the server's agent and from
// the reply. Every member starts zeroed, so an output that the agent leaves alone travels as 0
// or the empty text, never as stale memory.
struct tagSCA_NET_VALUE {
    uint32_t U32 = 0;
    uint64_t U64 = 0;
    char Text[SCA_NET_TEXT_SIZE] = "";
    SCA_ConfigObj* Object = nullptr;
    SCA_NetProblem Problem = SCA_NetProblem::None;
};

// The table part of a command that does not depend on the interface: its name on the wire
// (also the operation's), its fields in argument order and its login rule.
struct tagSCA_NET_COMMAND_SHAPE {
    const char* Name;
    uint32_t FieldCount;
    tagSCA_NET_FIELD Fields[SCA_NET_MAX_FIELDS];
    SCA_NetLogin Login;
};

// A command of interface V: the shape and the call of its operation with the values of its
// fields, in argument order.
template <typename V>
struct tagSCA_NET_COMMAND : tagSCA_NET_COMMAND_SHAPE {
    int (*Invoke)(V* agent, tagSCA_NET_VALUE* values);
};

namespace sca_net {

// The seven parameter types of a protocol: the field each one stands for, how the client
// stores its caller's argument (Store) and hands an output back (Load), and what the server
// passes to its agent (Pass).
template <typename T>
struct Param;

template <>
struct Param<uint32_t> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::U32, false};
    static void Store(uint32_t number, tagSCA_NET_VALUE* value) { value->U32 = number; }
    static void Load(uint32_t, const tagSCA_NET_VALUE&) {}
    static uint32_t Pass(tagSCA_NET_VALUE* value) { return value->U32; }
};

template <>
struct Param<uint64_t> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::U64, false};
    static void Store(uint64_t number, tagSCA_NET_VALUE* value) { value->U64 = number; }
    static void Load(uint64_t, const tagSCA_NET_VALUE&) {}
    static uint64_t Pass(tagSCA_NET_VALUE* value) { return value->U64; }
};

template <>
struct Param<const char*> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::Text, false};
    // A text that the other end could not read whole is refused rather than cut.
    static void Store(const char* text, tagSCA_NET_VALUE* value) {
        const size_t length = text != nullptr ? strnlen(text, SCA_NET_TEXT_SIZE) : 0;
        if (text == nullptr) {
            value->Problem = SCA_NetProblem::Missing;
        } else if (length >= SCA_NET_TEXT_SIZE) {
            value->Problem = SCA_NetProblem::TooLong;
        } else {
            std::memcpy(value->Text, text, length + 1);
        }
    }
    static void Load(const char*, const tagSCA_NET_VALUE&) {}
    static const char* Pass(tagSCA_NET_VALUE* value) { return value->Text; }
};

template <>
struct Param<SCA_ConfigObj*> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::Object, false};
    static void Store(SCA_ConfigObj* object, tagSCA_NET_VALUE* value) {
        value->Object = object;
        if (object == nullptr) {
            value->Problem = SCA_NetProblem::Missing;
        }
    }
    static void Load(SCA_ConfigObj*, const tagSCA_NET_VALUE&) {}
    static SCA_ConfigObj* Pass(tagSCA_NET_VALUE* value) { return value->Object; }
};

template <>
struct Param<uint32_t*> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::U32, true};
    static void Store(uint32_t* out, tagSCA_NET_VALUE* value) {
        if (out == nullptr) {
            value->Problem = SCA_NetProblem::Missing;
        }
    }
    static void Load(uint32_t* out, const tagSCA_NET_VALUE& value) { *out = value.U32; }
    static uint32_t* Pass(tagSCA_NET_VALUE* value) { return &value->U32; }
};

template <>
struct Param<uint64_t*> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::U64, true};
    static void Store(uint64_t* out, tagSCA_NET_VALUE* value) {
        if (out == nullptr) {
            value->Problem = SCA_NetProblem::Missing;
        }
    }
    static void Load(uint64_t* out, const tagSCA_NET_VALUE& value) { *out = value.U64; }
    static uint64_t* Pass(tagSCA_NET_VALUE* value) { return &value->U64; }
};

template <>
struct Param<char*> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::Text, true};
    static void Store(char* out, tagSCA_NET_VALUE* value) {
        if (out == nullptr) {
            value->Problem = SCA_NetProblem::Missing;
        }
    }
    static void Load(char* out, const tagSCA_NET_VALUE& value) {
        std::memcpy(out, value.Text, strnlen(value.Text, SCA_NET_TEXT_SIZE - 1) + 1);
    }
    static char* Pass(tagSCA_NET_VALUE* value) { return value->Text; }
};

template <>
struct Param<SCA_ConfigObj**> {
    static constexpr tagSCA_NET_FIELD kField{"", SCA_NetKind::Object, true};
    // Outputs are null from the start, so that a failed call never leaves one set.
    static void Store(SCA_ConfigObj** out, tagSCA_NET_VALUE* value) {
        if (out == nullptr) {
            value->Problem = SCA_NetProblem::Missing;
        } else {
            *out = nullptr;
        }
    }
    static void Load(SCA_ConfigObj** out, const tagSCA_NET_VALUE& value) { *out = value.Object; }
    static SCA_ConfigObj** Pass(tagSCA_NET_VALUE* value) { return &value->Object; }
};

// The interface class of a member-function pointer.
template <typename M>
struct Operation;

template <typename V, typename... Args>
struct Operation<int (V::*)(Args...)> {
    using Interface = V;
};

template <typename V, typename... Args, size_t... I>
int CallOperation(V* agent, int (V::*operation)(Args...), [[maybe_unused]] tagSCA_NET_VALUE* values,
                  std::index_sequence<I...>) {
    return (agent->*operation)(Param<Args>::Pass(&values[I])...);
}

template <auto Op>
int Invoke(typename Operation<decltype(Op)>::Interface* agent, tagSCA_NET_VALUE* values) {
    return [&]<typename V, typename... Args>(int (V::*operation)(Args...)) {
        return CallOperation(agent, operation, values, std::index_sequence_for<Args...>{});
    }(Op);
}

// True when the fields are the parameters Args in kind, direction and order, every field has
// a name, and no two fields of the command share one (each side finds a field by its name).
template <typename... Args>
consteval bool Fits(const tagSCA_NET_FIELD* fields, size_t count) {
    constexpr tagSCA_NET_FIELD expected[] = {Param<Args>::kField..., {"", {}, false}};
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

template <typename V, typename... Args>
consteval bool FitsOperation(int (V::*)(Args...), const tagSCA_NET_FIELD* fields, size_t count) {
    return Fits<Args...>(fields, count);
}

// Reached only while the compiler builds a table: a row that does not fit its operation
// stops the build here.
inline void RowDoesNotFitItsOperation() {}
// The same for a command name that is not in the table.
inline void NoSuchCommand() {}

template <auto Op>
consteval tagSCA_NET_COMMAND<typename Operation<decltype(Op)>::Interface>
Row(const char* name, SCA_NetLogin login, std::initializer_list<tagSCA_NET_FIELD> fields) {
    tagSCA_NET_COMMAND<typename Operation<decltype(Op)>::Interface> row{
        {name, static_cast<uint32_t>(fields.size()), {}, login}, &Invoke<Op>};
    if (fields.size() > SCA_NET_MAX_FIELDS || !FitsOperation(Op, fields.begin(), fields.size())) {
        RowDoesNotFitItsOperation();
    }
    uint32_t index = 0;
    for (const tagSCA_NET_FIELD& field : fields) {
        row.Fields[index++] = field;
    }
    return row;
}

constexpr tagSCA_NET_FIELD In(const char* name, SCA_NetKind kind) {
    return {name, kind, false};
}
constexpr tagSCA_NET_FIELD Out(const char* name, SCA_NetKind kind, const char* root = nullptr) {
    return {name, kind, true, root};
}

// The row of the command of that name; a name that is not in the table does not compile.
template <typename V, size_t N>
consteval uint32_t IndexOf(const tagSCA_NET_COMMAND<V> (&table)[N], std::string_view name) {
    for (uint32_t index = 0; index < N; ++index) {
        if (name == table[index].Name) {
            return index;
        }
    }
    NoSuchCommand();
    return N;
}

// Stores a client's arguments into values and, after the exchange, its outputs back.
template <typename... Args>
void StoreArguments([[maybe_unused]] tagSCA_NET_VALUE* values, Args... args) {
    [[maybe_unused]] uint32_t next = 0;
    (Param<Args>::Store(args, &values[next++]), ...);
}

template <typename... Args>
void LoadArguments([[maybe_unused]] const tagSCA_NET_VALUE* values, Args... args) {
    [[maybe_unused]] uint32_t next = 0;
    (Param<Args>::Load(args, values[next++]), ...);
}

// A client's call of the command in row Index of the table Commands (a class with Get and
// Fits): the arguments, checked against the row at compile time, go into values, exchange
// carries them, and the outputs come back into the arguments when it succeeded.
template <typename Commands, uint32_t Index, typename Exchange, typename... Args>
int CallCommand(Exchange&& exchange, Args... args) {
    constexpr const auto& command = Commands::Get(Index);
    static_assert(Commands::template Fits<Args...>(command),
                  "the arguments must be the command's fields, in order");
    tagSCA_NET_VALUE values[SCA_NET_MAX_FIELDS];
    StoreArguments(values, args...);
    if (!exchange(command, values)) {
        return 0;
    }
    LoadArguments(values, args...);
    return 1;
}

inline constexpr SCA_NetKind U32 = SCA_NetKind::U32;
inline constexpr SCA_NetKind U64 = SCA_NetKind::U64;
inline constexpr SCA_NetKind Text = SCA_NetKind::Text;
inline constexpr SCA_NetKind Object = SCA_NetKind::Object;

} // namespace sca_net

// The field access that the clients and servers of every table share.
class SCA_NetCommandFields {
public:
    SCA_NetCommandFields() = delete;

    // Reads the field into value: a number of its kind, a text of at most 255 bytes (a longer
    // one is refused, never cut), or an object: the first child of that name, which must be an
    // object and stays a child of data. 0 when the field is missing or not of its kind.
    static int ReadField(SCA_ConfigObj* data, const tagSCA_NET_FIELD& field,
                         tagSCA_NET_VALUE* value);
    // Appends the field to data (no duplicate check). An object is renamed to the field's name
    // and linked as the last child; a null object or one linked elsewhere is refused.
    static int WriteField(SCA_ConfigObj* data, const tagSCA_NET_FIELD& field,
                          tagSCA_NET_VALUE* value);

    // Server side: one command for agent, from the request's inputs to the reply's outputs.
    // Every output starts zeroed; object results of a failed operation are released. 1 when
    // the reply is complete (the caller names it "OK").
    template <typename V>
    static int Serve(const tagSCA_NET_COMMAND<V>& command, const char* className, V* agent,
                     SCA_ConfigObj* request, SCA_ConfigObj* reply) {
        tagSCA_NET_VALUE values[SCA_NET_MAX_FIELDS];
        if (!ReadInputs(command, request, values)) {
            return 0;
        }
        if (!command.Invoke(agent, values)) {
            ReleaseResults(command, values);
            return 0;
        }
        return WriteOutputs(command, className, values, reply);
    }

    // Server side: reads every input of the request; 0 at the first one missing.
    static int ReadInputs(const tagSCA_NET_COMMAND_SHAPE& command, SCA_ConfigObj* request,
                          tagSCA_NET_VALUE* values);
    // Server side: adds the outputs to the reply in order; the objects go over to the reply.
    // On failure (reported with className) the object results not yet attached are released.
    static int WriteOutputs(const tagSCA_NET_COMMAND_SHAPE& command, const char* className,
                            tagSCA_NET_VALUE* values, SCA_ConfigObj* reply);
    // Releases the object results that no reply has taken. An object still linked into some
    // tree is not the handler's to free (an agent may hand back a tree it keeps), and an object
    // given for two results is freed once.
    static void ReleaseResults(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values);

    // Client side: reports the first unusable argument (with className); 1 when there is none.
    static int CheckArguments(const tagSCA_NET_COMMAND_SHAPE& command, const char* className,
                              const tagSCA_NET_VALUE* values);
    // Client side: adds the inputs to the request in order.
    static int WriteInputs(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values,
                           SCA_ConfigObj* request);
    // Client side: reads every output, then detaches the objects among them from the reply and
    // gives each the root name of its field, if the field names one. 0 (nothing detached)
    // when an output is missing.
    static int ReadOutputs(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values,
                           SCA_ConfigObj* reply);
    // Client side: takes the caller's objects back out of the request.
    static void DetachInputs(const tagSCA_NET_COMMAND_SHAPE& command, tagSCA_NET_VALUE* values,
                             SCA_ConfigObj* request);
};
