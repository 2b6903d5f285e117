#include "support/TestContext.h"

#include "ui/LanguageChooser.h"

#include <QComboBox>
#include <QPushButton>
#include <QTest>

class LanguageChooserTest : public QObject {
    Q_OBJECT
private slots:
    // Without a saved language the last entry is selected, else the saved one whatever its
    // case; Save sets, loads and stores the choice.
    void selectsAndSavesTheLanguage() {
        TempDir program;
        program.write("lang/english.lng", "1=one\r\n");
        program.write("lang/Deutsch.lng", "1=eins\r\n");
        program.write("lang/zulu.lng", "1=kunye\r\n");
        TestContext test(program.path());
        const auto languages = [](LanguageChooser& chooser) {
            return chooser.findChild<QComboBox*>("cmbLanguage");
        };
        {
            LanguageChooser chooser(LanguageChooserParts::of(test.context));
            QCOMPARE(languages(chooser)->count(), 3);
            QCOMPARE(languages(chooser)->currentIndex(), 2);
        }
        test.settings().language = "deutsch";
        LanguageChooser chooser(LanguageChooserParts::of(test.context));
        QCOMPARE(chooser.windowTitle(), QString("Set Language"));
        QCOMPARE(languages(chooser)->currentText(), QString("Deutsch"));
        QTest::mouseClick(chooser.findChild<QPushButton*>("cmdSave"), Qt::LeftButton);
        QCOMPARE(chooser.result(), int(QDialog::Accepted));
        QCOMPARE(test.text(1), std::string("eins"));
        SettingsRecord reloaded;
        loadSettings(reloaded, test.context.settingsFile());
        QCOMPARE(reloaded.language, std::string("deutsch"));
    }
};

QTEST_MAIN(LanguageChooserTest)
#include "LanguageChooserTest.moc"
