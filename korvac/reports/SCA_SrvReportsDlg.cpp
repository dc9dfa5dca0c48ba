// SPDX-License-Identifier: MIT
// The reports window: its widgets, the context menu, the list and its filter, the selection.
#include "korvac/reports/SCA_SrvReportsDlg.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <QVarLengthArray>
#include <array>
#include <cstring>
#include <vector>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_DetachedMenu.h"
#include "korvac/reports/SCA_SrvReportsView.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_Time.h"
#include "libtez/reports/SCA_SrvReportManager.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ListDlg.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ToolButton.h"
#include "libvop/SCA_TreeRows.h"
#include "model/SCA_TezMonitorKinds.h"
#include "model/SCA_TezMonitorMode.h"

namespace {

// The monitor modes the list can be narrowed to; "Show All Reports" comes first.
constexpr int kAllModes = -1;
struct ModeEntry {
    const char* Text;
    uint32_t Mode;
};
constexpr ModeEntry kModes[] = {
    {"System Monitoiring", SCA_TEZ_MODE_EMPTY},      {"System Status", SCA_TEZ_MODE_SYSTEM},
    {"CPU Monitoiring", SCA_TEZ_MODE_CPU},           {"Memory Monitoiring", SCA_TEZ_MODE_MEMORY},
    {"Process Monitoiring", SCA_TEZ_MODE_PROCESS},   {"Network Monitoiring", SCA_TEZ_MODE_NETWORK},
    {"Printer Monitoiring", SCA_TEZ_MODE_PRINTERS},  {"Disk Monitoiring", SCA_TEZ_MODE_DISK},
    {"Physical Disks", SCA_TEZ_MODE_PHYSICAL_DISKS}, {"NAS Monitoiring", SCA_TEZ_MODE_SHARES},
    {"iSCSI Monitoiring", SCA_TEZ_MODE_ISCSI},       {"SQL Monitoiring", SCA_TEZ_MODE_SQL},
    {"IIS Monitoiring", SCA_TEZ_MODE_WEB},
};

struct FieldEntry {
    const char* Text;
    uint32_t Field;
    const char* Icon;
    const char* PickTitle; // of the filter-value list
};
constexpr FieldEntry kFields[] = {
    {"Report Profile", SCA_TEZ_FILTER_PROFILE, ":/images/file_attr_16px.png",
     "Select Profile Name"},
    {"Report Title", SCA_TEZ_FILTER_TITLE, ":/images/file_attr_16px.png", "Select Report Title"},
    {"Report Date", SCA_TEZ_FILTER_DATE, ":/images/date_16px.png", "Select Report Date"},
    {"Report Host", SCA_TEZ_FILTER_HOST, ":/images/system_16px.png", "Select Host Name"},
};

struct OperatorEntry {
    const char* Text;
    uint32_t Operator;
};
constexpr OperatorEntry kOperators[] = {
    {"Contains", SCA_TEZ_FILTER_CONTAINS},
    {"Begins", SCA_TEZ_FILTER_BEGINS},
    {"Ends", SCA_TEZ_FILTER_ENDS},
    {"Equals", SCA_TEZ_FILTER_EQUALS},
};

constexpr QSize kModeBoxSize(160, 24);
constexpr QSize kFieldBoxSize(133, 24);
constexpr QSize kOperatorBoxSize(80, 24);
constexpr QSize kSmallButtonSize(24, 24);
constexpr QSize kIconSize(16, 16);
constexpr int kModeBoxVisibleItems = 20;
constexpr int kRowHeight = 24;
constexpr int kLabelHeight = 22;
constexpr int kSeparatorHeight = 12;
constexpr int kSeparatorStyle = QFrame::HLine | QFrame::Sunken;
constexpr int kLabelStyle = QFrame::Panel | QFrame::Sunken;
constexpr int kSaveWidth = 60;
constexpr int kButtonWidth = 66;
constexpr int kCloseWidth = 60;
constexpr int kSpacing = 10;
constexpr QSize kWindowSize(840, 432);
constexpr uint32_t kTimeSize = 256;

QIcon Icon(const char* path) {
    return SCA_IconEngine::Load(QString::fromLatin1(path));
}

QFrame* Separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameStyle(kSeparatorStyle);
    line->setFixedHeight(kSeparatorHeight);
    return line;
}

SCA_ToolButton* SmallButton(QWidget* parent, const char* tip, const char* icon) {
    auto* button = new SCA_ToolButton(parent);
    button->setFixedSize(kSmallButtonSize);
    button->setToolTip(QString::fromLatin1(tip));
    button->setIcon(Icon(icon));
    button->setIconSize(kIconSize);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setStyleSheet(QString::fromLatin1(SCA_ToolButton::kFramedStyle));
    return button;
}

SCA_ToolButton* BottomButton(QWidget* parent, const char* text, int minimumWidth) {
    auto* button = new SCA_ToolButton(parent);
    button->setText(QString::fromLatin1(text));
    button->setFixedHeight(kRowHeight);
    button->setMinimumWidth(minimumWidth);
    return button;
}

QLabel* CountLabel(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setFixedHeight(kLabelHeight);
    label->setFrameStyle(kLabelStyle);
    return label;
}

QString FormatTime(int (*format)(uint64_t, char*, uint32_t), uint64_t value) {
    char text[kTimeSize] = "";
    format(value, text, sizeof(text));
    return QString::fromUtf8(text);
}

// A row keeps the fields it shows, as they were read, to tell a changed report from an unchanged
// one without formatting its texts again.
constexpr int kShownRole = Qt::UserRole + 1;

using ShownFields = QVarLengthArray<char, 2 * SCA_TEZ_TEXT_SIZE + 64>;

void ReadShownFields(const SCA_TezReportInfo& info, ShownFields* fields) {
    const std::array<uint64_t, 5> numbers = {info.GetStartTime(), info.GetProcessTime(),
                                             info.GetMonitorMode(), info.GetNumOfCounters(),
                                             info.GetNumOfErrors()};
    fields->append(reinterpret_cast<const char*>(numbers.data()), sizeof(numbers));
    for (const char* text : {info.GetProfileName(), info.GetHostName()}) {
        fields->append(text, static_cast<qsizetype>(std::strlen(text)) + 1);
    }
}

const FieldEntry* FieldOf(uint32_t field) {
    for (const FieldEntry& entry : kFields) {
        if (entry.Field == field) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

SCA_SrvReportsDlg::SCA_SrvReportsDlg(QWidget* parent, SCA_TezConfig* cfg, SCA_TezConfigUser* user,
                                     SCA_ConfigObj* params, const char* confName,
                                     SCA_ClientSession* session)
    : QDialog(parent, parent != nullptr ? Qt::Dialog | Qt::WindowMaximizeButtonHint
                                        : Qt::Dialog | Qt::WindowMinimizeButtonHint |
                                              Qt::WindowMaximizeButtonHint),
      m_Config(cfg), m_User(user), m_Params(params), m_Session(session), m_Index(cfg, user) {
    SCA_StrnCpy(m_ConfName, confName, sizeof(m_ConfName));
    setModal(true);
    setSizeGripEnabled(true);
    setWindowTitle(QStringLiteral("Korvanta Monitoring Reports"));
    setWindowIcon(Icon(":/images/reports_16px.png"));
    auto* layout = new QVBoxLayout(this);
    BuildFilterRow();
    layout->addWidget(Separator(this), 1);
    m_View = new SCA_SrvReportsView(this);
    connect(m_View, &SCA_SrvReportsView::MenuAsked, this, &SCA_SrvReportsDlg::ShowContextMenu);
    m_Rows = std::make_unique<SCA_TreeRows>(m_View);
    connect(m_View, &QTreeWidget::itemDoubleClicked, this, &SCA_SrvReportsDlg::ItemClicked);
    layout->addWidget(m_View, 0);
    layout->addWidget(Separator(this), 1);
    BuildBottomRow();
    resize(kWindowSize);
    setMinimumSize(kWindowSize);
}

SCA_SrvReportsDlg::~SCA_SrvReportsDlg() = default;

void SCA_SrvReportsDlg::BuildFilterRow() {
    auto* row = new QHBoxLayout;
    static_cast<QVBoxLayout*>(layout())->addLayout(row);

    m_ModeBox = new QComboBox(this);
    // As wide as its longest entry needs, and never narrower than its place in the row.
    m_ModeBox->setFixedHeight(kModeBoxSize.height());
    m_ModeBox->setMinimumWidth(kModeBoxSize.width());
    m_ModeBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_ModeBox->setMaxVisibleItems(kModeBoxVisibleItems);
    m_ModeBox->addItem(Icon(":/images/profiles_16px.png"), QStringLiteral("Show All Reports"),
                       kAllModes);
    for (const ModeEntry& entry : kModes) {
        m_ModeBox->addItem(Icon(SCA_TezGetModeSmallIcon(entry.Mode)),
                           QString::fromLatin1(entry.Text), entry.Mode);
    }
    m_FieldBox = new QComboBox(this);
    m_FieldBox->setFixedSize(kFieldBoxSize);
    for (const FieldEntry& entry : kFields) {
        m_FieldBox->addItem(Icon(entry.Icon), QString::fromLatin1(entry.Text), entry.Field);
    }
    m_OperatorBox = new QComboBox(this);
    m_OperatorBox->setFixedSize(kOperatorBoxSize);
    for (const OperatorEntry& entry : kOperators) {
        m_OperatorBox->addItem(QString::fromLatin1(entry.Text), entry.Operator);
    }
    m_FilterEdit = new QLineEdit(this);
    m_FilterEdit->setFixedHeight(kRowHeight);
    m_FilterEdit->setMaxLength(kMaxFilterLength);
    m_FilterEdit->setPlaceholderText(QStringLiteral("Filter text"));
    auto* select = SmallButton(this, "Select Report Filter", ":/images/select_16px.png");
    auto* reset = SmallButton(this, "Reset Report Filter", ":/images/clear_16px.png");

    row->addWidget(m_ModeBox);
    row->addWidget(m_FieldBox);
    row->addWidget(m_OperatorBox);
    row->addWidget(m_FilterEdit, 1);
    row->addWidget(select);
    row->addWidget(reset);

    connect(m_ModeBox, &QComboBox::currentIndexChanged, this,
            &SCA_SrvReportsDlg::MonitorModeChanged);
    connect(m_FieldBox, &QComboBox::currentIndexChanged, this,
            &SCA_SrvReportsDlg::FilterModeChanged);
    connect(m_OperatorBox, &QComboBox::currentIndexChanged, this,
            &SCA_SrvReportsDlg::FilterOperatorChanged);
    connect(m_FilterEdit, &QLineEdit::returnPressed, this, &SCA_SrvReportsDlg::FilterReports);
    connect(select, &QToolButton::clicked, this, &SCA_SrvReportsDlg::SelectFilter);
    connect(reset, &QToolButton::clicked, this, &SCA_SrvReportsDlg::ResetFilter);
}

void SCA_SrvReportsDlg::AddSaveActions(QMenu* menu) {
    struct SaveEntry {
        const char* Text;
        const char* Icon;
        void (SCA_SrvReportsDlg::*Slot)();
    };
    static constexpr SaveEntry kSaves[] = {
        {"HTML Report ...", ":/images/file_html_16px.png", &SCA_SrvReportsDlg::SaveReportHtml},
        {"Excel Report ...", ":/images/file_excel_16px.png", &SCA_SrvReportsDlg::SaveReportExcel},
        {"PDF Report ...", ":/images/file_pdf_16px.png", &SCA_SrvReportsDlg::SaveReportPdf},
        {"Text Report ...", ":/images/file_text_16px.png", &SCA_SrvReportsDlg::SaveReportText},
        {"JSON Report ...", ":/images/file_json_16px.png", &SCA_SrvReportsDlg::SaveReportJson},
        {"CSV Report ...", ":/images/file_csv_16px.png", &SCA_SrvReportsDlg::SaveReportCsv},
        {"XML Report ...", ":/images/file_xml_16px.png", &SCA_SrvReportsDlg::SaveReportXml},
    };
    for (const SaveEntry& entry : kSaves) {
        connect(menu->addAction(Icon(entry.Icon), QString::fromLatin1(entry.Text)),
                &QAction::triggered, this, entry.Slot);
    }
}

void SCA_SrvReportsDlg::BuildBottomRow() {
    auto* row = new QHBoxLayout;
    static_cast<QVBoxLayout*>(layout())->addLayout(row);

    m_SaveButton = BottomButton(this, "Save", kSaveWidth);
    m_SaveButton->setIcon(Icon(":/images/save_16px.png"));
    m_SaveButton->setIconSize(kIconSize);
    m_SaveButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_SaveButton->setPopupMode(QToolButton::InstantPopup);
    auto* saveMenu = new QMenu(m_SaveButton);
    AddSaveActions(saveMenu);
    m_SaveButton->setMenu(saveMenu);
    auto* exportButton = BottomButton(this, "Export", kButtonWidth);
    auto* importButton = BottomButton(this, "Import", kButtonWidth);
    m_DeleteButton = BottomButton(this, "Delete", kButtonWidth);
    m_DeleteButton->setIcon(Icon(":/images/close_16px.png"));
    m_DeleteButton->setIconSize(kIconSize);
    m_DeleteButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_DeleteButton->setEnabled(!SCA_SrvReportManager::IsDeleteForbidden(m_Params));
    m_ReportsLabel = CountLabel(this, "Reports:");
    m_DisplayedLabel = CountLabel(this, "Displayed:");
    auto* refresh = BottomButton(this, "Refresh", kCloseWidth);
    auto* close = BottomButton(this, "Close", kCloseWidth);

    row->addWidget(m_SaveButton);
    row->addSpacing(kSpacing);
    row->addWidget(exportButton);
    row->addWidget(importButton);
    row->addSpacing(kSpacing);
    row->addWidget(m_DeleteButton);
    row->addSpacing(kSpacing);
    row->addWidget(m_ReportsLabel, 1);
    row->addWidget(m_DisplayedLabel, 1);
    row->addSpacing(kSpacing);
    row->addWidget(refresh);
    row->addWidget(close);

    connect(exportButton, &QToolButton::clicked, this, &SCA_SrvReportsDlg::ExportReports);
    connect(importButton, &QToolButton::clicked, this, &SCA_SrvReportsDlg::ImportReports);
    connect(m_DeleteButton, &QToolButton::clicked, this, &SCA_SrvReportsDlg::DeleteReports);
    connect(refresh, &QToolButton::clicked, this, &SCA_SrvReportsDlg::RefreshView);
    connect(close, &QToolButton::clicked, this, &QDialog::reject);
    close->setFocus();
}

// --- the context menu ---------------------------------------------------------------------------

QMenu* SCA_SrvReportsDlg::BuildContextMenu(int screens) {
    auto* menu = new QMenu(this);
    connect(menu->addAction(Icon(":/images/options_16px.png"), QStringLiteral("Open Report ...")),
            &QAction::triggered, this, &SCA_SrvReportsDlg::OpenReport);
    SCA_DetachedMenu::AddEntries(menu, "Open Detached", screens,
                                 [this](uint32_t screen) { OpenReportDetached(screen); });
    menu->addSeparator();
    AddSaveActions(menu->addMenu(Icon(":/images/save_16px.png"), QStringLiteral("Save Report")));
    menu->addSeparator();
    connect(
        menu->addAction(Icon(":/images/select_16px.png"), QStringLiteral("Compare Reports ...")),
        &QAction::triggered, this, &SCA_SrvReportsDlg::CompareReports);
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Export Reports ...")), &QAction::triggered, this,
            &SCA_SrvReportsDlg::ExportReports);
    connect(menu->addAction(QStringLiteral("Import Reports ...")), &QAction::triggered, this,
            &SCA_SrvReportsDlg::ImportReports);
    menu->addSeparator();
    QAction* remove =
        menu->addAction(Icon(":/images/close_16px.png"), QStringLiteral("Delete Reports"));
    // The switch that takes the Delete button away takes this entry too.
    remove->setEnabled(!SCA_SrvReportManager::IsDeleteForbidden(m_Params));
    connect(remove, &QAction::triggered, this, &SCA_SrvReportsDlg::DeleteReports);
    return menu;
}

void SCA_SrvReportsDlg::ShowContextMenu(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(
        BuildContextMenu(static_cast<int>(QGuiApplication::screens().size())));
    menu->exec(event->globalPos());
}

// --- the list and its filter --------------------------------------------------------------------

void SCA_SrvReportsDlg::MonitorModeChanged(int /*index*/) {
    RefreshView();
}

void SCA_SrvReportsDlg::FilterModeChanged(int /*index*/) {
    m_FilterEdit->clear();
    RefreshView();
}

void SCA_SrvReportsDlg::FilterOperatorChanged(int /*index*/) {
    m_FilterEdit->clear();
    RefreshView();
}

void SCA_SrvReportsDlg::FilterReports() {
    RefreshView();
}

void SCA_SrvReportsDlg::ResetFilter() {
    m_FilterEdit->clear();
    RefreshView();
}

int SCA_SrvReportsDlg::StartProcess() {
    return RefreshView();
}

void SCA_SrvReportsDlg::SetCounts(uint32_t reports, uint32_t displayed) {
    m_ReportsLabel->setText(QStringLiteral("Reports: %1").arg(reports));
    m_DisplayedLabel->setText(QStringLiteral("Displayed: %1").arg(displayed));
}

QByteArray SCA_SrvReportsDlg::FilterText() const {
    char text[kFilterTextSize];
    SCA_StrnCpy(text, m_FilterEdit->text().toUtf8().constData(), sizeof(text));
    return QByteArray(text);
}

int SCA_SrvReportsDlg::RefreshView() {
    const int read = m_Session->Command(
        [this](SCA_KorvantaInterface& client) { return client.GetReportIndex(&m_Index); });
    if (!read) {
        // The rows of an index that could not be read would be stale: the counts go with them.
        m_Rows->Clear();
        SetCounts(0, 0);
        m_View->SetEmptyHint(QStringLiteral("The service's reports could not be read."));
        return 0;
    }
    return ShowReports();
}

int SCA_SrvReportsDlg::ShowReports() {
    const uint32_t op = m_OperatorBox->currentData().toUInt();
    const uint32_t field = m_FieldBox->currentData().toUInt();
    const int mode = m_ModeBox->currentData().toInt();
    const QByteArray text = FilterText();
    SCA_List<SCA_TezReportInfo*> passed;
    if (!m_Index.FilterReports(text.isEmpty() ? 0 : 1, field, op, text.constData(), &passed)) {
        m_Rows->Clear();
        SetCounts(0, 0);
        return 0;
    }
    std::vector<const SCA_TezReportInfo*> shown;
    shown.reserve(passed.Count());
    QList<QVariant> ids;
    ids.reserve(passed.Count());
    uint32_t reports = 0;
    for (auto* node = passed.GetHead(); node != nullptr; node = node->GetNext()) {
        const SCA_TezReportInfo* info = node->GetItem();
        ++reports;
        if (mode != kAllModes && info->GetMonitorMode() != static_cast<uint32_t>(mode)) {
            continue;
        }
        shown.push_back(info);
        ids.append(info->GetReportId());
    }
    // Rows are kept by report id: a refresh touches only the reports that changed, adds the new
    // ones where they belong and removes the ones gone.
    m_Rows->Apply(ids, [this, &shown](QTreeWidgetItem* row, int index, bool created) {
        FillRow(row, *shown[static_cast<size_t>(index)], created);
    });
    SetCounts(reports, static_cast<uint32_t>(shown.size()));
    m_View->SetEmptyHint(m_Index.Count() == 0
                             ? QStringLiteral("The service keeps no reports yet: a monitor "
                                              "leaves one each time it stops.")
                             : QStringLiteral("No report passes the filter."));
    return 1;
}

void SCA_SrvReportsDlg::FillRow(QTreeWidgetItem* row, const SCA_TezReportInfo& info, bool created) {
    ShownFields shown;
    ReadShownFields(info, &shown);
    // A number is held inside the row's data, where the fields themselves would cost each row an
    // allocation to keep and another to read back.
    const qulonglong now = qHashBits(shown.constData(), static_cast<size_t>(shown.size()));
    const QVariant before = created ? QVariant() : row->data(SCA_SrvReportsView::kIcon, kShownRole);
    if (before.isValid() && before.toULongLong() == now) {
        return;
    }
    row->setData(SCA_SrvReportsView::kIcon, kShownRole, now);
    row->setIcon(SCA_SrvReportsView::kIcon, ModeIcon(info.GetMonitorMode()));
    row->setText(SCA_SrvReportsView::kStartTime,
                 FormatTime(&SCA_FormatAbsTime, info.GetStartTime()));
    row->setText(SCA_SrvReportsView::kDuration,
                 FormatTime(&SCA_FormatTimeEx, info.GetProcessTime()));
    row->setText(SCA_SrvReportsView::kProfile, QString::fromUtf8(info.GetProfileName()));
    row->setText(SCA_SrvReportsView::kHost, QString::fromUtf8(info.GetHostName()));
    row->setText(SCA_SrvReportsView::kCounters, QString::number(info.GetNumOfCounters()));
    row->setText(SCA_SrvReportsView::kErrors, QString::number(info.GetNumOfErrors()));
}

const QIcon& SCA_SrvReportsDlg::ModeIcon(uint32_t mode) {
    auto found = m_ModeIcons.find(mode);
    if (found == m_ModeIcons.end()) {
        found = m_ModeIcons.insert(mode, Icon(SCA_TezGetModeSmallIcon(mode)));
    }
    return found.value();
}

void SCA_SrvReportsDlg::SelectFilter() {
    const uint32_t field = m_FieldBox->currentData().toUInt();
    SCA_ConfigObj values("FilterValues", nullptr);
    m_Index.FillFilterValues(field, &values, 0);
    const FieldEntry* entry = FieldOf(field);
    SCA_ListDlg dialog(
        this, QString::fromLatin1(entry != nullptr ? entry->PickTitle : "Select Filter Value"),
        QString::fromLatin1(entry != nullptr ? entry->Icon : ":/images/profile_16px.png"));
    if (!dialog.UpdateDialog(&values)) {
        ShowMessage(QStringLiteral("There are no reports to take a filter value from."));
        return;
    }
    if (SCA_ExecDialog(&dialog) != QDialog::Accepted) {
        return;
    }
    char value[kFilterTextSize];
    if (dialog.GetData(value, sizeof(value))) {
        m_FilterEdit->setText(QString::fromUtf8(value));
        RefreshView();
    }
}

// --- the selection ------------------------------------------------------------------------------

SCA_SrvReportsDlg::Selection SCA_SrvReportsDlg::GatherSelection(SCA_List<SCA_TezReportInfo*>* list,
                                                                uint32_t* missingId) {
    list->Clear();
    QTreeWidgetItem* current = m_View->currentItem();
    if (current == nullptr || current->treeWidget() != m_View || !current->isSelected()) {
        return Selection::Nothing;
    }
    for (QTreeWidgetItemIterator it(m_View, QTreeWidgetItemIterator::Selected); *it != nullptr;
         ++it) {
        const uint32_t id = SCA_TreeRows::IdOf(*it).toUInt();
        SCA_TezReportInfo* info = nullptr;
        if (!m_Index.GetReportInfo(id, &info) || info == nullptr) {
            list->Clear();
            *missingId = id;
            return Selection::NotFound;
        }
        list->AddItemToTail(info);
    }
    return Selection::Found;
}

bool SCA_SrvReportsDlg::GatherFor(SCA_List<SCA_TezReportInfo*>* list, const QString& nothingText,
                                  const char* caller) {
    uint32_t missing = 0;
    switch (GatherSelection(list, &missing)) {
    case Selection::Found:
        return true;
    case Selection::Nothing:
        ShowMessage(nothingText);
        return false;
    case Selection::NotFound:
        SCA_GetReportFunction(__FILE__, __LINE__)(SCA_LEVEL_ERROR, "%s: cannot access report - %u",
                                                  caller, missing);
        return false;
    }
    return false;
}

void SCA_SrvReportsDlg::ShowMessage(const QString& text) {
    SCA_ShowMessageBox(this, SCA_LEVEL_INFO, QStringLiteral("Message"), text);
}
