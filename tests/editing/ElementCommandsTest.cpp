#include "TestRegistry.h"

#include "editing/ElementCommands.h"
#include "platform/Clock.h"
#include "shell/LanguageStore.h"
#include "shell/Settings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray childNames(const ElementTree &tree, const ElementNode *parent)
{
    QList<QByteArray> names;
    for (int i = 0; i < tree.childCount(parent); ++i) {
        names.append(tree.childAt(parent, i)->name());
    }
    return names.join('|');
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// Adding, naming, deleting and file checks without a window.
class ElementCommandsTest : public QObject
{
    Q_OBJECT

    FixedClock m_clock{QDateTime(QDate(2018, 10, 27), QTime(15, 30, 12))};
    LanguageStore m_language;
    Settings m_settings = Settings::defaults(SettingsEnvironment());

    ElementNode *add(ElementTree &tree, NewElement what, ElementNode *selected)
    {
        const QByteArray name = ElementCommands::defaultName(what, m_language, m_settings, m_clock);
        return ElementCommands::addElement(tree, what, selected, name, m_clock);
    }

private slots:
    void defaultNamesFollowTheLanguageAndThePattern()
    {
        QCOMPARE(ElementCommands::defaultName(NewElement::Key, m_language, m_settings, m_clock), "New key");
        QCOMPARE(ElementCommands::defaultName(NewElement::Table, m_language, m_settings, m_clock), "New entry");
        QCOMPARE(ElementCommands::defaultName(NewElement::Subfolder, m_language, m_settings, m_clock), "New folder");

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("de.lng"));
        QVERIFY(writeFile(file, "FrmMain.m_aMNewKey=\"Neuer Schl\xfc\x73sel\"\r\n"));
        LanguageStore german;
        german.apply(file, "Deutsch");
        QCOMPARE(ElementCommands::defaultName(NewElement::Key, german, m_settings, m_clock), "Neuer Schl\xfcssel");
        QCOMPARE(ElementCommands::defaultName(NewElement::Entry, german, m_settings, m_clock), "New entry");

        Settings dated = m_settings;
        dated.setNewEntry = true;
        QCOMPARE(ElementCommands::defaultName(NewElement::Key, m_language, dated, m_clock), "2018-10-27");
        dated.newEntryValue = "Entry%%YYYY%MM %HH:%NN:%SS";
        QCOMPARE(ElementCommands::defaultName(NewElement::Folder, m_language, dated, m_clock), "Entry%201810 15:30:12");
        // An empty pattern keeps the kind's name.
        dated.newEntryValue.clear();
        QCOMPARE(ElementCommands::defaultName(NewElement::Key, m_language, dated, m_clock), "New key");
    }

    void newElementsAreNamedAndPlacedByTheRule()
    {
        ElementTree tree;
        ElementNode *folder = add(tree, NewElement::Folder, nullptr);
        ElementNode *first = add(tree, NewElement::Key, folder);
        ElementNode *second = add(tree, NewElement::Key, folder);
        ElementNode *third = add(tree, NewElement::Key, folder);
        QCOMPARE(first->name(), "New key");
        QCOMPARE(second->name(), "New key0");
        QCOMPARE(third->name(), "New key1");
        QCOMPARE(childNames(tree, folder), "New key|New key0|New key1");

        // Beside a selected key, never under it; a folder beside the key lands in the same folder.
        ElementNode *entry = add(tree, NewElement::Entry, second);
        QCOMPARE(entry->parent(), folder);
        QCOMPARE(second->childCount(), 0);
        ElementNode *sibling = add(tree, NewElement::Folder, second);
        QCOMPARE(sibling->parent(), folder);
        QVERIFY(sibling->isFolder());
        QCOMPARE(sibling->selectedCode(), qint32(KindOpenFolder));
        // A subfolder goes inside a selected folder, a folder beside it.
        QCOMPARE(add(tree, NewElement::Subfolder, folder)->parent(), folder);
        QCOMPARE(add(tree, NewElement::Folder, folder)->parent(), nullptr);
        QCOMPARE(childNames(tree, nullptr), "New folder|New folder0");
        // No subfolder below the deepest level a file may hold.
        ElementNode *deepest = folder;
        for (int level = 2; level <= ElementTree::MaxDepth; ++level) {
            deepest = add(tree, NewElement::Subfolder, deepest);
        }
        const int count = tree.count();
        QVERIFY(!add(tree, NewElement::Subfolder, deepest));
        QCOMPARE(tree.count(), count);

        // Fresh data: empty texts, no Blob, both dates now.
        const ElementData &data = first->data();
        QVERIFY(data.Content.isEmpty() && data.Detail.isEmpty() && !data.hasBlob());
        QCOMPARE(data.Created, "2018-10-27 15:30:12");
        QCOMPARE(data.Modified, data.Created);

        // Two dated entries of one day: the date, then the date followed by 0.
        Settings dated = m_settings;
        dated.setNewEntry = true;
        std::swap(dated, m_settings);
        QCOMPARE(add(tree, NewElement::Entry, nullptr)->name(), "2018-10-27");
        QCOMPARE(add(tree, NewElement::Entry, nullptr)->name(), "2018-10-270");
        std::swap(dated, m_settings);
    }

    void namesAreCheckedAgainstSiblingsAndTheSeparator()
    {
        ElementTree tree;
        ElementNode *abc = tree.insertElement(nullptr, "abc", KindKey, KindKey, ElementData());
        tree.insertElement(nullptr, "other", KindKey, KindKey, ElementData());
        ElementNode *folder = tree.insertElement(nullptr, "folder", KindFolder, KindOpenFolder, ElementData());
        ElementNode *inner = tree.insertElement(folder, "inner", KindKey, KindKey, ElementData());
        using ElementCommands::NameProblem;
        QCOMPARE(ElementCommands::checkName(tree, abc, "other"), NameProblem::Duplicate);
        QCOMPARE(ElementCommands::checkName(tree, abc, "ABC"), NameProblem::None);
        QCOMPARE(ElementCommands::checkName(tree, abc, "abc"), NameProblem::None);
        QCOMPARE(ElementCommands::checkName(tree, inner, "other"), NameProblem::None);
        QCOMPARE(ElementCommands::checkName(tree, abc, "a<>b"), NameProblem::Separator);
        QCOMPARE(ElementCommands::checkName(tree, abc, "a<b>"), NameProblem::None);
        QCOMPARE(ElementCommands::checkName(tree, abc, ""), NameProblem::Empty);
    }

    void selectionAfterDeleteStaysNearby()
    {
        ElementTree tree;
        ElementNode *folder = tree.insertElement(nullptr, "f", KindFolder, KindOpenFolder, ElementData());
        ElementNode *a = tree.insertElement(folder, "a", KindKey, KindKey, ElementData());
        ElementNode *b = tree.insertElement(folder, "b", KindKey, KindKey, ElementData());
        QCOMPARE(ElementCommands::selectionAfterDelete(a), b);
        QCOMPARE(ElementCommands::selectionAfterDelete(b), a);
        tree.deleteSubtree(b);
        QCOMPARE(ElementCommands::selectionAfterDelete(a), folder);
        QCOMPARE(ElementCommands::selectionAfterDelete(folder), nullptr);
    }

    void filesAreCheckedBeforeReading()
    {
        QTemporaryDir dir;
        const QString small = dir.filePath(QStringLiteral("report.pdf"));
        QVERIFY(writeFile(small, QByteArray("%PDF\0\xff", 6)));
        using ElementCommands::FileProblem;
        QCOMPARE(ElementCommands::checkFileToAttach(small), FileProblem::None);
        QCOMPARE(ElementCommands::checkFileToAttach(dir.filePath(QStringLiteral("missing"))), FileProblem::Missing);
        QCOMPARE(ElementCommands::checkFileToAttach(dir.path()), FileProblem::NotAFile);

        // One byte more than a cell can carry as hex: refused without reading (the file
        // is sparse, nothing is written to disk).
        const QString huge = dir.filePath(QStringLiteral("huge.bin"));
        QFile file(huge);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(ElementCommands::MaxFileBytes + 1));
        file.close();
        QCOMPARE(ElementCommands::checkFileToAttach(huge), FileProblem::TooLarge);
        QVERIFY(!ElementCommands::readWholeFile(huge));
        QVERIFY(qint64(11) + 2 * ElementCommands::MaxFileBytes <= qint64(0x7FFFFFFF));
        QVERIFY(qint64(11) + 2 * (ElementCommands::MaxFileBytes + 1) > qint64(0x7FFFFFFF));

        // A name the code page cannot carry cannot become an element's name.
        const QString cyrillic = dir.filePath(QString::fromUtf8("\xd0\xb4.txt"));
        QVERIFY(writeFile(cyrillic, "x"));
        QCOMPARE(ElementCommands::checkFileToAttach(cyrillic), FileProblem::NameNotStorable);
        const QString separator = dir.filePath(QStringLiteral("a<>b.txt"));
        QVERIFY(writeFile(separator, "x"));
        QCOMPARE(ElementCommands::checkFileToAttach(separator), FileProblem::NameNotStorable);

        const ElementData data =
            ElementCommands::fileElementData(small, *ElementCommands::readWholeFile(small), m_clock);
        QCOMPARE(data.Detail, "report.pdf");
        QCOMPARE(*data.Blob, QByteArray("%PDF\0\xff", 6));
        QCOMPARE(data.BlobSize, 6);
        QVERIFY(data.Content.isEmpty() && data.Comment.isEmpty());
    }

    void readingReportsProgressAndCanBeCancelled()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.bin"));
        QByteArray bytes(9 << 20, '\0');
        for (qsizetype i = 0; i < bytes.size(); ++i) {
            bytes[i] = char(i * 7);
        }
        QVERIFY(writeFile(path, bytes));
        QList<qint64> steps;
        const auto read = ElementCommands::readWholeFile(path, [&](qint64 done, qint64 total) {
            steps.append(done);
            return total == bytes.size();
        });
        QVERIFY(read);
        QCOMPARE(*read, bytes);
        QCOMPARE(steps.size(), 3);
        QCOMPARE(steps.last(), bytes.size());

        int calls = 0;
        QVERIFY(!ElementCommands::readWholeFile(path, [&](qint64, qint64) { return ++calls < 2; }));
        QCOMPARE(calls, 2);
    }
};

VAULTBASE_TEST(ElementCommandsTest)
#include "ElementCommandsTest.moc"
