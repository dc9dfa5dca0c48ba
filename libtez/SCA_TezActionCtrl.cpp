#include "libtez/SCA_TezActionCtrl.h"

namespace {

// Room the queue's semaphore counts; the queue itself has no limit.
constexpr uint32_t kQueueCapacity = 256;

} // namespace

SCA_TezActionCtrl::SCA_TezActionCtrl(SCA_TezConfig* config, SCA_TezConfigUser* userConfig,
                                     SCA_ConfigObj* params, SCA_TezReportIndex* reportIndex,
                                     int mode)
    : m_Config(config), m_UserConfig(userConfig), m_Params(params), m_ReportIndex(reportIndex),
      m_Mode(mode), m_Actions(kQueueCapacity) {
    if (!m_Actions.IsConstructed()) {
        SetConstructed(0);
    }
}

SCA_TezActionCtrl::~SCA_TezActionCtrl() {
    // The worker must be gone before the queue and the sound actions it uses.
    Unlock(__FILE__);
    m_Actions.Drain([](SCA_TezAction* action) { SCA_Object::Destroy(action); });
}
