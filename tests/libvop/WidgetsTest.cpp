// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QDirIterator>
#include <QHeaderView>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <string>

#include "libmor/SCA_Limits.h"
#include "libmor/SCA_Report.h"
#include "libvop/SCA_DebugLogDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ListView.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_OptionsDlg.h"
#include "libvop/SCA_StatusIcon.h"
#include "libvop/SCA_StatusList.h"
#include "libvop/SCA_UpdateDlg.h"
#include "model/SCA_DebugLog.h"
#include "model/SCA_TezConfig.h"
#include "model/SCA_TezConfigUser.h"
#include "tests/support/TestPaths.h"

namespace {

int OpaquePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            count += qAlpha(image.pixel(x, y)) > 200 ? 1 : 0;
        }
    }
    return count;
}

TEST(Icons, EveryImageDrawsAtEachSizeAndPixelRatio) {
    int images = 0;
    QDirIterator it(QStringLiteral(":/images"));
    while (it.hasNext()) {
        const QString path = it.next();
        ++images;
        const QIcon icon = SCA_IconEngine::Load(path);
        ASSERT_FALSE(icon.isNull()) << path.toStdString();
        for (int size : {16, 32, 48}) {
            const QPixmap pixmap = icon.pixmap(QSize(size, size));
            ASSERT_EQ(pixmap.size(), QSize(size, size)) << path.toStdString();
            // Something is drawn, and not a blurred upscale: a full-size drawing has about four
            // times the covered pixels of the half size.
            EXPECT_GT(OpaquePixels(pixmap.toImage()), size * size / 10) << path.toStdString();
        }
        const QPixmap dense = icon.pixmap(QSize(16, 16), 2.0);
        EXPECT_EQ(dense.size(), QSize(32, 32)) << path.toStdString();
        EXPECT_EQ(dense.devicePixelRatio(), 2.0);
    }
    EXPECT_GE(images, 100);
    EXPECT_TRUE(SCA_IconEngine::Load(QStringLiteral(":/images/none_16px.png")).isNull());
}

// A list repaints the icon of every row it shows: a drawing is made once for each image, size,
// pixel ratio and mode, and only the same four ever get it back.
TEST(Icons, EachDrawingIsMadeOnceAndGivenOnlyForItsOwnSizeAndMode) {
    const QIcon error = SCA_IconEngine::Load(QStringLiteral(":/images/error_16px.png"));
    const QIcon copy = error; // a copy clones the engine; the drawings stay shared
    const QIcon other = SCA_IconEngine::Load(QStringLiteral(":/images/systray_warning_16px.png"));
    ASSERT_FALSE(error.isNull());
    ASSERT_FALSE(other.isNull());
    const QPixmap first = error.pixmap(QSize(16, 16));
    EXPECT_EQ(copy.pixmap(QSize(16, 16)).cacheKey(), first.cacheKey());
    const QPixmap disabled = error.pixmap(QSize(16, 16), QIcon::Disabled);
    EXPECT_NE(disabled.cacheKey(), first.cacheKey());
    EXPECT_NE(disabled.toImage(), first.toImage());
    EXPECT_EQ(error.pixmap(QSize(32, 32)).size(), QSize(32, 32));
    EXPECT_EQ(error.pixmap(QSize(16, 16), 2.0).devicePixelRatio(), 2.0);
    EXPECT_NE(other.pixmap(QSize(16, 16)).toImage(), first.toImage());
    EXPECT_EQ(error.pixmap(QSize(16, 16)).cacheKey(), first.cacheKey());
}

// Every icon name the client's sources and the counter metadata ask for, found by reading them:
// a name nobody drew would show as an empty space.
TEST(Icons, EveryNameTheSourcesUseExists) {
    const std::string suffix = "px.png";
    auto isNameChar = [](char c) { return std::islower(c) || std::isdigit(c) || c == '_'; };
    std::set<std::string> names;
    for (const char* folder : {"korvac", "libvop", "model", "libtez"}) {
        const std::filesystem::path root =
            std::filesystem::path(korvanta_test::SourceDir()) / folder;
        for (const auto& entry : std::filesystem::directory_iterator(root)) {
            if (entry.path().extension() != ".cpp" && entry.path().extension() != ".h") {
                continue;
            }
            std::ifstream file(entry.path());
            const std::string text((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
            for (size_t end = text.find(suffix); end != std::string::npos;
                 end = text.find(suffix, end + 1)) {
                size_t start = end;
                while (start > 0 && isNameChar(text[start - 1])) {
                    --start;
                }
                // A name put together in code ("..." + "_16px.png") is not a name of its own.
                if (text[start] != '_') {
                    names.insert(text.substr(start, end + suffix.size() - start));
                }
            }
        }
    }
    EXPECT_GT(names.size(), 40u) << "the scan found the names";
    for (const std::string& name : names) {
        EXPECT_FALSE(
            SCA_IconEngine::Load(QStringLiteral(":/images/") + QString::fromStdString(name))
                .isNull())
            << name;
    }
}

class Recorder : public SCA_ModalHook {
public:
    int MessageBox(QWidget*, uint32_t type, const QString&, const QString& text) override {
        LastType = type;
        LastText = text;
        return 1;
    }
    int Exec(QDialog*) override { return 7; }
    uint32_t LastType = 0;
    QString LastText;
};

// A list updated every second measures a cell's text only when it may not fit, from a cheap
// bound: a column one pixel narrower than the view's own fit of its text is widened to that fit,
// whatever the text's characters (digits, units, kerned pairs, ligatures, narrow and wide
// letters, scripts beyond Latin-1).
TEST(ListColumns, AColumnOnePixelTooNarrowForItsTextIsWidened) {
    QTreeWidget view;
    const int widths[] = {40};
    SCA_SetupListView(&view, {QStringLiteral("V")}, widths);
    view.header()->setStretchLastSection(false);
    auto* row = new QTreeWidgetItem(&view);
    const QStringList texts = {
        QStringLiteral("12.34"),
        QStringLiteral("1,234,567.89 KB/s"),
        QStringLiteral("99.5 \u00b0C"),
        QStringLiteral("35 \u00b5s"),
        QStringLiteral("WWWWMMMMWWWW"),
        QStringLiteral("iiiiiiiiiiiiiiii"),
        QStringLiteral("AVAVAV To Ty"),
        QStringLiteral("office fluff"),
        QStringLiteral("\u0394T 3.2 \u041a"),
        QStringLiteral("\u8ba1\u6570\u5668 42"),
    };
    for (const QString& text : texts) {
        row->setText(0, text);
        view.resizeColumnToContents(0);
        const int fit = view.columnWidth(0);
        ASSERT_GT(fit, view.fontMetrics().horizontalAdvance(text)) << text.toStdString();
        view.setColumnWidth(0, fit - 1);
        SCA_FitColumnsToText(&view, row, 0, 0);
        EXPECT_EQ(view.columnWidth(0), fit) << text.toStdString();
    }
}

TEST(ModalHook, ReplacesAndRestoresTheDefault) {
    Recorder recorder;
    EXPECT_EQ(SCA_SetModalHook(&recorder), nullptr);
    SCA_ShowMessageBox(nullptr, 4, QStringLiteral("Warning"), QStringLiteral("50%s"));
    EXPECT_EQ(recorder.LastType, 4u);
    EXPECT_EQ(recorder.LastText, QStringLiteral("50%s"));
    QDialog dialog;
    EXPECT_EQ(SCA_ExecDialog(&dialog), 7);
    EXPECT_EQ(SCA_SetModalHook(nullptr), &recorder);
    EXPECT_NE(SCA_GetModalHook(), &recorder);
}

TEST(MessageConsole, ShowsEveryMessageOfTheLogAsText) {
    SCA_DebugLog log(10);
    tagSCA_ERROR_DESCR message{};
    message.Level = SCA_LEVEL_ERROR;
    message.AbsTime = 0;
    std::snprintf(message.Text, sizeof(message.Text), "%s", "host %s%d unreachable <b>");
    log.AddMessage(&message, 0xFFFFFFFFu);
    message.Level = SCA_LEVEL_INFO;
    std::snprintf(message.Text, sizeof(message.Text), "%s", "started");
    log.AddMessage(&message, 0xFFFFFFFFu);
    SCA_DebugLogDlg dialog(nullptr, &log, QStringLiteral("Message Console"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Message Console"));
    ASSERT_EQ(dialog.GetView()->topLevelItemCount(), 2);
    EXPECT_EQ(dialog.GetView()->topLevelItem(0)->text(2),
              QStringLiteral("host %s%d unreachable <b>"));
    EXPECT_EQ(dialog.GetView()->topLevelItem(1)->text(2), QStringLiteral("started"));
}

TEST(StatusWidgets, LampAndListKeepWhatTheyAreGiven) {
    SCA_StatusIcon lamp(nullptr, 18, 2);
    EXPECT_EQ(lamp.size(), QSize(18, 18));
    EXPECT_EQ(lamp.GetStatus(), 7u);
    const QImage idle = lamp.grab().toImage();
    lamp.SetStatus(5);
    const QImage error = lamp.grab().toImage();
    EXPECT_NE(idle.pixel(9, 9), error.pixel(9, 9));
    EXPECT_GT(qRed(error.pixel(9, 9)), qGreen(error.pixel(9, 9)));
    lamp.SetStatus(SCA_STATUS_ICON_CONNECTED);
    const QImage connected = lamp.grab().toImage();
    EXPECT_GT(qGreen(connected.pixel(9, 9)), qRed(connected.pixel(9, 9))) << "a live connection";

    SCA_StatusList list(nullptr, 100, 1);
    QTreeWidgetItem* row =
        list.AddItem(QStringLiteral(":/images/file_attr_16px.png"), QStringLiteral("Monitors"));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(list.columnCount(), 3);
    EXPECT_EQ(row->text(1), QStringLiteral("Monitors"));
    EXPECT_TRUE(row->text(2).isEmpty());
}

TEST(UpdateDialog, OffersOnlyAnotherVersionOfThisProduct) {
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_UpdateDlg dialog(nullptr, &config, nullptr, nullptr);
    EXPECT_EQ(dialog.GetUpdate(), 0);
    SCA_Update update;
    update.SetProductType(SCA_PRODUCT_TYPE_KORVANTA);
    update.SetVersion(SCA_TEZ_PRODUCT_VERSION);
    dialog.SetUpdate(update);
    EXPECT_EQ(dialog.GetUpdate(), 0);
    update.SetVersion("14.0.1");
    dialog.SetUpdate(update);
    EXPECT_EQ(dialog.GetUpdate(), 1);
    update.SetProductType(SCA_PRODUCT_TYPE_NETWORK);
    dialog.SetUpdate(update);
    EXPECT_EQ(dialog.GetUpdate(), 0);
}

// The Keyboard page shows each command's name whole on one line beside its key, with the key
// column still in view, at the dialog's own size: a name wrapped or cut is a command the user
// cannot read.
TEST(OptionsDialog, TheKeyboardPageShowsEveryCommandNameWhole) {
    SCA_TezConfig config(SCA_PRODUCT_TYPE_KORVANTA);
    SCA_TezConfigUser user(&config);
    ASSERT_EQ(user.InitDefConfig(&config), 1);
    SCA_OptionsDlg dialog(nullptr, &config, &user, nullptr, SCA_ALL_ONES);
    ASSERT_EQ(dialog.FillDialog(), 1);
    dialog.show();
    auto* tabs = dialog.findChild<QTabWidget*>();
    ASSERT_NE(tabs, nullptr);
    int keyboard = -1;
    for (int tab = 0; tab < tabs->count(); ++tab) {
        keyboard = tabs->tabText(tab) == QLatin1String("Keyboard") ? tab : keyboard;
    }
    ASSERT_GE(keyboard, 0);
    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(keyboard).center());
    ASSERT_EQ(tabs->currentIndex(), keyboard);
    auto* table = dialog.findChild<QTableWidget*>(QStringLiteral("Shortcuts"));
    ASSERT_NE(table, nullptr);
    QCoreApplication::processEvents();
    ASSERT_GT(table->rowCount(), 0);
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem* name = table->item(row, 0);
        ASSERT_NE(name, nullptr);
        SCOPED_TRACE(name->text().toStdString());
        const QRect cell = table->visualItemRect(name);
        EXPECT_GE(cell.width(), table->fontMetrics().horizontalAdvance(name->text()));
    }
    EXPECT_LT(table->columnViewportPosition(1), table->viewport()->width());
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Also when listing the tests, which runs outside the tests' environment.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
