#include "model/SCA_TezRepStatus.h"

const char* SCA_TezGetRepStatusDescr(uint32_t status) {
    switch (status) {
    case 3:
        return "Message";
    case 4:
        return "Warning";
    case 5:
        return "Error";
    default:
        return "NA";
    }
}

uint32_t SCA_TezGetJobRepStatus(uint32_t processStatus) {
    switch (processStatus) {
    case 1:
        return 1;
    case 10:
        return 3;
    case 11:
    case 22:
        return 4;
    default:
        return 5;
    }
}
