// SPDX-License-Identifier: MIT
#include "korvac/monitor/SCA_SrvAddCounterDlg.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "korvac/kit/SCA_ClientSession.h"
#include "korvac/kit/SCA_ListLook.h"
#include "korvac/monitor/SCA_HintTree.h"
#include "korvac/monitor/SCA_SrvCounterCategories.h"
#include "libmor/SCA_Report.h"
#include "libmor/SCA_String.h"
#include "libmor/SCA_System.h"
#include "libvop/SCA_EntryDlg.h"
#include "libvop/SCA_IconEngine.h"
#include "libvop/SCA_ModalHook.h"
#include "libvop/SCA_ToolButton.h"
#include "model/SCA_TezConfigUser.h"
#include "model/SCA_TezCounterMeta.h"

namespace {

constexpr char kLocalComputer[] = "Local Computer";
constexpr uint32_t kStatusOk = 1;
constexpr uint32_t kAvailable = 1;
constexpr uint32_t kErrorTextSize = 256;
// The most characters the user may type for a computer; what is kept must also fit the
// counters' computer field (SCA_TEZ_NAME_SIZE with its terminator).
constexpr uint32_t kComputerEntryLength = 64;

constexpr int kCategoryWidth = 170;
constexpr int kCategoryIconColumn = 40;
constexpr int kListIconColumn = 22;
constexpr int kTextColumnWidth = 100;
constexpr QSize kCategoryIconSize(32, 32);
constexpr int kSeparatorHeight = 10;
constexpr int kSeparatorStyle = QFrame::HLine | QFrame::Sunken;
constexpr int kRowHeight = 24;
constexpr int kButtonWidth = 60;
constexpr QSize kSmallButtonSize(24, 24);
constexpr QSize kButtonIconSize(16, 16);
constexpr QSize kComputerComboSize(140, 24);
constexpr QSize kMinimumSize(680, 328);
constexpr QSize kInitialSize(900, 420);
// Between the category names and the list's frame and scroll bar.
constexpr int kCategoryPadding = 12;

QIcon Icon(const char* path) {
    return SCA_IconEngine::Load(QString::fromLatin1(path));
}

SCA_ToolButton* BottomButton(QWidget* parent, const char* text, const char* icon) {
    auto* button = new SCA_ToolButton(parent);
    button->setMinimumWidth(kButtonWidth);
    button->setFixedHeight(kRowHeight);
    button->setText(QString::fromLatin1(text));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    if (icon != nullptr) {
        button->setIcon(Icon(icon));
        button->setIconSize(kButtonIconSize);
    }
    return button;
}

// Whether the UTF-8 text fits a buffer of size bytes with its terminator.
bool Fits(const QByteArray& text, uint32_t size) {
    return static_cast<uint64_t>(text.size()) < size;
}

bool IsChosen(const QTreeWidgetItem* row) {
    return row != nullptr && row->isSelected();
}

} // namespace

SCA_SrvAddCounterDlg::SCA_SrvAddCounterDlg(QWidget* parent, SCA_TezConfig* productConfig,
                                           SCA_TezConfigUser* userConfig,
                                           SCA_ClientSession* session, const char* computer)
    : QDialog(parent), m_ProductConfig(productConfig), m_UserConfig(userConfig), m_Session(session),
      m_RemoteComputers(userConfig->GetRemoteComputers()) {
    static constexpr const char* kInventoryNames[kInventoryCount] = {
        "CpuList",  "CpuListEx",    "NicList",   "DiskList",     "PDiskList",
        "UsbList",  "ProcessList",  "ShareList", "SqlInstances", "SqlDatabases",
        "SiteList", "iSCSITargets", "Printers"};
    for (int inventory = 0; inventory < kInventoryCount; ++inventory) {
        m_Inventories[static_cast<size_t>(inventory)].reset(
            new SCA_ConfigObj(kInventoryNames[inventory], nullptr));
    }
    SCA_StrnCpy(m_Computer, computer, sizeof(m_Computer));

    setWindowTitle(QStringLiteral("Add Counter"));
    setModal(true);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* lists = new QHBoxLayout();
    m_CategoryTree = AddList(lists, "Category", kCategoryIconColumn, 0);
    m_CategoryTree->setIconSize(kCategoryIconSize);
    FitCategoryWidth();
    m_CounterTree = AddList(lists, "Counter", kListIconColumn, 1);
    m_InstanceTree = AddList(lists, "Instance", kListIconColumn, 1);
    layout->addLayout(lists, 1);
    auto* separator = new QFrame(this);
    separator->setFixedHeight(kSeparatorHeight);
    separator->setFrameStyle(kSeparatorStyle);
    layout->addWidget(separator);
    m_BottomRow = new QHBoxLayout();
    BuildBottomRow(m_BottomRow);
    layout->addLayout(m_BottomRow);

    connect(m_CategoryTree, &QTreeWidget::itemClicked, this,
            &SCA_SrvAddCounterDlg::CategorySelected);
    connect(m_CounterTree, &QTreeWidget::itemClicked, this, &SCA_SrvAddCounterDlg::CounterSelected);
    connect(m_CounterTree, &QTreeWidget::itemDoubleClicked, this,
            &SCA_SrvAddCounterDlg::CounterClicked);
    connect(m_InstanceTree, &QTreeWidget::itemDoubleClicked, this,
            &SCA_SrvAddCounterDlg::InstanceClicked);
    connect(m_ConnectButton, &QToolButton::clicked, this, &SCA_SrvAddCounterDlg::AddComputer);
    connect(m_ComputerCombo, &QComboBox::currentIndexChanged, this,
            &SCA_SrvAddCounterDlg::ComputerNameChanged);
    connect(m_AddButton, &QToolButton::clicked, this, &SCA_SrvAddCounterDlg::Accept);
    connect(m_CancelButton, &QToolButton::clicked, this, &QDialog::reject);

    // Room for the longer counter names at first; the lists scroll rather than cut any text.
    resize(kInitialSize);
    setMinimumSize(kMinimumSize);
    m_CategoryTree->setFocus();
}

SCA_SrvAddCounterDlg::~SCA_SrvAddCounterDlg() = default;

SCA_HintTree* SCA_SrvAddCounterDlg::AddList(QBoxLayout* row, const char* header,
                                            int iconColumnWidth, int stretch) {
    auto* tree = new SCA_HintTree(this);
    SCA_ListLook::Apply(tree);
    tree->setColumnCount(2);
    tree->setHeaderLabels({QString::fromLatin1(header), QString()});
    tree->setColumnWidth(kIconColumn, iconColumnWidth);
    tree->setColumnWidth(kTextColumn, kTextColumnWidth);
    tree->setHeaderHidden(true);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(kTextColumn, QHeaderView::ResizeToContents);
    row->addWidget(tree, stretch);
    return tree;
}

void SCA_SrvAddCounterDlg::FitCategoryWidth() {
    int widest = kTextColumnWidth;
    for (const SCA_SrvCounterCategories::Row& row : SCA_SrvCounterCategories::Rows()) {
        widest = std::max(
            widest, m_CategoryTree->fontMetrics().horizontalAdvance(QString::fromLatin1(row.Text)));
    }
    const int width = kCategoryIconColumn + widest + kCategoryPadding +
                      2 * m_CategoryTree->frameWidth() +
                      m_CategoryTree->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    m_CategoryTree->setFixedWidth(std::max(kCategoryWidth, width));
}

void SCA_SrvAddCounterDlg::BuildBottomRow(QBoxLayout* row) {
    m_ConnectButton = new SCA_ToolButton(this);
    m_ConnectButton->setMinimumWidth(kButtonWidth);
    m_ConnectButton->setFixedHeight(kRowHeight);
    m_ConnectButton->setFixedSize(kSmallButtonSize);
    m_ConnectButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_ConnectButton->setIcon(Icon(":/images/arb_16px.png"));
    m_ConnectButton->setIconSize(kButtonIconSize);
    m_ConnectButton->setToolTip(QStringLiteral("Connect To Remote Computer"));
    m_ConnectButton->setStyleSheet(QString::fromLatin1(SCA_ToolButton::kFramedStyle));
    row->addWidget(m_ConnectButton);
    m_ComputerCombo = new QComboBox(this);
    m_ComputerCombo->setFixedSize(kComputerComboSize);
    row->addWidget(m_ComputerCombo);
    row->addStretch();
    m_AddButton = BottomButton(this, "Add", ":/images/add_16px.png");
    row->addWidget(m_AddButton);
    m_CancelButton = BottomButton(this, "Cancel", nullptr);
    row->addWidget(m_CancelButton);
}

// --- filling ---------------------------------------------------------------------------------

int SCA_SrvAddCounterDlg::AskAvailable(int (SCA_KorvantaInterface::*question)(const char*,
                                                                              uint32_t*, uint32_t*),
                                       uint32_t* available) {
    uint32_t answer = 0;
    uint32_t error = 0;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return (client.*question)(m_Computer, &answer, &error);
        })) {
        return 0;
    }
    *available = answer == kAvailable ? 1 : 0;
    return 1;
}

int SCA_SrvAddCounterDlg::FillDialog() {
    m_Filled = 0;
    m_InstanceTree->clear();
    for (auto& inventory : m_Inventories) {
        inventory->Clear();
    }
    uint32_t networkFilter = 0;
    if (!AskAvailable(&SCA_KorvantaInterface::PerfMonitorGetWFPv4Status, &networkFilter)) {
        networkFilter = 0;
    }
    FillCategories(networkFilter != 0);
    auto report = SCA_GetReportFunction(__FILE__, __LINE__);
    if (!AskAvailable(&SCA_KorvantaInterface::PerfMonitorGetCpuFreqStatus, &m_CpuFreqAvailable)) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvAddCounterDlg::FillDialog: cannot check CPU frequency counters status.");
        return 0;
    }
    if (!AskAvailable(&SCA_KorvantaInterface::PerfMonitorGetTCPv6Status, &m_TcpV6Available)) {
        report(SCA_LEVEL_ERROR,
               "SCA_SrvAddCounterDlg::FillDialog: cannot check TCP/IP v6 counters status.");
        return 0;
    }
    BuildStandardTable();
    FillComputers();
    m_Filled = 1;
    return 1;
}

void SCA_SrvAddCounterDlg::FillCategories(bool networkFilter) {
    m_CategoryTree->clear();
    for (const SCA_SrvCounterCategories::Row& row : SCA_SrvCounterCategories::Rows()) {
        if (row.Category == SCA_COUNTER_CATEGORY_NET_FILTER && !networkFilter) {
            continue;
        }
        auto* item = new QTreeWidgetItem(m_CategoryTree);
        item->setIcon(kIconColumn, Icon(row.Icon));
        item->setText(kTextColumn, QString::fromLatin1(row.Text));
        item->setData(kIconColumn, kDataRole, QVariant(row.Category));
    }
    QTreeWidgetItem* first = m_CategoryTree->topLevelItem(0);
    m_CategoryTree->setCurrentItem(first);
}

void SCA_SrvAddCounterDlg::FillComputers() {
    const QSignalBlocker quiet(m_ComputerCombo);
    m_ComputerCombo->clear();
    m_ComputerCombo->addItem(QString::fromLatin1(kLocalComputer));
    QStringList names;
    if (m_Computer[0] != '\0') {
        names << QString::fromUtf8(m_Computer);
    }
    for (const SCA_Field* field = m_RemoteComputers->GetHead(); field != nullptr;
         field = field->GetNext()) {
        // A name listed once, and only one that a counter's computer field can carry.
        const QString name = QString::fromUtf8(field->GetName());
        if (!names.contains(name) && Fits(name.toUtf8(), SCA_TEZ_NAME_SIZE)) {
            names << name;
        }
    }
    m_ComputerCombo->addItems(names);
    ShowComputer();
}

void SCA_SrvAddCounterDlg::ShowComputer() {
    const QSignalBlocker quiet(m_ComputerCombo);
    const int index = m_Computer[0] != '\0'
                          ? m_ComputerCombo->findText(QString::fromUtf8(m_Computer),
                                                      Qt::MatchExactly | Qt::MatchCaseSensitive)
                          : 0;
    if (index >= 0) {
        m_ComputerCombo->setCurrentIndex(index);
    }
}

void SCA_SrvAddCounterDlg::BeginFiller() {
    m_CounterTable.Clear();
    m_CounterTree->clear();
    m_InstanceTree->clear();
    m_CounterTree->SetHint(QString());
    m_InstanceTree->SetHint(QString());
    if (m_SqlInstanceCombo != nullptr) {
        delete m_SqlInstanceCombo;
        m_SqlInstanceCombo = nullptr;
    }
}

void SCA_SrvAddCounterDlg::AddCounterItem(uint32_t category, uint32_t counterType) {
    m_CounterTable.AddItemToTail(category, counterType);
}

void SCA_SrvAddCounterDlg::AddCategoryCounters(uint32_t category) {
    std::vector<uint32_t> types;
    SCA_SrvCounterCategories::AppendCounters(category, m_CpuFreqAvailable != 0,
                                             m_TcpV6Available != 0, &types);
    for (uint32_t type : types) {
        AddCounterItem(category, type);
    }
}

uint32_t SCA_SrvAddCounterDlg::CurrentId(SCA_HintTree* tree) const {
    const QTreeWidgetItem* row = tree->currentItem();
    return IsChosen(row) ? row->data(kIconColumn, kDataRole).toUInt() : SCA_ALL_ONES;
}

void SCA_SrvAddCounterDlg::ListCounters() {
    m_CounterTree->clear();
    const uint32_t chosen = CurrentId(m_CategoryTree);
    const uint32_t category = chosen == SCA_ALL_ONES ? SCA_COUNTER_CATEGORY_ALL : chosen;
    for (auto* node = m_CounterTable.GetHead(); node != nullptr; node = node->GetNext()) {
        if (category != SCA_COUNTER_CATEGORY_ALL && node->GetItem() != category) {
            continue;
        }
        const uint32_t type = node->GetId();
        auto* row = new QTreeWidgetItem(m_CounterTree);
        row->setIcon(kIconColumn, Icon(SCA_TezGetCounterIcon(type)));
        row->setText(kTextColumn, QString::fromUtf8(SCA_TezGetCounterDescr(type)));
        row->setData(kIconColumn, kDataRole, QVariant(type));
    }
    QTreeWidgetItem* first = m_CounterTree->topLevelItem(0);
    if (first != nullptr) {
        m_CounterTree->setCurrentItem(first);
    } else {
        m_CounterTree->SetHint(QStringLiteral("No counters of this category on this computer."));
    }
}

void SCA_SrvAddCounterDlg::BuildStandardTable() {
    BeginFiller();
    for (uint32_t category : SCA_SrvCounterCategories::StandardCategories()) {
        AddCategoryCounters(category);
    }
    ListCounters();
    const uint32_t counterType = CurrentId(m_CounterTree);
    if (counterType != SCA_ALL_ONES) {
        FillInstances(counterType);
    }
}

void SCA_SrvAddCounterDlg::FillCategory(uint32_t category) {
    BeginFiller();
    if (!FillCategoryInstances(category)) {
        return;
    }
    AddCategoryCounters(category);
    ListCounters();
    if (category == SCA_COUNTER_CATEGORY_SQL) {
        FillSqlDatabases();
    }
}

// --- slots -----------------------------------------------------------------------------------

void SCA_SrvAddCounterDlg::CategorySelected(QTreeWidgetItem*, int) {
    const uint32_t category = CurrentId(m_CategoryTree);
    if (category == SCA_ALL_ONES) {
        return;
    }
    if (SCA_SrvCounterCategories::HasOwnFiller(category)) {
        FillCategory(category);
    } else {
        BuildStandardTable();
    }
}

void SCA_SrvAddCounterDlg::CounterSelected(QTreeWidgetItem*, int) {
    const uint32_t counterType = CurrentId(m_CounterTree);
    if (counterType != SCA_ALL_ONES) {
        FillInstances(counterType);
    }
}

void SCA_SrvAddCounterDlg::CounterClicked(QTreeWidgetItem*, int) {
    Accept();
}

void SCA_SrvAddCounterDlg::InstanceClicked(QTreeWidgetItem*, int) {
    Accept();
}

void SCA_SrvAddCounterDlg::Accept() {
    if (!IsChosen(m_CounterTree->currentItem())) {
        Tell(SCA_LEVEL_INFO, QStringLiteral("Please, select a counter to add."));
        return;
    }
    if (!IsChosen(m_InstanceTree->currentItem())) {
        Tell(SCA_LEVEL_INFO, QStringLiteral("Please, select a counter instance to add."));
        return;
    }
    accept();
}

void SCA_SrvAddCounterDlg::Tell(uint32_t type, const QString& text, const char* title) {
    const char* byLevel = type == SCA_LEVEL_INFO      ? "Message"
                          : type == SCA_LEVEL_WARNING ? "Warning"
                                                      : "Error";
    SCA_ShowMessageBox(this, type, QString::fromLatin1(title != nullptr ? title : byLevel), text);
}

int SCA_SrvAddCounterDlg::GetSelectedCounter(uint32_t* counterType, char* computer,
                                             uint32_t computerSize, char* instance,
                                             uint32_t instanceSize, char* sqlInstance,
                                             uint32_t sqlInstanceSize) {
    for (auto [text, size] : {std::pair{computer, computerSize}, std::pair{instance, instanceSize},
                              std::pair{sqlInstance, sqlInstanceSize}}) {
        if (text != nullptr && size > 0) {
            text[0] = '\0';
        }
    }
    const uint32_t type = CurrentId(m_CounterTree);
    if (type == SCA_ALL_ONES) {
        Tell(SCA_LEVEL_INFO, QStringLiteral("Select a counter to add."));
        return 0;
    }
    const QTreeWidgetItem* row = m_InstanceTree->currentItem();
    const QByteArray instanceName =
        IsChosen(row) ? row->data(kIconColumn, kDataRole).toString().toUtf8() : QByteArray();
    const QByteArray sqlName =
        m_SqlInstanceCombo != nullptr ? m_SqlInstanceCombo->currentText().toUtf8() : QByteArray();
    // A name cut short would name another computer or instance, or none: refuse it whole.
    if (!Fits(QByteArray(m_Computer), computerSize) || !Fits(instanceName, instanceSize) ||
        !Fits(sqlName, sqlInstanceSize)) {
        Tell(SCA_LEVEL_ERROR, QStringLiteral("The name of the computer or of the instance is too "
                                             "long to be added to a monitor."));
        return 0;
    }
    SCA_StrnCpy(computer, m_Computer, computerSize);
    SCA_StrnCpy(instance, instanceName.constData(), instanceSize);
    SCA_StrnCpy(sqlInstance, sqlName.constData(), sqlInstanceSize);
    *counterType = type;
    return 1;
}

void SCA_SrvAddCounterDlg::AddComputer() {
    SCA_EntryDlg entry(this, QStringLiteral("Connect To Remote Computer"),
                       QStringLiteral("Computer Name:"), "", kComputerEntryLength);
    if (SCA_ExecDialog(&entry) != QDialog::Accepted) {
        return;
    }
    const QString typed = entry.GetEdit()->text().trimmed();
    const QByteArray name = typed.toUtf8();
    if (name.isEmpty()) {
        return;
    }
    if (!Fits(name, SCA_TEZ_NAME_SIZE)) {
        Tell(SCA_LEVEL_WARNING,
             QStringLiteral("The computer name is too long - %1 (at most %2 bytes)")
                 .arg(typed)
                 .arg(SCA_TEZ_NAME_SIZE - 1));
        return;
    }
    if (m_RemoteComputers->IsFieldExists(name.constData())) {
        const int index =
            m_ComputerCombo->findText(typed, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (index >= 0) {
            m_ComputerCombo->setCurrentIndex(index);
        }
        return;
    }
    uint32_t status = 0;
    if (!m_Session->Command([&](SCA_KorvantaInterface& client) {
            return client.PerfMonitorConnect(name.constData(), &status);
        })) {
        SCA_GetReportFunction(__FILE__, __LINE__)(
            SCA_LEVEL_ERROR,
            "SCA_SrvAddCounterDlg::AddComputer: cannot communicate with the Korvanta Server");
        return;
    }
    char reason[kErrorTextSize] = "";
    if (status != kStatusOk) {
        SCA_GetErrorDescr(status, reason, sizeof(reason));
        SCA_ShowMessageBox(this, SCA_LEVEL_WARNING, QStringLiteral("Error"),
                           QStringLiteral("Cannot connect to the remote computer - %1 (%2)")
                               .arg(typed, QString::fromUtf8(reason)));
        return;
    }
    uint64_t totalBytes = 0;
    status = 0;
    const int sized = m_Session->Command([&](SCA_KorvantaInterface& client) {
        return client.PerfMonitorGetTotalMemory(name.constData(), &totalBytes, &status);
    });
    if (!sized || status != kStatusOk) {
        SCA_GetErrorDescr(status, reason, sizeof(reason));
        SCA_ShowMessageBox(this, SCA_LEVEL_ERROR, QStringLiteral("Error"),
                           QStringLiteral("Cannot connect to the remote computer (%1)")
                               .arg(QString::fromUtf8(reason)));
        return;
    }
    m_RemoteComputers->AddField(name.constData(), 0, 1);
    // The combo's change makes the name the target and fills the lists for it.
    m_ComputerCombo->addItem(typed);
    m_ComputerCombo->setCurrentIndex(m_ComputerCombo->count() - 1);
}

void SCA_SrvAddCounterDlg::ComputerNameChanged(int) {
    if (m_Filled == 0) {
        return;
    }
    char previous[sizeof(m_Computer)] = "";
    SCA_StrnCpy(previous, m_Computer, sizeof(previous));
    const QString chosen = m_ComputerCombo->currentText();
    SCA_StrnCpy(m_Computer,
                chosen == QLatin1String(kLocalComputer) ? "" : chosen.toUtf8().constData(),
                sizeof(m_Computer));
    if (FillDialog()) {
        return;
    }
    // The lists stay those of the computer the user had, and the combo says so and stays in
    // use, so another computer can still be chosen.
    Tell(SCA_LEVEL_ERROR,
         QStringLiteral("Cannot get the counters of %1 from the Korvanta Server.").arg(chosen));
    SCA_StrnCpy(m_Computer, previous, sizeof(m_Computer));
    if (!FillDialog()) {
        ShowComputer();
        m_Filled = 1;
    }
}

void SCA_SrvAddCounterDlg::SqlInstanceChanged(int) {
    m_Inventories[kSqlDatabases]->Clear();
    FillSqlDatabases();
}
