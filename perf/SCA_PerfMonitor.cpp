#include "perf/SCA_PerfMonitor.h"

SCA_PerfMonitor::~SCA_PerfMonitor() {
    for (auto* node = m_CounterList.GetHead(); node != nullptr; node = node->GetNext()) {
        SCA_Object::Destroy(node->GetItem());
    }
}
