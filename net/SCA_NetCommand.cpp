// SPDX-License-Identifier: MIT
#include "net/SCA_NetCommand.h"

#include "libmor/SCA_Report.h"
#include "model/SCA_ConfigObj.h"

namespace {

// A text field's value, when it fits a 256-byte buffer whole.
int ReadText(SCA_ConfigObj* data, const char* name, char* text) {
    SCA_Field* field = nullptr;
    if (!data->GetFieldByName(name, &field) || field->IsObject() ||
        field->GetValueSize() >= SCA_NET_TEXT_SIZE) {
        return 0;
    }
    return data->GetField(name, text, SCA_NET_TEXT_SIZE);
}

bool IsObjectOutput(const tagSCA_NET_FIELD& field) {
    return field.Out && field.Kind == SCA_NetKind::Object;
}

} // namespace

int SCA_NetCommandFields::ReadField(SCA_ConfigObj* data, const tagSCA_NET_FIELD& field,
                                    tagSCA_NET_VALUE* value) {
    if (data == nullptr || value == nullptr) {
        return 0;
    }
    switch (field.Kind) {
    case SCA_NetKind::U32:
        return data->GetField(field.Name, &value->U32);
    case SCA_NetKind::U64:
        return data->GetField(field.Name, &value->U64);
    case SCA_NetKind::Text:
        return ReadText(data, field.Name, value->Text);
    case SCA_NetKind::Object:
        return data->GetField(field.Name, &value->Object);
    }
    return 0;
}

int SCA_NetCommandFields::WriteField(SCA_ConfigObj* data, const tagSCA_NET_FIELD& field,
                                     tagSCA_NET_VALUE* value) {
    if (data == nullptr || value == nullptr) {
        return 0;
    }
    switch (field.Kind) {
    case SCA_NetKind::U32:
        return data->AddField(field.Name, value->U32, 0);
    case SCA_NetKind::U64:
        return data->AddField(field.Name, value->U64, 0);
    case SCA_NetKind::Text:
        // An agent's buffer that lost its terminator still goes out bounded.
        value->Text[SCA_NET_TEXT_SIZE - 1] = '\0';
        return data->AddField(field.Name, value->Text, 0);
    case SCA_NetKind::Object:
        return value->Object != nullptr && data->AddField(field.Name, value->Object, 0) ? 1 : 0;
    }
    return 0;
}

int SCA_NetCommandFields::ReadInputs(const tagSCA_NET_COMMAND_SHAPE& command,
                                     SCA_ConfigObj* request, tagSCA_NET_VALUE* values) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        if (!command.Fields[i].Out && !ReadField(request, command.Fields[i], &values[i])) {
            return 0;
        }
    }
    return 1;
}

int SCA_NetCommandFields::WriteOutputs(const tagSCA_NET_COMMAND_SHAPE& command,
                                       const char* className, tagSCA_NET_VALUE* values,
                                       SCA_ConfigObj* reply) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        const tagSCA_NET_FIELD& field = command.Fields[i];
        if (!field.Out) {
            continue;
        }
        const bool object = field.Kind == SCA_NetKind::Object;
        if (object && values[i].Object == nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR,
                                                      "%s::%s: the agent gave no %s", className,
                                                      command.Name, field.Name);
        }
        if (!WriteField(reply, field, &values[i])) {
            ReleaseResults(command, values);
            return 0;
        }
        if (object) {
            values[i].Object = nullptr; // the reply owns it now
        }
    }
    return 1;
}

void SCA_NetCommandFields::ReleaseResults(const tagSCA_NET_COMMAND_SHAPE& command,
                                          tagSCA_NET_VALUE* values) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        SCA_ConfigObj* object = values[i].Object;
        if (!command.Fields[i].Out || object == nullptr) {
            continue;
        }
        for (uint32_t j = i + 1; j < command.FieldCount; ++j) {
            if (command.Fields[j].Out && values[j].Object == object) {
                values[j].Object = nullptr;
            }
        }
        if (!object->IsLinked()) {
            SCA_Object::Destroy(object);
        }
        values[i].Object = nullptr;
    }
}

int SCA_NetCommandFields::CheckArguments(const tagSCA_NET_COMMAND_SHAPE& command,
                                         const char* className, const tagSCA_NET_VALUE* values) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        const tagSCA_NET_FIELD& field = command.Fields[i];
        const char* problem = nullptr;
        if (values[i].Problem == SCA_NetProblem::Missing) {
            problem = "no argument given";
        } else if (values[i].Problem == SCA_NetProblem::TooLong) {
            problem = "text longer than 255 bytes";
        } else if (!field.Out && field.Kind == SCA_NetKind::Object &&
                   values[i].Object->IsLinked()) {
            problem = "the object belongs to another tree";
        }
        if (problem != nullptr) {
            SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s::%s: %s: %s", className,
                                                      command.Name, field.Name, problem);
            return 0;
        }
    }
    return 1;
}

int SCA_NetCommandFields::WriteInputs(const tagSCA_NET_COMMAND_SHAPE& command,
                                      tagSCA_NET_VALUE* values, SCA_ConfigObj* request) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        if (!command.Fields[i].Out && !WriteField(request, command.Fields[i], &values[i])) {
            return 0;
        }
    }
    return 1;
}

int SCA_NetCommandFields::ReadOutputs(const tagSCA_NET_COMMAND_SHAPE& command,
                                      tagSCA_NET_VALUE* values, SCA_ConfigObj* reply) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        if (command.Fields[i].Out && !ReadField(reply, command.Fields[i], &values[i])) {
            // Objects found so far stay the reply's: the caller gets none of them.
            for (uint32_t j = 0; j < i; ++j) {
                if (IsObjectOutput(command.Fields[j])) {
                    values[j].Object = nullptr;
                }
            }
            return 0;
        }
    }
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        const tagSCA_NET_FIELD& field = command.Fields[i];
        if (IsObjectOutput(field)) {
            // The first child of that name is the object just found.
            reply->RemoveField(field.Name);
            if (field.Root != nullptr) {
                values[i].Object->SetName(field.Root);
            }
        }
    }
    return 1;
}

void SCA_NetCommandFields::DetachInputs(const tagSCA_NET_COMMAND_SHAPE& command,
                                        tagSCA_NET_VALUE* values, SCA_ConfigObj* request) {
    for (uint32_t i = 0; i < command.FieldCount; ++i) {
        SCA_ConfigObj* object = values[i].Object;
        if (!command.Fields[i].Out && object != nullptr && object->IsLinked() &&
            object->GetParent() == request) {
            request->RemoveField(command.Fields[i].Name);
        }
    }
}
