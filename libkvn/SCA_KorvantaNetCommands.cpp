#include "libkvn/SCA_KorvantaNetCommands.h"

#include "model/SCA_ConfigObj.h"

namespace {

// A text field's value, when it fits a 256-byte buffer whole.
int ReadText(SCA_ConfigObj* data, const char* name, char* text) {
    SCA_Field* field = nullptr;
    if (!data->GetFieldByName(name, &field) || field->IsObject() ||
        field->GetValueSize() >= SCA_KVN_NET_TEXT_SIZE) {
        return 0;
    }
    return data->GetField(name, text, SCA_KVN_NET_TEXT_SIZE);
}

} // namespace

int SCA_KorvantaNetCommands::ReadField(SCA_ConfigObj* data, const tagSCA_KVN_NET_FIELD& field,
                                       tagSCA_KVN_NET_VALUE* value) {
    if (data == nullptr || value == nullptr) {
        return 0;
    }
    switch (field.Kind) {
    case SCA_KvnNetKind::U32:
        return data->GetField(field.Name, &value->U32);
    case SCA_KvnNetKind::U64:
        return data->GetField(field.Name, &value->U64);
    case SCA_KvnNetKind::Text:
        return ReadText(data, field.Name, value->Text);
    case SCA_KvnNetKind::Object:
        return data->GetField(field.Name, &value->Object);
    }
    return 0;
}

int SCA_KorvantaNetCommands::WriteField(SCA_ConfigObj* data, const tagSCA_KVN_NET_FIELD& field,
                                        tagSCA_KVN_NET_VALUE* value) {
    if (data == nullptr || value == nullptr) {
        return 0;
    }
    switch (field.Kind) {
    case SCA_KvnNetKind::U32:
        return data->AddField(field.Name, value->U32, 0);
    case SCA_KvnNetKind::U64:
        return data->AddField(field.Name, value->U64, 0);
    case SCA_KvnNetKind::Text:
        // An agent's buffer that lost its terminator still goes out bounded.
        value->Text[SCA_KVN_NET_TEXT_SIZE - 1] = '\0';
        return data->AddField(field.Name, value->Text, 0);
    case SCA_KvnNetKind::Object:
        return value->Object != nullptr && data->AddField(field.Name, value->Object, 0) ? 1 : 0;
    }
    return 0;
}
