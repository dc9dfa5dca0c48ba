#include "model/SCA_ProgressObj.h"

uint32_t SCA_ProgressObj::GetRepStatus() {
    switch (GetProcessStatus()) {
    case 1:
        return 1;
    case 10:
        return 3;
    case 11:
    case 17:
    case 22:
        return 4;
    default:
        return 5;
    }
}
