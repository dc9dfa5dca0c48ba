// SPDX-License-Identifier: MIT
#include "libtez/reports/SCA_TezConfigWriter.h"

#include <cerrno>

#include "libtez/reports/SCA_TezReportModel.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezProcessList.h"
#include "model/SCA_TezProcessLog.h"
#include "model/SCA_TezReport.h"
#include "model/SCA_TezReportIndex.h"

namespace {

constexpr uint32_t kWithDetails = 1;

void Fail(uint32_t* error, uint32_t code) {
    if (error != nullptr) {
        *error = code;
    }
}

bool AddFields(SCA_ConfigObj* parent, const char* name,
               const std::vector<SCA_TezReportModel::Field>& fields) {
    SCA_ConfigObj* node = parent->AddConfigObj(name);
    if (node == nullptr) {
        return false;
    }
    for (const auto& f : fields) {
        if (!node->AddField(f.Name.c_str(), f.Value.c_str())) {
            return false;
        }
    }
    return true;
}

} // namespace

int SCA_TezConfigWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    return m_Format == SCA_TEZ_FORMAT_DATA ? WriteData(model, path, error)
                                           : WriteReport(model, path, error);
}

int SCA_TezConfigWriter::WriteData(const SCA_TezReportModel& model, const char* path,
                                   uint32_t* error) {
    if (model.GetSourceReport() != nullptr) {
        SCA_ConfigObj root(SCA_TEZ_REPORT_ROOT, nullptr);
        if (!root.IsConstructed() || !model.GetSourceReport()->Serialize(&root)) {
            Fail(error, ENOMEM);
            return 0;
        }
        return root.Save(path, SCA_TEZ_REPORT_FILE_TYPE, 0, error);
    }
    if (model.GetSourceList() == nullptr) {
        Fail(error, EINVAL);
        return 0;
    }
    SCA_ConfigObj root("ProcessReport", nullptr);
    SCA_ConfigObj* list = root.AddConfigObj("ProcessList");
    if (!root.IsConstructed() || list == nullptr ||
        !model.GetSourceList()->Serialize(list, kWithDetails)) {
        Fail(error, ENOMEM);
        return 0;
    }
    if (model.GetSourceLog() != nullptr) {
        SCA_ConfigObj* log = root.AddConfigObj("ProcessLog");
        if (log == nullptr || !model.GetSourceLog()->Serialize(SCA_ALL_ONES, log)) {
            Fail(error, ENOMEM);
            return 0;
        }
    }
    return root.Save(path, SCA_TEZ_PROCESS_DATA_FILE_TYPE, 0, error);
}

int SCA_TezConfigWriter::WriteReport(const SCA_TezReportModel& model, const char* path,
                                     uint32_t* error) {
    SCA_ConfigObj root(SCA_TEZ_REPORT_ROOT, nullptr);
    bool ok = root.IsConstructed() && root.AddField("Title", model.Title.c_str()) &&
              AddFields(&root, "Header", model.Header) &&
              AddFields(&root, "Summary", model.Summary);
    SCA_ConfigObj* counters = ok ? root.AddConfigObj("Counters") : nullptr;
    ok = ok && counters != nullptr;
    for (size_t i = 0; ok && i < model.Counters.size(); ++i) {
        const auto& c = model.Counters[i];
        SCA_ConfigObj* node = counters->AddConfigObj(std::to_string(c.Id).c_str());
        ok = node != nullptr && node->AddField("CounterType", c.Type) &&
             node->AddField("Counter", c.Description.c_str()) &&
             node->AddField("Instance", c.Instance.c_str()) &&
             node->AddField("Computer", c.Computer.c_str()) &&
             node->AddField("Status", c.Status.c_str()) && node->AddField("Count", c.Count);
        if (ok && c.Count != 0) {
            ok = node->AddField("Minimum", c.Minimum) && node->AddField("Maximum", c.Maximum) &&
                 node->AddField("Average", c.Average) && node->AddField("Last", c.Last);
        }
    }
    SCA_ConfigObj* errors = ok ? root.AddConfigObj("Errors") : nullptr;
    ok = ok && errors != nullptr;
    for (size_t i = 0; ok && i < model.Errors.size(); ++i) {
        const auto& e = model.Errors[i];
        SCA_ConfigObj* node = errors->AddConfigObj(std::to_string(i).c_str());
        ok = node != nullptr && node->AddField("AbsTime", e.AbsTime) &&
             node->AddField("Status", e.Status.c_str()) &&
             node->AddField("CounterType", e.CounterType) &&
             node->AddField("Instance", e.Instance.c_str()) &&
             node->AddField("Description", e.Description.c_str()) &&
             node->AddField("Value", e.Value);
    }
    if (ok && model.IsProcessReport()) {
        SCA_ConfigObj* processes = root.AddConfigObj("Processes");
        ok = processes != nullptr;
        for (size_t i = 0; ok && i < model.Processes.size(); ++i) {
            const auto& p = model.Processes[i];
            SCA_ConfigObj* node = processes->AddConfigObj(std::to_string(p.Id).c_str());
            ok = node != nullptr && node->AddField("Name", p.Name.c_str()) &&
                 node->AddField("Status", p.Status.c_str()) &&
                 node->AddField("Instances", p.Instances) && node->AddField("Errors", p.Errors) &&
                 node->AddField("Warnings", p.Warnings);
            for (size_t j = 0; ok && j < p.Statistics.size(); ++j) {
                const auto& s = p.Statistics[j];
                SCA_ConfigObj* stat = node->AddConfigObj(std::to_string(s.CounterType).c_str());
                ok = stat != nullptr && stat->AddField("Average", s.Average) &&
                     stat->AddField("Minimum", s.Minimum) && stat->AddField("Maximum", s.Maximum);
            }
        }
        SCA_ConfigObj* log = ok ? root.AddConfigObj("Log") : nullptr;
        ok = ok && log != nullptr;
        for (size_t i = 0; ok && i < model.Log.size(); ++i) {
            const auto& l = model.Log[i];
            SCA_ConfigObj* node = log->AddConfigObj(std::to_string(i).c_str());
            ok = node != nullptr && node->AddField("AbsTime", l.AbsTime) &&
                 node->AddField("Event", l.Event.c_str()) &&
                 node->AddField("Process", l.Process.c_str()) &&
                 node->AddField("ProcessId", l.ProcessId) &&
                 node->AddField("User", l.User.c_str()) &&
                 node->AddField("Description", l.Description.c_str());
        }
    }
    if (!ok) {
        Fail(error, ENOMEM);
        return 0;
    }
    return root.Save(path, SCA_TEZ_OWN_REPORT_FILE_TYPE, 0, error);
}
