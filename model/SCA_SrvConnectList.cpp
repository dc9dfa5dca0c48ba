// SPDX-License-Identifier: MIT
#include "model/SCA_SrvConnectList.h"

#include "libmor/SCA_Report.h"

int SCA_SrvConnectList::AddConnect(const char* computer, const char* user, const char* password,
                                   uint16_t port) {
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (computer == nullptr || computer[0] == '\0') {
        report(SCA_LEVEL_ERROR, "SCA_SrvConnectList::AddConnect: invalid computer name");
        return 0;
    }
    SCA_SrvConnect record;
    record.SetComputerNameA(computer);
    record.SetUserName(user);
    record.SetPassword(password);
    record.SetPortNumber(port);
    SCA_SrvConnect* known = nullptr;
    if (GetConnect(record.GetComputerNameA(), &known)) {
        *known = record;
        return 1;
    }
    auto* added = new (std::nothrow) SCA_SrvConnect(record);
    if (added == nullptr || !AddRecord(added, added->GetComputerNameA(), nullptr)) {
        SCA_Object::Destroy(added);
        report(SCA_LEVEL_ERROR, "SCA_SrvConnectList::AddConnect: cannot add %s", computer);
        return 0;
    }
    return 1;
}

int SCA_SrvConnectList::DeleteConnect(const char* computer) {
    Item* node = GetListItem(computer);
    return node != nullptr ? DeleteRecord(node->GetId()) : 0;
}
