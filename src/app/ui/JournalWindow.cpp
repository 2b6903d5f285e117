#include "ui/JournalWindow.h"

#include "calls/AppContext.h"
#include "calls/NotificationText.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "support/UserPrompt.h"
#include "support/Version.h"
#include "ui/AppCommands.h"
#include "ui/ClickableLabel.h"
#include "ui/DesktopPictures.h"
#include "ui/JournalTableModel.h"
#include "ui/LanguageTags.h"
#include "ui/OptionsSlide.h"
#include "ui/PhonebookAdd.h"
#include "ui/RejectButton.h"
#include "ui/WindowLook.h"

#include <utility>

#include <QAction>
#include <QCloseEvent>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

namespace {

// Design measures in twips.
constexpr int kClientWidth = 8175;
constexpr int kButtonWidth = 1575;
constexpr int kButtonHeight = 375;

} // namespace

JournalWindowParts JournalWindowParts::of(AppContext& context) {
    return {context.settings, context.language,
            context.journal,  context.phonebook,
            context.msnList,  context.contacts,
            context.origins,  [&context]() { context.loadJournal(); }};
}

JournalTableParts JournalWindowParts::tableParts() const {
    return {language, journal, phonebook, msnList, contacts};
}

JournalWindow::JournalWindow(JournalWindowParts parts, const DesktopPictures& pictures,
                             AppCommands& commands, UserPrompt& prompt,
                             std::function<bool()> trayAvailable, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      m_parts(std::move(parts)), m_pictures(pictures), m_commands(commands), m_prompt(prompt),
      m_trayAvailable(std::move(trayAvailable)), m_scale(TwipsScale::forScreen()) {
    setObjectName("frmJournal");
    setLanguageTag(this, lang_id::kCallJournal);
    setFixedSize(m_scale.size(kClientWidth, OptionsSlide::kShutClientHeight));
    useDesignFont(this);
    createControls();
    createCallMenu();
    applyLanguageTags(this, m_parts.language);
    fitButtonCaptions(this);
    applyLook();
    centreOnScreen(this);
    refresh(false);
    m_versionLabel->setText(QStringLiteral("Rufwacht %1.%2.%3")
                                .arg(kAppVersionMajor)
                                .arg(kAppVersionMinor)
                                .arg(kAppVersionPatch));
}

JournalWindow::~JournalWindow() = default;

QPushButton* JournalWindow::addButton(QWidget* parent, const char* name, int languageId, int left,
                                      int top, int width, int height) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    setLanguageTag(button, languageId);
    placeInTwips(button, m_scale, left, top, width, height);
    return button;
}

void JournalWindow::createControls() {
    // The notification icon reports to the desktop directly; the sink stays for its name.
    m_notificationSink = new QWidget(this);
    m_notificationSink->setObjectName("picPopUp");
    placeInTwips(m_notificationSink, m_scale, 240, 4080, 495, 495);
    m_notificationSink->hide();

    m_menuPanel = new QWidget(this);
    m_menuPanel->setObjectName("picMenu");
    placeInTwips(m_menuPanel, m_scale, 8040, 3720, 15, 1575);
    m_menuPanel->hide();
    QPushButton* prefixCheckButton = addButton(m_menuPanel, "cmdPrefixCheck", lang_id::kPrefixCheck,
                                               240, 1080, kButtonWidth, kButtonHeight);
    QPushButton* updateCheckButton =
        addButton(m_menuPanel, "cmdUpdateCheck", lang_id::kSearchUpdate, 240, 600, kButtonWidth,
                  kButtonHeight);
    QPushButton* clearListButton = addButton(m_menuPanel, "cmdClearList", lang_id::kClearList, 240,
                                             120, kButtonWidth, kButtonHeight);
    QPushButton* settingsButton = addButton(m_menuPanel, "cmdConfig", lang_id::kSettings, 2400, 120,
                                            kButtonWidth, kButtonHeight);
    QPushButton* infoButton =
        addButton(m_menuPanel, "cmdInfo", lang_id::kInfo, 2400, 600, kButtonWidth, kButtonHeight);
    QPushButton* exitButton = addButton(m_menuPanel, "cmdExit", lang_id::kExitTitle, 2400, 1080,
                                        kButtonWidth, kButtonHeight);

    m_callsPanel = new QWidget(this);
    m_callsPanel->setObjectName("picISDN");
    placeInTwips(m_callsPanel, m_scale, 120, 120, 7935, 3015);
    QPushButton* rejectButton =
        addButton(m_callsPanel, "cmdReject", lang_id::kRejectCall, 120, 2520, 1815, kButtonHeight);

    m_callTable = new QTableView(m_callsPanel);
    m_callTable->setObjectName("lstCalls");
    placeInTwips(m_callTable, m_scale, 120, 120, 7575, 2295);
    m_model = new JournalTableModel(m_parts.tableParts(), this);
    m_model->setMissedTest(
        [this](const JournalRecord& record) { return m_commands.isMissedCall(record); });
    m_callTable->setModel(m_model);
    m_callTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_callTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_callTable->setSelectionMode(QAbstractItemView::SingleSelection);
    m_callTable->setShowGrid(false);
    m_callTable->setWordWrap(false);
    m_callTable->setTabKeyNavigation(false);
    m_callTable->verticalHeader()->hide();
    m_callTable->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_callTable->verticalHeader()->setDefaultSectionSize(m_callTable->fontMetrics().height() + 4);
    m_callTable->horizontalHeader()->setHighlightSections(false);
    m_callTable->horizontalHeader()->setStretchLastSection(false);
    m_callTable->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_callTable->viewport()->installEventFilter(this);

    m_optionsToggle = new ClickableLabel(m_callsPanel);
    m_optionsToggle->setObjectName("lblOptions");
    placeInTwips(m_optionsToggle, m_scale, 7440, 2520, 255, 255);
    m_optionsToggle->setAlignment(Qt::AlignCenter);
    m_optionsToggle->setFont(QFont("Tahoma", 9));
    m_optionsToggle->setText(">>");

    m_versionLabel = new QLabel(this);
    m_versionLabel->setObjectName("lblInfo");
    placeInTwips(m_versionLabel, m_scale, 960, 3240, 7095, 375);
    m_versionLabel->setAlignment(Qt::AlignCenter);
    QFont infoFont("Tahoma");
    infoFont.setPointSizeF(15.75);
    infoFont.setBold(true);
    m_versionLabel->setFont(infoFont);

    m_slide = new OptionsSlide(this, m_menuPanel, m_scale, this);
    connect(m_slide, &OptionsSlide::finished, this, [this]() {
        m_optionsToggle->setEnabled(true);
        emit optionsSlideFinished();
    });
    connect(m_optionsToggle, &ClickableLabel::clicked, this, &JournalWindow::toggleOptions);
    connect(clearListButton, &QPushButton::clicked, this, &JournalWindow::clearList);
    connect(prefixCheckButton, &QPushButton::clicked, this, &JournalWindow::prefixCheck);
    connect(updateCheckButton, &QPushButton::clicked, this,
            [this]() { m_commands.checkForUpdate(); });
    connect(exitButton, &QPushButton::clicked, this, [this]() { m_commands.exitApp(); });
    connect(settingsButton, &QPushButton::clicked, this,
            [this]() { m_commands.openSettings(false); });
    connect(infoButton, &QPushButton::clicked, this, [this]() { m_commands.openSettings(true); });
    connect(rejectButton, &QPushButton::clicked, this, [this]() { m_commands.rejectCall(); });
    offerRejectIfPossible(rejectButton, m_commands, m_parts.language);
}

void JournalWindow::createCallMenu() {
    m_callMenu = new QMenu(this);
    m_callMenu->setObjectName("mnuJournalPopup");
    QAction* identify = addTaggedAction(m_callMenu, "mnuJournalIdentify", lang_id::kReverseLookup);
    QAction* addToPhonebook =
        addTaggedAction(m_callMenu, "mnuJournalAddPB", lang_id::kAddToPhonebook);
    QAction* remove = addTaggedAction(m_callMenu, "mnuJournalDel", lang_id::kDeleteEntry);
    connect(identify, &QAction::triggered, this, &JournalWindow::identifySelected);
    connect(addToPhonebook, &QAction::triggered, this, &JournalWindow::addSelectedToPhonebook);
    connect(remove, &QAction::triggered, this, &JournalWindow::deleteSelected);
}

void JournalWindow::applyLook() {
    setWindowIcon(m_pictures.telBlack);
    const bool withPicture = m_parts.settings.style == 0;
    setWindowBackground(this, withPicture ? m_pictures.background() : QPixmap());
    setPlainBackground(m_callsPanel);
    setPlainBackground(m_menuPanel);
    QPalette infoPalette = m_versionLabel->palette();
    infoPalette.setColor(QPalette::WindowText, Qt::black);
    m_versionLabel->setPalette(infoPalette);
}

void JournalWindow::refresh(bool clear) {
    if (clear) {
        m_parts.journal.clear();
    }
    m_model->refresh();
    sizeColumns();
    // Deleted or cleared records take their missed calls with them.
    showMissedCalls();
    emit refreshed();
}

void JournalWindow::showMissedCalls() {
    QString title = qs(m_parts.language.text(lang_id::kCallJournal));
    const int count = m_commands.missedCallCount();
    if (count > 0) {
        title += " - " + qs(missedCountText(count, m_parts.language));
    }
    setWindowTitle(title);
    // Rows change colour only when the count does (a missed call, a look at the journal).
    if (std::exchange(m_shownMissedCount, count) != count) {
        m_model->missedCallsChanged();
    }
}

void JournalWindow::sizeColumns() {
    const int listWidth = m_callTable->width();
    for (int column = 0; column < JournalTableModel::kColumnCount; ++column) {
        m_callTable->setColumnWidth(column, listWidth / JournalTableModel::widthDivisor(column));
    }
}

void JournalWindow::bringToFront() {
    raise();
    activateWindow();
}

void JournalWindow::showAndActivate() {
    // The journal is read when it is first shown.
    m_parts.loadJournal();
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    bringToFront();
}

void JournalWindow::minimize() {
    setWindowState(windowState() | Qt::WindowMinimized);
}

void JournalWindow::openFromTray() {
    showAndActivate();
    refresh(false);
    m_commands.playSound("load");
}

void JournalWindow::showFromMenu() {
    showAndActivate();
    m_commands.playSound("load");
}

bool JournalWindow::isOptionsOpen() const {
    return m_optionsToggle->text() == "<<";
}

bool JournalWindow::isSliding() const {
    return m_slide->isRunning();
}

void JournalWindow::toggleOptions() {
    if (m_slide->isRunning()) {
        return;
    }
    m_optionsToggle->setEnabled(false);
    if (isOptionsOpen()) {
        m_optionsToggle->setText(">>");
        m_slide->shut();
    } else {
        m_optionsToggle->setText("<<");
        m_slide->open();
    }
}

void JournalWindow::clearList() {
    if (m_prompt.question(m_parts.language.text(lang_id::kClearListQuestion), "")) {
        refresh(true);
    }
}

void JournalWindow::prefixCheck() {
    const auto entry = m_prompt.input(m_parts.language.text(lang_id::kPrefixCheckPrompt), "", "");
    if (!entry || entry->empty()) {
        return;
    }
    const std::string origin = m_parts.origins.originOf(*entry);
    m_prompt.message(origin.empty() ? m_parts.language.text(lang_id::kPrefixCheckNoResult) : origin,
                     "", PromptIcon::Information);
}

std::optional<int> JournalWindow::selectedRow() const {
    const QModelIndexList rows = m_callTable->selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        return std::nullopt;
    }
    return rows.first().row();
}

QString JournalWindow::selectedText(int role) const {
    const auto row = selectedRow();
    return row ? m_model->index(*row, 0).data(role).toString() : QString();
}

void JournalWindow::identifySelected() {
    if (selectedRow()) {
        m_commands.identify(ss(selectedText(Qt::DisplayRole)));
    }
}

void JournalWindow::addSelectedToPhonebook() {
    if (selectedRow()) {
        askAndAddToPhonebook(ss(selectedText(Qt::DisplayRole)), m_prompt, m_parts.language,
                             m_parts.phonebook);
    }
}

void JournalWindow::deleteSelected() {
    const auto row = selectedRow();
    if (!row) {
        return;
    }
    const int index = m_model->index(*row, 0).data(JournalTableModel::JournalIndexRole).toInt();
    // The table follows the removal; the memory is what the file now holds.
    CallJournal& journal = m_parts.journal;
    journal.remove(index);
    journal.save();
    refresh(false);
}

bool JournalWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_callTable->viewport() || event->type() != QEvent::MouseButtonPress) {
        return QWidget::eventFilter(watched, event);
    }
    const auto* press = static_cast<QMouseEvent*>(event);
    const QModelIndex hit = m_callTable->indexAt(press->position().toPoint());
    if (hit.isValid()) {
        m_callTable->selectRow(hit.row());
    }
    m_callTable->setFocus(Qt::MouseFocusReason);
    if (press->button() == Qt::RightButton && m_model->rowCount() > 0) {
        m_callMenu->popup(press->globalPosition().toPoint());
    }
    // Selection is decided here alone: a press beside the rows keeps the selected row.
    return true;
}

void JournalWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        raise();
        // The user looks at the journal: the missed calls are seen.
        if (!isMinimized()) {
            m_commands.acknowledgeMissedCalls();
        }
    } else if (event->type() == QEvent::WindowStateChange && isMinimized() && hasTray()) {
        // Hidden after the state change has run its course; the icon brings it back.
        QTimer::singleShot(0, this, [this]() {
            if (isMinimized()) {
                hide();
            }
        });
    }
}

void JournalWindow::closeEvent(QCloseEvent* event) {
    // The window lives as long as the program: closing it minimises it or ends the program.
    event->ignore();
    if (m_parts.settings.exitOnClose) {
        m_commands.exitApp();
    } else {
        minimize();
    }
}
