#include "ui/settings/SettingsDialog.h"

#include "calls/AppContext.h"
#include "calls/SoundPolicy.h"
#include "contacts/AddressBooks.h"
#include "net/WebExportControl.h"
#include "platform/Autostart.h"
#include "stores/LanguageIds.h"
#include "support/QtText.h"
#include "support/UserPrompt.h"
#include "ui/DesktopPictures.h"
#include "ui/WindowLook.h"
#include "ui/settings/AddressBookList.h"
#include "ui/settings/BackupPage.h"
#include "ui/settings/CallPage.h"
#include "ui/settings/InfoPage.h"
#include "ui/settings/LinePage.h"
#include "ui/settings/MiscPage.h"
#include "ui/settings/MqttPage.h"
#include "ui/settings/MsnPage.h"
#include "ui/settings/PageLayout.h"
#include "ui/settings/PhonebookPage.h"
#include "ui/settings/WebExportPage.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kPageRole = Qt::UserRole + 1;

} // namespace

SettingsDialog::SettingsDialog(SettingsDialogParts parts, QWidget* parent)
    : QDialog(parent), m_parts(std::move(parts)) {
    setObjectName("frmConfig");
    setLanguageTag(this, lang_id::kSettings);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    useDesignFont(this);
    // The tree first: it leads the keyboard focus order, then the page, then OK and Cancel.
    createNavigation();
    createPages();

    auto* okButton = named(new QPushButton(this), "cmdOK", lang_id::kOk);
    auto* cancelButton = named(new QPushButton(this), "cmdCacel", lang_id::kCancel);
    okButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* body = new QHBoxLayout;
    body->addWidget(m_tvwNav);
    body->addWidget(m_pages, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addLayout(buttons);

    connect(okButton, &QPushButton::clicked, this, &SettingsDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &SettingsDialog::reject);

    applyLanguageTags(this, m_parts.context.language);
    applyLook();
    m_parts.sound.playSound("info");
    fill();
    setFixedSize(sizeHint());
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::createPages() {
    AppContext& context = m_parts.context;
    m_pages = new QStackedWidget(this);
    m_linePage = new LinePage(m_parts.lineFromCommandLine, m_pages);
    m_callPage = new CallPage(m_parts.files, m_parts.sound, context.paths, m_pages);
    m_phonebookPage = new PhonebookPage(context.phonebook, context.language, m_parts.prompt,
                                        m_parts.files, context.paths, m_pages);
    if (m_parts.addressBooks != nullptr) {
        m_phonebookPage->showAddressBooks(AddressBookListParts::of(context), *m_parts.addressBooks);
    }
    m_msnPage = new MsnPage(context.msnList, context.language, m_parts.prompt, m_pages);
    m_webExportPage = new WebExportPage(m_parts.webExport, m_parts.urls, context.settings,
                                        context.language, m_pages);
    m_mqttPage = new MqttPage(m_pages);
    m_miscPage = new MiscPage(context.language, m_parts.prompt, m_pages);
    m_backupPage =
        new BackupPage(BackupPageParts::of(context), m_parts.prompt, m_parts.files, m_pages);
    m_infoPage =
        new InfoPage(m_parts.urls, m_parts.pictures.telBlack, context.settings.lookupUrl, m_pages);
    m_noPage = new QWidget(m_pages);
    for (QWidget* page : std::initializer_list<QWidget*>{
             m_linePage, m_callPage, m_phonebookPage, m_msnPage, m_webExportPage, m_mqttPage,
             m_miscPage, m_backupPage, m_infoPage, m_noPage}) {
        m_pages->addWidget(page);
    }
    // Until a page is chosen the phonebook lies on top.
    m_pages->setCurrentWidget(m_phonebookPage);
    connect(m_backupPage, &BackupPage::restored, this, &SettingsDialog::fill);
}

void SettingsDialog::createNavigation() {
    const LanguageTable& language = m_parts.context.language;
    m_tvwNav = named(new QTreeWidget(this), "tvwNav");
    m_tvwNav->setHeaderHidden(true);
    m_tvwNav->setColumnCount(1);
    m_tvwNav->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const auto addNode = [this](QTreeWidgetItem* parent, const char* key, const QString& text,
                                const char* page) {
        auto* item =
            parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(m_tvwNav);
        item->setText(0, text);
        item->setData(0, kKeyRole, QString(key));
        item->setData(0, kPageRole, QString(page));
        return item;
    };
    QTreeWidgetItem* isdn = addNode(nullptr, "navisdn", "ISDN", "line");
    addNode(isdn, "NavCall", qs(language.text(lang_id::kNavCalls)), "call");
    addNode(isdn, "NavPB", qs(language.text(lang_id::kNavPhonebook)), "pb");
    addNode(isdn, "NavMSN", "MSN", "msn");
    addNode(nullptr, "NavWebExport", qs(language.text(lang_id::kNavWebExport)), "webexport");
    addNode(nullptr, "NavMqtt", "MQTT", "mqtt");
    addNode(nullptr, "NavMisc", qs(language.text(lang_id::kMiscellaneous)), "misc");
    addNode(nullptr, "NavBak", qs(language.text(lang_id::kNavBackup)), "backup");
    addNode(nullptr, "NavInfo", "Info", "info");
    isdn->setExpanded(true);
    // As wide as the longest text, whatever the language.
    m_tvwNav->resizeColumnToContents(0);
    m_tvwNav->setFixedWidth(m_tvwNav->columnWidth(0) + 2 * m_tvwNav->frameWidth() +
                            m_tvwNav->indentation());
    // The focus entering the tree makes its first node current without a choice: that node
    // has a page of its own, and the phonebook stays on top until the user chooses.
    connect(m_tvwNav, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem* previous) {
                if (previous != nullptr) {
                    onNavigationChanged(current);
                }
            });
    connect(m_tvwNav, &QTreeWidget::itemClicked, this, &SettingsDialog::onNavigationChanged);
}

void SettingsDialog::applyLook() {
    setWindowIcon(m_parts.pictures.telBlack);
    const bool withPicture = m_parts.context.settings.style == 0;
    setWindowBackground(this, withPicture ? m_parts.pictures.background() : QPixmap());
}

void SettingsDialog::fill() {
    const SettingsRecord& settings = m_parts.context.settings;
    m_linePage->load(settings);
    m_callPage->load(settings);
    m_webExportPage->load(settings);
    m_mqttPage->load(settings);
    m_miscPage->load(settings);
    m_phonebookPage->refill();
    m_msnPage->refill();
}

void SettingsDialog::onNavigationChanged(QTreeWidgetItem* item) {
    if (item == nullptr) {
        return;
    }
    if (const QString page = item->data(0, kPageRole).toString(); !page.isEmpty()) {
        switchView(page);
    }
}

void SettingsDialog::switchView(const QString& page) {
    const std::pair<const char*, QWidget*> pages[] = {
        {"line", m_linePage}, {"call", m_callPage},           {"pb", m_phonebookPage},
        {"msn", m_msnPage},   {"webexport", m_webExportPage}, {"mqtt", m_mqttPage},
        {"misc", m_miscPage}, {"backup", m_backupPage},       {"info", m_infoPage}};
    QWidget* shown = m_noPage;
    for (const auto& [name, widget] : pages) {
        if (page == name) {
            shown = widget;
        }
    }
    m_pages->setCurrentWidget(shown);
    // The tree follows when a page is chosen from outside, without choosing again.
    const QSignalBlocker quiet(m_tvwNav);
    for (QTreeWidgetItemIterator it(m_tvwNav); *it != nullptr; ++it) {
        if (!page.isEmpty() && (*it)->data(0, kPageRole).toString() == page) {
            m_tvwNav->setCurrentItem(*it);
        }
    }
}

QString SettingsDialog::currentPageName() const {
    QWidget* page = m_pages->currentWidget();
    return page == m_noPage ? QString() : page->objectName();
}

void SettingsDialog::refuseOk(int languageId, const QString& page) {
    m_parts.prompt.message(m_parts.context.language.text(languageId), "", PromptIcon::Information);
    switchView(page);
}

void SettingsDialog::refuseSharing(const CallSharingGroup::Problem& problem) {
    QString message = qs(m_parts.context.language.text(problem.languageId));
    if (!problem.details.isEmpty()) {
        message += " " + problem.details;
    }
    m_parts.prompt.message(ss(message), "", PromptIcon::Information);
    switchView("line");
    problem.field->setFocus(Qt::OtherFocusReason);
    problem.field->selectAll();
}

void SettingsDialog::accept() {
    if (!m_linePage->hasValidHost()) {
        refuseOk(lang_id::kInvalidLineHost, "line");
        m_linePage->focusHost();
        return;
    }
    if (const auto problem = m_linePage->sharing().problem()) {
        refuseSharing(*problem);
        return;
    }
    const auto port = m_webExportPage->enteredPort();
    if (!port) {
        refuseOk(lang_id::kInvalidPort, "webexport");
        m_webExportPage->focusPort();
        return;
    }
    if (!m_mqttPage->hasValidEntries()) {
        refuseOk(lang_id::kInvalidMqtt, "mqtt");
        m_mqttPage->focusHost();
        return;
    }
    AppContext& context = m_parts.context;
    SettingsRecord& settings = context.settings;
    const QString chosenLanguage = qs(m_miscPage->chosenLanguage());
    if (chosenLanguage.compare(qs(settings.language), Qt::CaseInsensitive) != 0) {
        m_parts.prompt.message(context.language.text(lang_id::kRestartNeeded), "",
                               PromptIcon::Information);
    }
    m_linePage->store(settings);
    m_callPage->store(settings);
    m_miscPage->store(settings);
    m_webExportPage->store(settings, *port);
    m_mqttPage->store(settings);
    context.language.select(settings.language);
    applyAutostartSetting(m_parts.autostart, settings.autostart, m_parts.executable,
                          m_parts.configDirFromCommandLine, context.log);
    context.saveSettings();
    if (m_parts.applyMqttSettings) {
        m_parts.applyMqttSettings();
    }
    if (m_parts.addressBooks != nullptr) {
        m_parts.addressBooks->configure(settings.addressBooks, settings.ownCountryPrefix);
    }
    // The settings are kept; a page that cannot be served keeps the dialog open with the reason.
    if (!m_webExportPage->applyToServer(settings.webExportOn)) {
        switchView("webexport");
        return;
    }
    QDialog::accept();
}
