"""The layering check on small trees: what it must refuse and what it must let through."""
import os
import subprocess
import sys
import tempfile
import unittest

SCRIPT = os.path.join(os.path.dirname(__file__), "..", "..", "scripts", "check-layers")


def check(files):
    """Runs the check on a tree of files {path: content}; (exit code, stderr)."""
    with tempfile.TemporaryDirectory() as root:
        for path, content in files.items():
            full = os.path.join(root, path)
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "w", encoding="utf-8") as f:
                f.write(content)
        run = subprocess.run([sys.executable, SCRIPT, root], capture_output=True, text=True)
        return run.returncode, run.stderr


def includes(*headers):
    return "".join(f'#include "{h}"\n' for h in headers) + "#include <vector>\n"


class CheckLayersTest(unittest.TestCase):
    def test_downward_includes_pass(self):
        code, err = check({
            "libmor/SCA_Heap.h": "",
            "libmor/mail/SCA_SmtpClient.cpp": includes("libmor/SCA_Heap.h", "SCA_SmtpClient.h"),
            "model/SCA_ConfigObj.cpp": includes("libmor/SCA_Heap.h", "containers/SCA_List.h"),
            "libkvn/SCA_KvnDevice.cpp": includes("libmor/auth/SCA_LogonUser.h", "net/x.h"),
            "korvas/SCA_KorvantaCtrl.cpp": includes("libtez/reports/SCA_TezReporter.h"),
            "tests/kvn/DeviceTest.cpp": includes("libkvn/SCA_KvnDevice.h", "tests/model/T.h"),
            "fuzz/fuzz_all.cpp": includes("korvac/SCA_SrvGui.h"),
        })
        self.assertEqual(0, code, err)

    def test_each_upward_include_is_named_with_its_line(self):
        code, err = check({
            "libmor/SCA_File.cpp": "// x\n" + includes("model/SCA_ConfigObj.h"),
            "model/SCA_Field.h": includes("net/SCA_NetMessage.h"),
            "libmor/auth/SCA_LogonUser.cpp": includes("containers/SCA_List.h"),
            "containers/SCA_List.h": includes("libmor/SCA_Heap.h"),
        })
        self.assertEqual(1, code)
        self.assertIn("libmor/SCA_File.cpp:2: includes model/SCA_ConfigObj.h", err)
        self.assertIn("model/SCA_Field.h:1: includes net/SCA_NetMessage.h", err)
        self.assertIn("libmor/auth/SCA_LogonUser.cpp:1: includes containers/SCA_List.h", err)
        self.assertNotIn("containers/SCA_List.h:", err)
        self.assertIn("3 fault(s)", err)

    def test_tests_keep_to_the_layer_they_test(self):
        code, err = check({
            "tests/model/ProfilesTest.cpp": includes("libtez/SCA_TezManager.h"),
            "tests/net/NetTest.cpp": includes("tests/kvnnet/Support.h"),
            "tests/perf/PerfTest.cpp": includes("tests/model/RecordTestSupport.h",
                                                "tests/support/KorvantaTestSupport.h"),
        })
        self.assertEqual(1, code)
        self.assertIn("tests/model/ProfilesTest.cpp:1", err)
        self.assertIn("tests/net/NetTest.cpp:1", err)
        self.assertNotIn("tests/perf/", err)

    def test_the_client_window_families_stand_on_the_kit_and_not_on_each_other(self):
        code, err = check({
            "korvac/main/SCA_SrvGui.cpp": includes("korvac/monitor/SCA_MonitorWindows.h",
                                                   "korvac/viewer/SCA_WindowKinds.h"),
            "korvac/viewer/SCA_WindowKinds.cpp": includes("korvac/process/SCA_ProcessWindows.h"),
            "korvac/monitor/SCA_SrvMonStatusDlg.cpp": includes(
                "korvac/kit/SCA_LiveWindow.h", "korvac/process/SCA_SrvProcessDlg.h"),
            "korvac/process/SCA_SrvProcessView.cpp": includes("korvac/main/SCA_SrvGui.h"),
            "korvac/kit/SCA_LiveWindow.cpp": includes("korvac/viewer/SCA_ViewerHost.h"),
            "korvac/reports/SCA_SrvReportsDlg.cpp": includes("korvac/kit/SCA_ClientSession.h"),
            "tests/korvac/WindowHostTest.cpp": includes("korvac/main/SCA_SrvGui.h"),
        })
        self.assertEqual(1, code)
        self.assertIn("korvac/monitor/SCA_SrvMonStatusDlg.cpp:2: includes "
                      "korvac/process/SCA_SrvProcessDlg.h", err)
        self.assertIn("korvac/process/SCA_SrvProcessView.cpp:1: includes korvac/main/SCA_SrvGui.h",
                      err)
        self.assertIn("korvac/kit/SCA_LiveWindow.cpp:1: includes korvac/viewer/SCA_ViewerHost.h",
                      err)
        self.assertIn("3 fault(s)", err)

    def test_a_lower_folder_is_not_enough_the_table_must_allow_the_edge(self):
        code, err = check({
            "perf/SCA_PerfMonitor.cpp": includes("net/SCA_NetTransport.h"),
            "libvop/SCA_ListDlg.cpp": includes("libtez/SCA_TezManager.h", "korvas/x.h"),
            "korvac/SCA_SrvGui.cpp": includes("korvas/SCA_KorvantaCtrl.h", "perf/y.h"),
            "libkvn/SCA_KorvantaNetInterface.h": includes("libtez/SCA_KorvantaLogin.h"),
            "libtez/SCA_TezActionCtrl.cpp": includes("libtez/reports/SCA_TezReporter.h"),
            "tests/libvop/DialogsTest.cpp": includes("libtez/SCA_TezCondEval.h"),
        })
        self.assertEqual(1, code)
        for fault in ("perf/SCA_PerfMonitor.cpp:1: includes net/SCA_NetTransport.h",
                      "libvop/SCA_ListDlg.cpp:1: includes libtez/SCA_TezManager.h",
                      "libvop/SCA_ListDlg.cpp:2: includes korvas/x.h",
                      "korvac/SCA_SrvGui.cpp:1: includes korvas/SCA_KorvantaCtrl.h",
                      "korvac/SCA_SrvGui.cpp:2: includes perf/y.h",
                      "libkvn/SCA_KorvantaNetInterface.h:1: includes libtez/SCA_KorvantaLogin.h",
                      "libtez/SCA_TezActionCtrl.cpp:1: includes libtez/reports/SCA_TezReporter.h",
                      "tests/libvop/DialogsTest.cpp:1: includes libtez/SCA_TezCondEval.h"):
            self.assertIn(fault, err)
        self.assertIn("8 fault(s)", err)

    def test_links_and_the_table_are_one_truth(self):
        code, err = check({
            "libmor/CMakeLists.txt": "add_library(libmor SHARED a.cpp)\n",
            "model/CMakeLists.txt": "add_library(model SHARED a.cpp)\n"
                                    "# target_link_libraries(model PUBLIC libmor) in a comment\n",
            "libvop/CMakeLists.txt": "add_library(libvop SHARED a.cpp)\n"
                                     "target_link_libraries(libvop PUBLIC Qt6::Widgets libtez\n"
                                     "                      model PRIVATE Qt6::Svg)\n",
            "libtez/CMakeLists.txt": "add_library(libtez SHARED a.cpp)\n",
        })
        self.assertEqual(1, code)
        self.assertIn("libvop/CMakeLists.txt: links libtez, which libvop may not use", err)
        self.assertIn("model/CMakeLists.txt: may use libmor but does not link it", err)
        self.assertIn("libvop/CMakeLists.txt: may use libmor but does not link it", err)
        self.assertNotIn("links model", err)

    def test_the_readme_shows_the_same_table(self):
        code, err = check({
            "README.md": "| folder | may use | what |\n|---|---|---|\n"
                         "| `libmor/` | nothing | platform |\n"
                         "| `perf/` | `model` `net` `libmor` | counters |\n",
        })
        self.assertEqual(1, code)
        self.assertIn("README.md: the layout table says perf/ may use libmor model net; the "
                      "table of scripts/check-layers says containers libmor model", err)
        self.assertIn("README.md: the layout table has no row for korvac/", err)
        self.assertNotIn("libmor/ may use", err)

    def test_the_client_reads_no_field_by_a_literal_name(self):
        code, err = check({
            "korvac/SCA_SideBar.cpp": 'int a = s->GetField("ActiveMonitors", &n);\n'
                                      "int b = s->GetFieldByName( \"Errors\", &f);\n"
                                      "int c = s->GetField(kNamed, &n);\n",
            "libvop/SCA_OptionsDlg.cpp": '\n\no->GetField("Port", &p);\n',
            "korvas/SCA_KorvantaAgent.cpp": 'd->GetField("Password", buf, 256);\n',
        })
        self.assertEqual(1, code)
        self.assertIn('korvac/SCA_SideBar.cpp:1: reads the field "ActiveMonitors"', err)
        self.assertIn('korvac/SCA_SideBar.cpp:2: reads the field "Errors"', err)
        self.assertIn('libvop/SCA_OptionsDlg.cpp:3: reads the field "Port"', err)
        self.assertNotIn("korvas/", err)
        self.assertIn("3 fault(s)", err)

    def test_the_repository_itself_is_layered(self):
        run = subprocess.run([sys.executable, SCRIPT], capture_output=True, text=True)
        self.assertEqual(0, run.returncode, run.stderr)


if __name__ == "__main__":
    unittest.main()
