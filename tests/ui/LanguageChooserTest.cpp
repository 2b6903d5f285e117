#include "support/TestContext.h"

#include "ui/LanguageChooser.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

class LanguageChooserTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_program = std::make_unique<TempDir>();
        m_program->write("lang/english.lng", "1=one\r\n");
        m_program->write("lang/Deutsch.lng", "1=eins\r\n");
        m_program->write("lang/zulu.lng", "1=kunye\r\n");
        m_test = std::make_unique<TestContext>(m_program->path());
    }

    void selectsTheSavedLanguageWithoutRegardToCase() {
        m_test->settings().language = "deutsch";
        LanguageChooser chooser(LanguageChooserParts::of(m_test->context));
        QCOMPARE(chooser.windowTitle(), QString("Set Language"));
        auto* languages = chooser.findChild<QComboBox*>("cmbLanguage");
        QVERIFY(languages);
        QCOMPARE(languages->count(), 3);
        QCOMPARE(languages->currentText(), QString("Deutsch"));
    }

    void withoutAMatchTheLastEntryIsSelected() {
        LanguageChooser chooser(LanguageChooserParts::of(m_test->context));
        auto* languages = chooser.findChild<QComboBox*>("cmbLanguage");
        QCOMPARE(languages->currentIndex(), languages->count() - 1);
    }

    void saveSetsLoadsAndStoresTheChoice() {
        LanguageChooser chooser(LanguageChooserParts::of(m_test->context));
        auto* languages = chooser.findChild<QComboBox*>("cmbLanguage");
        languages->setCurrentIndex(languages->findText("Deutsch"));
        QTest::mouseClick(chooser.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(m_test->text(1), std::string("eins"));
        SettingsRecord reloaded;
        loadSettings(reloaded, m_test->context.settingsFile());
        QCOMPARE(reloaded.language, std::string("deutsch"));
    }

private:
    std::unique_ptr<TempDir> m_program;
    std::unique_ptr<TestContext> m_test;
};

QTEST_MAIN(LanguageChooserTest)
#include "LanguageChooserTest.moc"
