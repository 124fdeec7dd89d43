#include "MainWindowTestKit.h"

#include "platform/CodePage.h"
#include "shell/LanguageList.h"
#include "shell/LanguageStore.h"
#include "shell/ui/LanguageMenu.h"
#include "shell/ui/LanguageSections.h"
#include "shell/ui/MainMenus.h"

#include <QAction>
#include <QMenu>
#include <QStringDecoder>

using namespace mainwintest;

namespace {

// The program's data as it is installed: "Languages.ini" and the language files.
QString shippedFile(const QString &name)
{
    return QStringLiteral(VAULTBASE_PROGRAM_DATA "/") + name;
}

QString englishOf(const QByteArray &fullKey)
{
    for (const LanguageSection *section : languageSections()) {
        const QByteArray prefix(section->prefix);
        if (fullKey.startsWith(prefix)) {
            if (const char *english = section->english(QByteArrayView(fullKey).sliced(prefix.size()))) {
                return QString::fromLatin1(english);
            }
        }
    }
    return {};
}

} // namespace

// The language files shipped with the program: listed, in the language-file format, and
// complete against the program's own tables of English texts, so that a text added to
// the program without its translations fails here.
class TranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void shippedLanguagesAreComplete_data()
    {
        QTest::addColumn<QString>("file");
        const LanguageList list = LanguageList::load(shippedFile(QStringLiteral("Languages.ini")));
        QCOMPARE(list.entries.size(), 2);
        for (const LanguageList::Entry &entry : list.entries) {
            QTest::newRow(CodePage::toUnicode(entry.name).toUtf8().constData()) << CodePage::toUnicode(entry.file);
        }
    }

    void shippedLanguagesAreComplete()
    {
        QFETCH(QString, file);
        const QByteArray bytes = readAll(shippedFile(file));
        QVERIFY(!bytes.isEmpty());
        // Windows-1252 with CR LF: no line end without its CR, and not UTF-8.
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QVERIFY(bytes.endsWith("\r\n"));
        QStringDecoder utf8(QStringDecoder::Utf8);
        const QString asUtf8 = utf8.decode(bytes);
        QVERIFY2(utf8.hasError() && !asUtf8.isEmpty(), "the file is UTF-8, not Windows-1252");

        QStringList missing;
        QStringList unknown;
        QStringList changedForm;
        for (const QByteArray &line : bytes.trimmed().split('\n')) {
            const qsizetype equals = line.indexOf("=\"");
            if (equals < 0 || englishOf(line.left(equals)).isEmpty()) {
                unknown.append(QString::fromLatin1(line.trimmed()));
            }
        }
        LanguageStore language;
        language.apply(shippedFile(file), "Shipped");
        for (const LanguageSection *section : languageSections()) {
            for (const LanguageText &text : section->texts) {
                const QByteArray key = QByteArray(section->prefix) + text.key;
                const QString translated = CodePage::toUnicode(language.text(key, QByteArray()));
                const QString english = QString::fromLatin1(text.english);
                if (translated.isEmpty()) {
                    missing.append(QString::fromLatin1(key));
                    continue;
                }
                // Messages are completed by what the program puts in or after them, and
                // file filters are read by their bars.
                if (translated.count(QLatin1String("%s")) != english.count(QLatin1String("%s"))
                    || translated.count(u'|') != english.count(u'|')
                    || translated.endsWith(u' ') != english.endsWith(u' ')) {
                    changedForm.append(QString::fromLatin1(key));
                }
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("no text for ") + missing.join(u' ')));
        QVERIFY2(unknown.isEmpty(), qPrintable(QStringLiteral("not a key of the program: ") + unknown.join(u' ')));
        QVERIFY2(changedForm.isEmpty(), qPrintable(QStringLiteral("%s, | or the closing blank differ: ")
                                                   + changedForm.join(u' ')));
    }

    // The program reads the shipped list: both languages in the menu, and choosing one
    // changes the window's texts.
    void shippedLanguagesAreOfferedAndApplied()
    {
        Program program;
        const StoragePaths shipped(QStringLiteral(VAULTBASE_PROGRAM_DATA), program.file(QStringLiteral("user")),
                                   program.file(QStringLiteral("common")));
        SettingsEnvironment env;
        MainWindow window(MainWindowSetup{shipped, env, {}});
        QVERIFY(start(window));
        const QList<QAction *> items = window.menus().languages->languageActions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items.at(0)->text(), QStringLiteral("Deutsch"));
        QCOMPARE(items.at(1)->text(), QStringLiteral("Fran\u00E7ais"));
        items.at(0)->trigger();
        QCOMPARE(window.menus().MenFile->title(), QStringLiteral("Datei"));
        QCOMPARE(window.menus().MenNew->text(), QStringLiteral("Neu\tStrg+N"));
        items.at(1)->trigger();
        QCOMPARE(window.menus().MenFile->title(), QStringLiteral("Fichier"));
        window.menus().languages->englishAction()->trigger();
        QVERIFY(window.close());
    }
};

VAULTBASE_TEST(TranslationTest)
#include "TranslationTest.moc"
