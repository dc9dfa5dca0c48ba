#include "model/SCA_TezErrorList.h"

int SCA_TezErrorList::AddError(SCA_TezError* error) {
    return error != nullptr && AddItemToTail(error, error->GetErrorId()) ? 1 : 0;
}

int SCA_TezErrorList::Deserialize(SCA_ConfigObj* object) {
    return DeserializeRecords(object, [this](SCA_TezError* error) { return AddError(error); });
}
