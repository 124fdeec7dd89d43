#include "TestRegistry.h"

#include "shell/LanguageList.h"
#include "shell/StoragePaths.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString &program, const QStringList &arguments, const QProcessEnvironment &environment = {})
{
    QProcess process;
    if (!environment.isEmpty()) {
        process.setProcessEnvironment(environment);
    }
    process.start(program, arguments);
    Run result;
    if (!process.waitForStarted() || !process.waitForFinished(600000)) {
        result.err = process.errorString().toUtf8();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

bool installed(const char *tool)
{
    return !QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty();
}

QString buildFolder()
{
    return qEnvironmentVariable("VAULTBASE_BUILD_DIR");
}

QByteArray gunzipped(const QString &path)
{
    return run(QStringLiteral("gzip"), {QStringLiteral("-dc"), path}).out;
}

// Every file below folder, relative to it.
QSet<QString> filesBelow(const QString &folder)
{
    QSet<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        files.insert(QDir(folder).relativeFilePath(it.next()));
    }
    return files;
}

QSet<QString> expectedTree()
{
    QSet<QString> files{
        "bin/vaultbase",
        "bin/vaultbase-cli",
        "share/applications/vaultbase.desktop",
        "share/mime/packages/vaultbase.xml",
        "share/metainfo/example.brightway.vaultbase.metainfo.xml",
        "share/vaultbase/Languages.ini",
        "share/vaultbase/Deutsch.lng",
        "share/vaultbase/Francais.lng",
        "share/vaultbase/License.txt",
        "share/vaultbase/ReadMe.txt",
        "share/man/man1/vaultbase.1.gz",
        "share/man/man1/vaultbase-cli.1.gz",
        "share/bash-completion/completions/vaultbase-cli",
        "share/doc/vaultbase/copyright",
        "share/doc/vaultbase/changelog.gz",
    };
    const QStringList icons{"apps/vaultbase", "mimetypes/application-x-vaultbase-database",
                            "mimetypes/application-x-vaultbase-keyfile"};
    for (const QString &icon : icons) {
        files.insert("share/icons/hicolor/scalable/" + icon + ".svg");
        for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
            files.insert(QStringLiteral("share/icons/hicolor/%1x%1/").arg(size) + icon + ".png");
        }
    }
    return files;
}

// vaultbase-cli's commands and the options of each, read off its --help: a call line
// "  vaultbase-cli NAME ..." is followed by lines of its own options; "[PASSWORD]" adds
// the password options listed at the end.
QMap<QString, QStringList> cliOptions()
{
    const QList<QByteArray> lines = run(QStringLiteral(VAULTBASE_CLI_PATH), {"--help"}).out.split('\n');
    QStringList passwordOptions;
    QMap<QString, QStringList> commands;
    QStringList takesPassword;
    QString current;
    // A command is one word or two ("keyfile create"); an option may have a short form.
    const QRegularExpression call(QStringLiteral("^  vaultbase-cli ([a-z]+(?: [a-z]+)?)(?= |$)(.*)$"));
    const QRegularExpression option(QStringLiteral("^      (?:(-[a-z]), )?(--[a-z-]+)"));
    for (const QByteArray &bytes : lines) {
        const QString line = QString::fromUtf8(bytes);
        if (const QRegularExpressionMatch called = call.match(line); called.hasMatch()) {
            current = called.captured(1);
            commands[current];
            if (called.captured(2).contains(QLatin1String("[PASSWORD]"))) {
                takesPassword.append(current);
            }
        } else if (line.startsWith(QLatin1String("PASSWORD"))) {
            current.clear();
        } else if (const QRegularExpressionMatch named = option.match(line); named.hasMatch()) {
            QStringList &options = current.isEmpty() ? passwordOptions : commands[current];
            if (named.hasCaptured(1)) {
                options.append(named.captured(1));
            }
            options.append(named.captured(2));
        }
    }
    for (const QString &command : takesPassword) {
        commands[command] += passwordOptions;
    }
    return commands;
}

// What the completion offers for the words typed so far (the last one being completed).
QStringList completions(const QStringList &words)
{
    QString script = QStringLiteral("source '" VAULTBASE_SOURCE_DIR "/packaging/vaultbase-cli.bash-completion'\n"
                                    "COMP_WORDS=(vaultbase-cli");
    for (const QString &word : words) {
        script += QStringLiteral(" '%1'").arg(word);
    }
    script += QStringLiteral(")\nCOMP_CWORD=%1\n_vaultbase_cli\nprintf '%s\\n' \"${COMPREPLY[@]}\"\n").arg(words.size());
    QStringList offered = QString::fromUtf8(run(QStringLiteral("bash"), {"-c", script}).out).split(u'\n');
    offered.removeAll(QString());
    offered.sort();
    return offered;
}

} // namespace

// The program as it is installed: the tree `cmake --install` gives, the desktop entry, the
// file types and the AppStream data as the validators see them, the manual pages, the
// shell completion, and the Debian package built, checked, extracted and run.
class PackagingTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_prefix.isValid());
        const Run install = run(QStringLiteral("cmake"), {"--install", buildFolder(), "--prefix", m_prefix.path()});
        QVERIFY2(install.exitCode == 0, install.err.constData());
    }

    void installTreeIsComplete()
    {
        const QSet<QString> tree = filesBelow(m_prefix.path());
        const QSet<QString> expected = expectedTree();
        QVERIFY2(tree == expected, qPrintable(QStringLiteral("missing: %1; not expected: %2")
                                                  .arg(QStringList((expected - tree).values()).join(u' '),
                                                       QStringList((tree - expected).values()).join(u' '))));
        for (const QString &program : {QStringLiteral("bin/vaultbase"), QStringLiteral("bin/vaultbase-cli")}) {
            QVERIFY(QFileInfo(m_prefix.filePath(program)).isExecutable());
        }
        // The installed program finds its languages in ../share/vaultbase/.
        const StoragePaths paths(m_prefix.filePath("bin"), m_prefix.filePath("user"), m_prefix.filePath("common"));
        QCOMPARE(paths.languagesFile(), m_prefix.filePath("share/vaultbase/Languages.ini"));
        const LanguageList languages = LanguageList::load(paths.languagesFile());
        QCOMPARE(languages.entries.size(), 2);
        for (const LanguageList::Entry &entry : languages.entries) {
            QVERIFY(QFileInfo(paths.dataFile(QString::fromLatin1(entry.file))).isFile());
        }
    }

    void versionIsTheSameEverywhere()
    {
        const QByteArray version(VAULTBASE_VERSION);
        const QByteArray metainfo = readAll(m_prefix.filePath("share/metainfo/example.brightway.vaultbase.metainfo.xml"));
        QVERIFY(metainfo.contains("<release version=\"" + version + "\""));
        QVERIFY(gunzipped(m_prefix.filePath("share/doc/vaultbase/changelog.gz")).startsWith("vaultbase (" + version + ")"));
        for (const char *program : {"vaultbase", "vaultbase-cli"}) {
            QVERIFY(gunzipped(m_prefix.filePath(QStringLiteral("share/man/man1/%1.1.gz").arg(program)))
                        .contains("\"Brightway Vaultbase " + version + '"'));
        }
    }

    void validatorsFindNothing_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("desktop entry") << "desktop-file-validate"
                                       << QStringList{m_prefix.filePath("share/applications/vaultbase.desktop")};
        QTest::newRow("AppStream") << "appstreamcli"
                                   << QStringList{"validate", "--no-net", "--no-color",
                                                  m_prefix.filePath(
                                                      "share/metainfo/example.brightway.vaultbase.metainfo.xml")};
    }

    void validatorsFindNothing()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, arguments);
        if (!installed(tool.toLatin1())) {
            QSKIP("the validator is not installed (scripts/install-deps --tests installs it)");
        }
        const Run check = run(tool, arguments);
        const QByteArray said = check.out + check.err;
        QVERIFY2(check.exitCode == 0, said.constData());
        QVERIFY2(!said.contains("warning") && !said.contains("error") && !said.contains("W:")
                     && !said.contains("E:"),
                 said.constData());
    }

    // update-mime-database reads the package: both types arrive with their globs and icons
    // (the icons themselves are in the tree above).
    void fileTypesAreKnown()
    {
        if (!installed("update-mime-database")) {
            QSKIP("shared-mime-info is not installed");
        }
        QTemporaryDir mime;
        QDir().mkpath(mime.filePath("packages"));
        QVERIFY(QFile::copy(m_prefix.filePath("share/mime/packages/vaultbase.xml"), mime.filePath("packages/vaultbase.xml")));
        const Run update = run(QStringLiteral("update-mime-database"), {mime.path()});
        QVERIFY2(update.exitCode == 0, update.err.constData());
        const QByteArray globs = readAll(mime.filePath("globs2"));
        QVERIFY(globs.contains("application/x-vaultbase-database:*.kvdb"));
        QVERIFY(globs.contains("application/x-vaultbase-keyfile:*.kvky"));
        const QByteArray icons = readAll(mime.filePath("generic-icons")) + readAll(mime.filePath("icons"));
        QVERIFY(icons.contains("application/x-vaultbase-database:application-x-vaultbase-database"));
        QVERIFY(icons.contains("application/x-vaultbase-keyfile:application-x-vaultbase-keyfile"));
    }

    // Every command and every option vaultbase-cli's --help names is completed, and the
    // algorithms the tool knows are offered after --algorithm.
    void completionCoversTheCommandLine()
    {
        const QMap<QString, QStringList> commands = cliOptions();
        QVERIFY(commands.size() >= 10);
        QStringList names{"--help", "--version"};
        for (const QString &command : commands.keys()) {
            names += command.section(u' ', 0, 0);
        }
        names.removeDuplicates();
        names.sort();
        QCOMPARE(completions({""}), names);
        for (auto it = commands.begin(); it != commands.end(); ++it) {
            QStringList options = it.value() + QStringList{"--help"};
            options.sort();
            const QStringList words = it.key().split(u' ') + QStringList{"-"};
            QCOMPARE(completions(words), options);
        }
        const Run unknown = run(QStringLiteral(VAULTBASE_CLI_PATH), {"checksum", "--algorithm", "x", "file"});
        const QRegularExpressionMatch listed =
            QRegularExpression(QStringLiteral("the algorithms are ([a-z0-9|-]+)")).match(QString::fromUtf8(unknown.err));
        QVERIFY2(listed.hasMatch(), unknown.err.constData());
        QStringList algorithms = listed.captured(1).split(u'|');
        algorithms.sort();
        QCOMPARE(completions({"checksum", "--algorithm", ""}), algorithms);
        const QStringList sha3{"sha3-224", "sha3-256"};
        QCOMPARE(completions({"info", "--algorithm", "sha3-2"}), sha3);
        // Options come before the file name: after it only files.
        QCOMPARE(completions({"ls", "Bank.kvdb", "--"}), QStringList());
    }

    void debianPackageInstallsAndRuns()
    {
#ifdef VAULTBASE_SANITIZED
        QSKIP("a sanitizer build is not packaged");
#endif
        QTemporaryDir out;
        const Run pack = run(QStringLiteral("cpack"), {"-G", "DEB", "--config", buildFolder() + "/CPackConfig.cmake",
                                                       "-B", out.path()});
        QVERIFY2(pack.exitCode == 0, (pack.out + pack.err).constData());
        const QString deb = out.filePath(QStringLiteral("vaultbase_" VAULTBASE_VERSION "_amd64.deb"));
        QVERIFY2(QFileInfo::exists(deb), pack.out.constData());

        const Run fields = run(QStringLiteral("dpkg-deb"), {"--field", deb, "Depends", "Section", "Description"});
        QVERIFY(fields.out.contains("libqt6widgets6"));
        QVERIFY(fields.out.contains("Section: utils"));
        QVERIFY(fields.out.contains("Description: password manager"));

        QTemporaryDir root;
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {"-x", deb, root.path()}).exitCode, 0);
        QProcessEnvironment noDisplay = QProcessEnvironment::systemEnvironment();
        noDisplay.remove(QStringLiteral("DISPLAY"));
        noDisplay.remove(QStringLiteral("WAYLAND_DISPLAY"));
        noDisplay.remove(QStringLiteral("QT_QPA_PLATFORM"));
        for (const char *program : {"vaultbase", "vaultbase-cli"}) {
            const Run version = run(root.filePath(QStringLiteral("usr/bin/") + QLatin1String(program)), {"--version"},
                                    noDisplay);
            QCOMPARE(version.exitCode, 0);
            QCOMPARE(version.out, QByteArray(program) + " (Brightway Vaultbase) " VAULTBASE_VERSION "\n");
        }

        if (!installed("lintian")) {
            QSKIP("lintian is not installed (scripts/install-deps --tests installs it)");
        }
        const Run lint = run(QStringLiteral("lintian"), {"--fail-on", "error", "--tag-display-limit", "0", deb});
        QVERIFY2(lint.exitCode == 0 && !lint.out.contains("E: "), (lint.out + lint.err).constData());
    }

private:
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_prefix;
};

VAULTBASE_TEST(PackagingTest)
#include "PackagingTest.moc"
