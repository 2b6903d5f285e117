#include "support/TempDir.h"

#include "stores/Settings.h"
#include "stores/cLanguage.h"
#include "stores/frmSetLang.h"
#include "support/AppPaths.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

class SetLangTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_dir = std::make_unique<TempDir>();
        m_dir->write("lang/english.lng", "1=one\r\n");
        m_dir->write("lang/Deutsch.lng", "1=eins\r\n");
        m_dir->write("lang/zulu.lng", "1=kunye\r\n");
        AppPath = m_dir->path();
        ConfigDir = m_dir->path();
        Language().Init();
        settings() = SettingsRecord{};
    }

    void selectsTheSavedLanguageWithoutRegardToCase() {
        settings().language = "deutsch";
        frmSetLang chooser;
        QCOMPARE(chooser.windowTitle(), QString("Set Language"));
        auto* languages = chooser.findChild<QComboBox*>("cmbLanguage");
        QVERIFY(languages);
        QCOMPARE(languages->count(), 3);
        QCOMPARE(languages->currentText(), QString("Deutsch"));
    }

    void withoutAMatchTheLastEntryIsSelected() {
        frmSetLang chooser;
        auto* languages = chooser.findChild<QComboBox*>("cmbLanguage");
        QCOMPARE(languages->currentIndex(), languages->count() - 1);
    }

    void saveSetsLoadsAndStoresTheChoice() {
        frmSetLang chooser;
        auto* languages = chooser.findChild<QComboBox*>("cmbLanguage");
        languages->setCurrentIndex(languages->findText("Deutsch"));
        QTest::mouseClick(chooser.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(Language().getStr(1), std::string("eins"));
        SettingsRecord reloaded;
        loadSettings(reloaded, ConfigDir + "config.dat");
        QCOMPARE(reloaded.language, std::string("deutsch"));
    }

private:
    std::unique_ptr<TempDir> m_dir;
};

QTEST_MAIN(SetLangTest)
#include "SetLangTest.moc"
