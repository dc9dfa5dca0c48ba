// SPDX-License-Identifier: MIT
#include "libtez/reports/formats/SCA_TezXmlWriter.h"

#include <pugixml.hpp>

#include <sstream>

#include "libtez/reports/SCA_TezReportModel.h"

namespace {

void Fields(pugi::xml_node parent, const char* name,
            const std::vector<SCA_TezReportModel::Field>& fields) {
    pugi::xml_node node = parent.append_child(name);
    for (const auto& f : fields) {
        pugi::xml_node field = node.append_child("Field");
        field.append_attribute("name") = f.Name.c_str();
        field.append_attribute("value") = f.Value.c_str();
    }
}

void Number(pugi::xml_node node, const char* name, double value) {
    node.append_attribute(name) = SCA_TezReportModel::FormatNumber(value).c_str();
}

} // namespace

int SCA_TezXmlWriter::Write(const SCA_TezReportModel& model, const char* path, uint32_t* error) {
    using Model = SCA_TezReportModel;
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    pugi::xml_node root = doc.append_child(model.IsProcessReport() ? "ProcessReport" : "Report");
    root.append_attribute("title") = model.Title.c_str();
    Fields(root, "Header", model.Header);
    Fields(root, "Summary", model.Summary);

    pugi::xml_node counters = root.append_child("Counters");
    for (const auto& c : model.Counters) {
        pugi::xml_node node = counters.append_child("Counter");
        node.append_attribute("id") = c.Id;
        node.append_attribute("type") = c.Type;
        node.append_attribute("description") = c.Description.c_str();
        node.append_attribute("instance") = c.Instance.c_str();
        node.append_attribute("computer") = c.Computer.c_str();
        node.append_attribute("status") = c.Status.c_str();
        if (model.ShowsStatistics()) {
            node.append_attribute("count") = c.Count;
        }
        if (model.ShowsStatistics() && c.Count != 0) {
            Number(node, "minimum", c.Minimum);
            Number(node, "maximum", c.Maximum);
            Number(node, "average", c.Average);
            Number(node, "last", c.Last);
        }
        for (const auto& s : c.Samples) {
            pugi::xml_node sample = node.append_child("Sample");
            sample.append_attribute("time") = static_cast<unsigned long long>(s.AbsTime);
            if (s.HasValue) {
                Number(sample, "value", s.Value);
            }
        }
    }
    pugi::xml_node errors =
        model.ShowsStatistics() ? root.append_child("Errors") : pugi::xml_node();
    for (const auto& e : model.Errors) {
        pugi::xml_node node = errors.append_child("Error");
        node.append_attribute("time") = static_cast<unsigned long long>(e.AbsTime);
        node.append_attribute("status") = e.Status.c_str();
        node.append_attribute("counterType") = e.CounterType;
        node.append_attribute("counter") = e.Counter.c_str();
        node.append_attribute("instance") = e.Instance.c_str();
        Number(node, "value", e.Value);
        node.text() = e.Description.c_str();
    }
    if (model.IsProcessReport()) {
        pugi::xml_node processes = root.append_child("Processes");
        for (const auto& p : model.Processes) {
            pugi::xml_node node = processes.append_child("Process");
            node.append_attribute("id") = p.Id;
            node.append_attribute("name") = p.Name.c_str();
            node.append_attribute("status") = p.Status.c_str();
            node.append_attribute("instances") = p.Instances;
            node.append_attribute("errors") = p.Errors;
            node.append_attribute("warnings") = p.Warnings;
            for (const auto& s : p.Statistics) {
                pugi::xml_node stat = node.append_child("Statistic");
                stat.append_attribute("counterType") = s.CounterType;
                stat.append_attribute("counter") = s.Counter.c_str();
                Number(stat, "average", s.Average);
                Number(stat, "minimum", s.Minimum);
                Number(stat, "maximum", s.Maximum);
            }
        }
        pugi::xml_node log = root.append_child("Log");
        for (const auto& l : model.Log) {
            pugi::xml_node node = log.append_child("Event");
            node.append_attribute("time") = Model::FormatTime(l.AbsTime).c_str();
            node.append_attribute("event") = l.Event.c_str();
            node.append_attribute("process") = l.Process.c_str();
            node.append_attribute("pid") = l.ProcessId;
            node.append_attribute("user") = l.User.c_str();
            node.text() = l.Description.c_str();
        }
    }
    std::ostringstream out;
    doc.save(out, "  ", pugi::format_default, pugi::encoding_utf8);
    return WriteText(out.str(), path, error);
}
