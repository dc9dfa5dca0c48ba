// SPDX-License-Identifier: MIT
// A condition made in the counter dialog, carried to the service as the client carries it,
// holds and acts on the service's own evaluator as the dialog said it would.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <gtest/gtest.h>

#include "libtez/SCA_TezCondEval.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_TezCounterDlg.h"
#include "model/SCA_ConfigObj.h"
#include "model/SCA_TezCond.h"
#include "model/SCA_TezCondType.h"
#include "model/SCA_TezCounterInfo.h"
#include "model/SCA_TezVocabulary.h"
#include "tests/korvac/GuiTestSupport.h"

namespace {

// What a condition's comparison is tried on: a number that makes it hold and one that does not.
struct Trial {
    double Holds;
    double Fails;
};

tagSCA_TEZ_COND_INPUT InputFor(uint32_t subject, double number) {
    tagSCA_TEZ_COND_INPUT input{0.0, 0.0, 0.0, true};
    (subject == SCA_COND_SUBJECT_VALUE     ? input.Value
     : subject == SCA_COND_SUBJECT_AVERAGE ? input.Average
                                           : input.Change) = number;
    return input;
}

TEST(CounterDialog, EveryConditionMadeHereIsOneTheServiceEvaluates) {
    const Trial trials[SCA_COND_COMPARISONS] = {{60, 40}, {40, 60}, {50, 51}, {51, 50}};
    korvac_test::RecordingHook user;
    for (uint32_t type = 0; type < SCA_COND_TYPES; ++type) {
        SCA_TezCounterInfo info;
        info.SetCounterType(SCA_COUNTER_CPU_USAGE);
        SCA_TezCounterDlg dialog(nullptr, nullptr, nullptr, nullptr, &info, 3);
        ASSERT_EQ(dialog.FillDialog(), 1);
        ASSERT_EQ(dialog.GetTypeBox()->count(), static_cast<int>(SCA_COND_TYPES));
        user.OnExec = [&](QDialog* shown) {
            for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
                if (button->text() == QStringLiteral("Add")) {
                    button->click();
                }
            }
            dialog.GetTypeBox()->setCurrentIndex(dialog.GetTypeBox()->findData(type));
            dialog.GetValueEdit()->setText(QStringLiteral("50"));
            dialog.GetModeBox()->setCurrentIndex(2);
            dialog.GetStreakBox()->setValue(2);
            dialog.GetStatusBox()->setCurrentIndex(dialog.GetStatusBox()->findData(5u));
            dialog.GetPrefixEdit()->setText(QStringLiteral("SQL01"));
            dialog.GetRequiredBox()->setChecked(true);
            shown->accept();
        };
        ASSERT_EQ(SCA_ExecDialog(&dialog), QDialog::Accepted);

        // The trip to the service: the stored form, read back into a fresh record.
        SCA_ConfigObj stored("CounterInfo", nullptr);
        ASSERT_EQ(info.Serialize(&stored), 1);
        SCA_TezCounterInfo received;
        ASSERT_EQ(received.Deserialize(&stored), 1);
        EXPECT_STREQ(received.GetNamePrefix(), "SQL01");
        EXPECT_EQ(received.IsRequired(), 1);
        ASSERT_EQ(received.GetCondList()->Count(), 1u);
        const SCA_TezCond& cond = *received.GetCondList()->GetHead()->GetItem();
        EXPECT_EQ(cond.GetCondType(), type);
        EXPECT_EQ(cond.GetCondMode(), 2u);
        EXPECT_EQ(cond.GetRepStatus(), 5u);

        const uint32_t subject = SCA_TezGetCondSubject(type);
        const Trial& trial = trials[SCA_TezGetCondComparison(type)];
        tagSCA_TEZ_COND_STATE state;
        const tagSCA_TEZ_COND_RESULT first =
            SCA_TezEvalCond(cond, InputFor(subject, trial.Holds), &state);
        const tagSCA_TEZ_COND_RESULT second =
            SCA_TezEvalCond(cond, InputFor(subject, trial.Holds), &state);
        const tagSCA_TEZ_COND_RESULT other =
            SCA_TezEvalCond(cond, InputFor(subject, trial.Fails), &state);
        EXPECT_FALSE(first.Holds || first.Acts) << "one sample is no streak of two";
        EXPECT_TRUE(second.Holds && second.Acts) << SCA_TezGetCondTypeDescr(type);
        EXPECT_FALSE(other.Holds) << SCA_TezGetCondTypeDescr(type);
    }
}

} // namespace
