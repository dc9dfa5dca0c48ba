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
