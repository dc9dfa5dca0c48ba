// SPDX-License-Identifier: MIT
// The dialogs every monitor window shares, driven offscreen through the modal hook as the
// windows will run them: the hook plays the user, then the test reads what the caller reads.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "libmor/SCA_Event.h"
#include "libmor/SCA_Sync.h"
#include "libmor/SCA_ThreadObj.h"
#include "libvop/SCA_ChartData.h"
#include "libvop/SCA_EntryDlg.h"
#include "libvop/SCA_ErrorListDlg.h"
#include "libvop/SCA_ListDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ProgressDlg.h"
#include "libvop/SCA_SaveReportDlg.h"
#include "libvop/SCA_SaveReportsDlg.h"
#include "libvop/SCA_StatusIcon.h"
#include "libvop/SCA_StatusLabelEx.h"
#include "libvop/SCA_TezCounterDlg.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_ProgressObj.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezErrorList.h"
#include "model/SCA_TezProcessStatus.h"
#include "model/SCA_TezReportFormat.h"
#include "model/SCA_TezVocabulary.h"

namespace {

// Plays the user: Exec runs the script given for the dialog; boxes and questions are recorded
// and answered.
class ScriptedUser : public SCA_ModalHook {
public:
    ScriptedUser() { SCA_SetModalHook(this); }
    ~ScriptedUser() override { SCA_SetModalHook(nullptr); }

    int Exec(QDialog* dialog) override {
        ++Runs;
        return Script ? Script(dialog) : QDialog::Rejected;
    }
    int MessageBox(QWidget*, uint32_t type, const QString&, const QString& text) override {
        Boxes.push_back(std::to_string(type) + " " + text.toStdString());
        return 1;
    }
    int Ask(QWidget*, uint32_t, const QString&, const QString& text, int) override {
        Boxes.push_back("? " + text.toStdString());
        return Answer;
    }
    QString GetExistingDirectory(QWidget*, const QString&, const QString&) override {
        return Folder;
    }

    std::function<int(QDialog*)> Script;
    std::vector<std::string> Boxes;
    int Runs = 0;
    int Answer = QMessageBox::No;
    QString Folder;
};

const std::set<uint32_t> kValidFormats = {0, 1, 2, 3, 5, 6, 15, 21, 22};

std::set<uint32_t> Offered(const QComboBox* box) {
    std::set<uint32_t> codes;
    for (int i = 0; i < box->count(); ++i) {
        codes.insert(box->itemData(i).toUInt());
    }
    return codes;
}

TEST(SaveReportDialogs, OfferOnlyValidFormatsAndModes) {
    for (uint32_t given = 0; given <= 30; ++given) {
        SCA_SaveReportDlg one(nullptr, nullptr, nullptr, nullptr, "Save Report", "CPU", 0, 1);
        SCA_SaveReportsDlg many(nullptr, nullptr, nullptr, nullptr, "Save Report", 1, 0);
        ASSERT_EQ(one.FillDialog("Korvanta CPU Report", given, given), 1);
        ASSERT_EQ(many.FillDialog(given, given), 1);
        for (const QComboBox* box : {one.GetFormatBox(), many.GetFormatBox()}) {
            EXPECT_EQ(Offered(box), kValidFormats);
            const uint32_t chosen = box->currentData().toUInt();
            EXPECT_EQ(chosen, kValidFormats.count(given) != 0 ? given : SCA_TEZ_FORMAT_PDF)
                << given;
        }
        for (const QComboBox* box : {one.GetModeBox(), many.GetModeBox()}) {
            EXPECT_EQ(Offered(box), (std::set<uint32_t>{0, 1, 2}));
            EXPECT_EQ(box->currentData().toUInt(), given <= 2 ? given : 0u);
        }
        uint32_t format = 99;
        uint32_t mode = 99;
        char title[256];
        char path[4096];
        ASSERT_EQ(one.GetReportData(&format, &mode, title, sizeof(title), path, sizeof(path)), 1);
        EXPECT_EQ(kValidFormats.count(format), 1u);
        EXPECT_STREQ(title, "Korvanta CPU Report");
    }
}

TEST(SaveReportDialogs, TheExtensionFollowsTheFormat) {
    SCA_SaveReportDlg dialog(nullptr, nullptr, nullptr, nullptr, "Save Report", "Disk / C:", 0, 1);
    dialog.FillDialog("", SCA_TEZ_FORMAT_HTML, 0);
    const QString start = dialog.GetPathEdit()->text();
    EXPECT_TRUE(start.startsWith(QDir::homePath() + QStringLiteral("/Korvanta Disk _ C_")))
        << start.toStdString();
    for (int i = 0; i < dialog.GetFormatBox()->count(); ++i) {
        dialog.GetFormatBox()->setCurrentIndex(i);
        const tagSCA_TEZ_REPORT_FORMAT* format =
            SCA_TezGetReportFormat(dialog.GetFormatBox()->currentData().toUInt());
        ASSERT_NE(format, nullptr);
        const QString suffix = QStringLiteral(".") + QString::fromLatin1(format->Extension);
        EXPECT_TRUE(dialog.GetPathEdit()->text().endsWith(suffix));
        EXPECT_FALSE(dialog.GetPathEdit()->text().chopped(suffix.size()).contains(QLatin1Char('.')))
            << "one extension, not a pile of them";
    }
    // A name typed without the extension gets the format's.
    dialog.GetFormatBox()->setCurrentIndex(dialog.GetFormatBox()->findData(SCA_TEZ_FORMAT_JSON));
    dialog.GetPathEdit()->setText(QStringLiteral("/tmp/monthly"));
    uint32_t format = 0;
    char path[4096];
    ASSERT_EQ(dialog.GetReportData(&format, nullptr, nullptr, 0, path, sizeof(path)), 1);
    EXPECT_STREQ(path, "/tmp/monthly.json");
    EXPECT_EQ(dialog.GetReportData(&format, nullptr, nullptr, 0, path, 10), 0) << "cut short";
}

TEST(SaveReportDialogs, RefuseAPlaceOutsideAnExistingFolder) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ScriptedUser user;
    SCA_SaveReportDlg one(nullptr, nullptr, nullptr, nullptr, "Save Process Log", "Process Log", 0,
                          0);
    one.FillDialog("Korvanta Process Log", SCA_TEZ_FORMAT_TEXT, SCA_ALL_ONES);
    const QString existing = folder.filePath(QStringLiteral("log.txt"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    user.Script = [&](QDialog* dialog) {
        const char* refused[] = {"/no/such/folder/log.txt", "relative/log.txt", ""};
        for (const char* path : refused) {
            one.GetPathEdit()->setText(QString::fromUtf8(path));
            dialog->accept();
            EXPECT_EQ(dialog->result(), QDialog::Rejected) << path;
        }
        one.GetPathEdit()->setText(existing);
        dialog->accept(); // the user answers No to replacing it
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        user.Answer = QMessageBox::Yes;
        dialog->accept();
        return dialog->result();
    };
    EXPECT_EQ(SCA_ExecDialog(&one), QDialog::Accepted);
    ASSERT_EQ(user.Boxes.size(), 5u);
    EXPECT_EQ(user.Boxes[0], "4 The folder \"/no/such/folder\" does not exist.");
    EXPECT_EQ(user.Boxes[1], "4 Please, give the full path of an existing folder.");
    EXPECT_EQ(user.Boxes[2], "4 Please, enter the file to save the report to.");
    EXPECT_EQ(user.Boxes[3].substr(0, 11), "? The file ");
    uint32_t format = 0;
    uint32_t mode = 0;
    char title[8];
    char path[4096];
    ASSERT_EQ(one.GetReportData(&format, &mode, title, sizeof(title), path, sizeof(path)), 1);
    EXPECT_EQ(format, SCA_TEZ_FORMAT_TEXT);
    EXPECT_EQ(mode, SCA_ALL_ONES) << "no mode was asked";
    EXPECT_STREQ(title, "Korvant") << "cut to its buffer";
    EXPECT_EQ(QString::fromUtf8(path), existing);

    // Many reports: the caller fixes the format, the user picks a folder.
    user.Boxes.clear();
    SCA_SaveReportsDlg many(nullptr, nullptr, nullptr, nullptr, "Save Monitoring Reports", 0, 0);
    many.FillDialog(SCA_ALL_ONES, 1);
    EXPECT_TRUE(many.GetFormatBox()->isHidden());
    user.Script = [&](QDialog* dialog) {
        many.GetFolderEdit()->setText(QStringLiteral("/no/such/folder"));
        dialog->accept();
        EXPECT_EQ(dialog->result(), QDialog::Rejected);
        user.Folder = folder.path();
        many.findChild<QToolButton*>()->click(); // browse
        dialog->accept();
        return dialog->result();
    };
    EXPECT_EQ(SCA_ExecDialog(&many), QDialog::Accepted);
    ASSERT_EQ(user.Boxes.size(), 1u);
    char chosen[4096];
    ASSERT_EQ(many.GetReportData(&format, &mode, chosen, sizeof(chosen)), 1);
    EXPECT_EQ(format, SCA_ALL_ONES);
    EXPECT_EQ(mode, 1u);
    EXPECT_EQ(QString::fromUtf8(chosen), folder.path());
}

TEST(CounterDialog, ChangesReachTheCounterOnlyWhenAccepted) {
    ScriptedUser user;
    SCA_TezCounterInfo info;
    auto* kept = new SCA_TezCond();
    kept->SetCondValue(90);
    uint32_t id = 0;
    ASSERT_EQ(info.GetCondList()->AddCond(kept, &id), 1);
    SCA_TezCounterDlg dialog(nullptr, nullptr, nullptr, nullptr, &info, 3);
    ASSERT_EQ(dialog.FillDialog(), 1);
    ASSERT_EQ(dialog.GetConditionView()->topLevelItemCount(), 1);
    EXPECT_EQ(dialog.GetValueEdit()->text(), QStringLiteral("90"));
    user.Script = [&](QDialog* shown) {
        dialog.GetValueEdit()->setText(QStringLiteral("75.5"));
        dialog.GetEnabledBox()->setChecked(false);
        shown->reject();
        return shown->result();
    };
    EXPECT_EQ(SCA_ExecDialog(&dialog), QDialog::Rejected);
    EXPECT_EQ(info.GetCondList()->GetHead()->GetItem()->GetCondValue(), 90.0);
    EXPECT_EQ(info.IsEnabled(), 1);

    user.Script = [&](QDialog* shown) {
        dialog.GetValueEdit()->setText(QStringLiteral("ninety"));
        shown->accept(); // refused: not a number
        EXPECT_EQ(shown->result(), QDialog::Rejected);
        dialog.GetValueEdit()->setText(QStringLiteral("1e3"));
        shown->accept();
        return shown->result();
    };
    EXPECT_EQ(SCA_ExecDialog(&dialog), QDialog::Accepted);
    ASSERT_EQ(user.Boxes.size(), 1u);
    EXPECT_EQ(user.Boxes[0], "4 The value of a condition must be a number.");
    EXPECT_EQ(info.GetCondList()->GetHead()->GetItem()->GetCondValue(), 1000.0);
    EXPECT_EQ(info.GetCondList()->GetHead()->GetId(), id) << "the condition keeps its id";
    EXPECT_EQ(info.IsEnabled(), 0);

    SCA_TezCounterDlg none(nullptr, nullptr, nullptr, nullptr, nullptr, 3);
    EXPECT_EQ(none.FillDialog(), 0);
}

// A job on a thread of its own that counts to 100 in steps and ends as it is told, or waits to
// be stopped.
class FakeJob : public SCA_ThreadObj, public SCA_ProgressObj {
public:
    enum class End { Done, Fail, Never };
    explicit FakeJob(End end) : m_End(end) {}
    ~FakeJob() override { Unlock(__FILE__); }
    void Destroy() override { delete this; }

    uint32_t GetProgress() override { return m_Progress.load(); }
    void SetProgress(uint32_t progress) override { m_Progress.store(progress); }
    uint32_t GetProcessStatus() override { return m_Status.load(); }
    const char* GetStatusString() override { return m_Text.load(); }

    int ThreadFunc() override {
        m_Status.store(SCA_PROCESS_RUNNING);
        for (uint32_t step = 1; step <= 10 || m_End == End::Never; ++step) {
            if (GetStopEvent()->Wait(10) == SCA_WAIT_OK) {
                Stopped.store(true);
                m_Status.store(SCA_PROCESS_STOPPED);
                return 0;
            }
            // A job that never ends never gets past half way.
            m_Progress.store(std::min<uint32_t>(step * 10, m_End == End::Never ? 50 : 100));
            m_Text.store(step % 2 != 0 ? "Saving report 1" : "Saving report 2");
        }
        m_Text.store(m_End == End::Done ? "All reports saved" : "Cannot save report 2");
        m_Status.store(m_End == End::Done ? SCA_PROCESS_STOPPED : SCA_PROCESS_FAILED);
        return 0;
    }

    std::atomic<bool> Stopped{false};

private:
    End m_End;
    std::atomic<uint32_t> m_Progress{0};
    std::atomic<uint32_t> m_Status{SCA_PROCESS_IDLE};
    std::atomic<const char*> m_Text{""};
};

TEST(ProgressDialog, FollowsAJobThatSucceedsFailsOrIsCancelled) {
    struct Case {
        FakeJob::End End;
        bool Cancel;
        // The job ends before the dialog starts following it (a quick job, a slow machine).
        bool EndsFirst;
        int Result;
        const char* LastText;
    };
    const Case cases[] = {
        {FakeJob::End::Done, false, false, QDialog::Accepted, "All reports saved"},
        {FakeJob::End::Fail, false, false, QDialog::Rejected, "Cannot save report 2"},
        {FakeJob::End::Never, true, false, QDialog::Rejected, "Saving report"},
        {FakeJob::End::Done, false, true, QDialog::Accepted, "All reports saved"},
        {FakeJob::End::Fail, false, true, QDialog::Rejected, "Cannot save report 2"},
    };
    ScriptedUser user;
    user.Script = [](QDialog* dialog) { return dialog->exec(); };
    // A dialog that never closes by itself fails the case instead of hanging the run.
    constexpr int kNeverClosed = 7;
    for (const Case& test : cases) {
        FakeJob job(test.End);
        uint32_t error = 0;
        ASSERT_EQ(job.Lock(&error), 1);
        if (test.EndsFirst) {
            ASSERT_EQ(job.Wait(5000), SCA_WAIT_OK);
        }
        SCA_ProgressDlg dialog(nullptr, &job, QStringLiteral("Save Monitoring Reports"), 1, 1, 420);
        ASSERT_EQ(dialog.StartProcess(), 1);
        QTimer::singleShot(10000, &dialog, [&dialog] { dialog.done(kNeverClosed); });
        // The user cancels once the job is under way, however slowly the machine runs it.
        QTimer cancel;
        if (test.Cancel) {
            QObject::connect(&cancel, &QTimer::timeout, [&] {
                if (job.GetProgress() != 0 && dialog.GetStatus()->text().startsWith("Saving")) {
                    cancel.stop();
                    dialog.GetButton()->click();
                }
            });
            cancel.start(20);
        }
        EXPECT_EQ(SCA_ExecDialog(&dialog), test.Result);
        EXPECT_TRUE(dialog.GetStatus()->text().startsWith(QString::fromUtf8(test.LastText)))
            << dialog.GetStatus()->text().toStdString();
        if (test.Cancel) {
            // Asked to stop by the dialog itself: the thread ends without the caller's help.
            EXPECT_EQ(job.Wait(5000), SCA_WAIT_OK);
            EXPECT_TRUE(job.Stopped.load());
            EXPECT_LT(dialog.GetBar()->value(), 100);
        } else {
            EXPECT_FALSE(job.Stopped.load());
            EXPECT_EQ(dialog.GetBar()->value(), 100);
        }
        job.Unlock(__FILE__); // the caller's StopAll
    }
    SCA_ProgressDlg none(nullptr, nullptr, QStringLiteral("x"), 1, 1, 420);
    EXPECT_EQ(none.StartProcess(), 0);
}

TEST(ListAndEntryDialogs, GiveBackWhatTheUserChose) {
    ScriptedUser user;
    SCA_ConfigObj disks("Disks", nullptr);
    disks.AddField("All Disks", -1, 0);
    disks.AddField("Disk C:\\", 0, 0);
    disks.AddField("Disk D:\\", 1, 0);
    SCA_ListDlg list(nullptr, QStringLiteral("Select Disk"),
                     QStringLiteral(":/images/hard_disk_16px.png"));
    SCA_ConfigObj empty("Empty", nullptr);
    EXPECT_EQ(list.UpdateDialog(nullptr), 0);
    EXPECT_EQ(list.UpdateDialog(&empty), 0);
    ASSERT_EQ(list.UpdateDialog(&disks), 1);
    ASSERT_EQ(list.GetList()->count(), 3);
    user.Script = [&](QDialog* dialog) {
        QListWidgetItem* row = list.GetList()->item(2);
        list.GetList()->setCurrentItem(row);
        emit list.GetList()->itemDoubleClicked(row);
        return dialog->result();
    };
    EXPECT_EQ(SCA_ExecDialog(&list), QDialog::Accepted);
    char chosen[256];
    ASSERT_EQ(list.GetData(chosen, sizeof(chosen)), 1);
    EXPECT_STREQ(chosen, "Disk D:\\");
    EXPECT_EQ(list.GetData(chosen, 6), 1);
    EXPECT_STREQ(chosen, "Disk ");

    SCA_EntryDlg entry(nullptr, QStringLiteral("Connect To Remote Computer"),
                       QStringLiteral("Computer Name:"), "", 64);
    QPushButton* ok = entry.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled()) << "nothing to connect to yet";
    EXPECT_EQ(entry.GetData(chosen, sizeof(chosen)), 0);
    entry.GetEdit()->setText(QStringLiteral("   "));
    EXPECT_FALSE(ok->isEnabled());
    entry.GetEdit()->insert(QString(100, QLatin1Char('x')));
    EXPECT_EQ(entry.GetEdit()->text().size(), 64);
    entry.GetEdit()->setText(QStringLiteral("  build-01.example  "));
    EXPECT_TRUE(ok->isEnabled());
    ASSERT_EQ(entry.GetData(chosen, sizeof(chosen)), 1);
    EXPECT_STREQ(chosen, "build-01.example");
}

TEST(ErrorListDialog, ListsEveryErrorOrSaysThereIsNone) {
    SCA_TezErrorList errors;
    const uint32_t statuses[] = {5, 4, 5};
    for (uint32_t i = 0; i < 3; ++i) {
        auto* error = new SCA_TezError();
        error->SetErrorId(i + 1);
        error->SetRepStatus(statuses[i]);
        error->SetCounterType(SCA_COUNTER_CPU_USAGE);
        error->SetCounterValue(97.5);
        error->SetDescription("Value above 90");
        ASSERT_EQ(errors.AddError(error), 1);
    }
    SCA_ErrorListDlg dialog(nullptr, &errors, nullptr, "Process Monitor");
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Process Monitor Errors"));
    ASSERT_EQ(dialog.FillDialog(), 1);
    ASSERT_EQ(dialog.GetView()->topLevelItemCount(), 3);
    EXPECT_EQ(dialog.GetView()->topLevelItem(1)->text(2), QStringLiteral("Warning"));
    EXPECT_EQ(dialog.GetView()->topLevelItem(0)->text(5), QStringLiteral("Local"));
    EXPECT_EQ(dialog.GetView()->topLevelItem(0)->text(7), QStringLiteral("Value above 90"));
    // The rows are events; the counts beside a monitor are what is in error now, and the
    // summary tells the two apart.
    EXPECT_EQ(dialog.GetSummary()->text(),
              QStringLiteral("Process Monitor: 2 errors and 1 warning recorded, one row each. ") +
                  QLatin1String(SCA_ERROR_COUNTS_TEXT));

    SCA_TezErrorList none;
    SCA_ErrorListDlg quiet(nullptr, &none, "System Errors", "System Monitoring");
    EXPECT_EQ(quiet.windowTitle(), QStringLiteral("System Errors"));
    ASSERT_EQ(quiet.FillDialog(), 1);
    EXPECT_TRUE(quiet.GetSummary()->text().contains(QStringLiteral("no errors")));
    SCA_ErrorListDlg missing(nullptr, nullptr, nullptr, "x");
    EXPECT_EQ(missing.FillDialog(), 0);
}

TEST(StatusLabel, KeepsBoundedColoursAndDrawsTheLookOfItsStatus) {
    SCA_StatusLabelEx label(nullptr, 48, 64);
    label.resize(400, label.height());
    label.SetInfoBorder("#A0B0C0");
    EXPECT_STREQ(label.GetInfoBorder(), "#A0B0C0");
    label.SetErrorText("#A0B0C0FFEE-and-more");
    EXPECT_STREQ(label.GetErrorText(), "#A0B0C0FF") << "nine bytes and the terminator";
    label.SetBoldFont(1);
    EXPECT_EQ(label.GetBoldFont(), 1u);
    label.SetFontSize(14);
    EXPECT_EQ(label.GetFontSize(), 14u);

    const uint32_t looks[][2] = {{0, SCA_STATUS_LOOK_ERROR}, {5, SCA_STATUS_LOOK_ERROR},
                                 {4, SCA_STATUS_LOOK_WARN},  {3, SCA_STATUS_LOOK_INFO},
                                 {9, SCA_STATUS_LOOK_READY}, {11, SCA_STATUS_LOOK_READY},
                                 {7, SCA_STATUS_LOOK_DATA},  {42, SCA_STATUS_LOOK_DATA}};
    for (const auto& look : looks) {
        EXPECT_EQ(SCA_StatusLabel::GetStatusLook(look[0]), look[1]) << look[0];
    }

    // The single-process window's colours for its first status.
    label.SetStatusColors(7, "#E2EAF4", "#E2EAF4", "#A0B0C0");
    label.SetStatusString(7, "Process Monitor");
    EXPECT_STREQ(label.GetDataBgLow(), "#E2EAF4");
    QImage image(label.size(), QImage::Format_ARGB32);
    label.render(&image);
    EXPECT_EQ(image.pixel(390, label.height() / 2) & 0xFFFFFF, 0xE2EAF4u);
    EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xA0B0C0u);
    EXPECT_EQ(label.GetLamp()->GetStatus(), 7u);
    label.SetStatusString(5, "Process Monitor");
    EXPECT_EQ(label.GetLamp()->GetStatus(), 5u);
    // A colour that is none is drawn in the look's own colour, not in black.
    label.SetErrorBgLow("#nothex");
    label.SetErrorBgHigh("#nothex");
    label.render(&image);
    EXPECT_NE(image.pixel(390, label.height() / 2) & 0xFFFFFF, 0u);
}

TEST(ChartData, CopiesOwnTheirValues) {
    SCA_ChartData data;
    data.SetTitle("CPU Usage Per Process");
    data.SetCounterType(SCA_COUNTER_PROCESS_CPU_USAGE);
    data.SetUnits(0);
    data.SetFooter(std::string(400, 'f').c_str());
    EXPECT_EQ(std::string(data.GetFooter()).size(), 255u);
    tagSCA_CHART_VALUE value{};
    std::snprintf(value.Name, sizeof(value.Name), "%s", "korvas");
    value.Value = 12.5;
    ASSERT_EQ(SCA_ChartData::AddValue(data.GetValueList(), value), 1);
    value.Value = 3;
    ASSERT_EQ(SCA_ChartData::AddValue(data.GetDisplayList(), value), 1);

    SCA_ChartData copy(data);
    EXPECT_EQ(copy.IsConstructed(), 1u);
    EXPECT_STREQ(copy.GetTitle(), "CPU Usage Per Process");
    EXPECT_EQ(copy.GetCounterType(), 43u);
    ASSERT_EQ(copy.GetValueList()->Count(), 1u);
    ASSERT_NE(copy.GetValueList()->GetHead()->GetItem(), data.GetValueList()->GetHead()->GetItem());
    copy.GetValueList()->GetHead()->GetItem()->Value = 99;
    EXPECT_EQ(data.GetValueList()->GetHead()->GetItem()->Value, 12.5);

    SCA_ChartData assigned;
    ASSERT_EQ(SCA_ChartData::AddValue(assigned.GetValueList(), value), 1);
    ASSERT_EQ(SCA_ChartData::AddValue(assigned.GetValueList(), value), 1);
    assigned = copy;
    EXPECT_EQ(assigned.GetValueList()->Count(), 1u);
    EXPECT_EQ(assigned.GetValueList()->GetHead()->GetItem()->Value, 99);
    EXPECT_EQ(assigned.GetDisplayList()->GetHead()->GetItem()->Value, 3);
    const SCA_ChartData& same = assigned;
    assigned = same;
    EXPECT_EQ(assigned.GetValueList()->Count(), 1u);
}

} // namespace
