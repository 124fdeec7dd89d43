#include "DatabaseChange.h"

#include "Command.h"
#include "Console.h"
#include "ElementPath.h"
#include "ExitCode.h"
#include "OpenDatabase.h"
#include "PasswordInput.h"

#include "document/AttachedDatabase.h"
#include "platform/CodePage.h"
#include "platform/RegularFile.h"

#include <QFile>

DatabaseChange::DatabaseChange(const Invocation &invocation) : m_invocation(invocation), m_file(invocation.file) {}

int DatabaseChange::open()
{
    // Refused before the password is asked for: a missing file, a folder, a pipe, a device.
    {
        QFile file;
        RegularFile::Problem problem = RegularFile::Problem::None;
        if (!RegularFile::open(file, m_file, &problem)) {
            Console::error(QStringLiteral("Cannot read %1: %2.")
                               .arg(m_file, describeReadProblem(m_file, problem, MaxDatabaseFileSize)));
            return ExitFailure;
        }
        if (file.size() == 0) {
            Console::error(QStringLiteral("Cannot read %1: the file is empty.").arg(m_file));
            return ExitFailure;
        }
    }
    std::optional<Password> password = obtainPassword(m_invocation, PasswordUse::Open);
    if (!password) {
        return ExitFailure;
    }
    m_document.setPassword(password->bytes().toByteArray());
    const DatabaseDocument::LoadResult loaded = m_document.load(m_file);
    switch (loaded.problem) {
    case LoadProblem::None: return ExitOk;
    case LoadProblem::TooDeep:
        Console::error(QStringLiteral("Cannot open %1: its elements are nested deeper than %2 levels.")
                           .arg(m_file)
                           .arg(ElementTree::MaxDepth));
        return ExitFailure;
    case LoadProblem::Unreadable:
        Console::error(QStringLiteral("Cannot read %1.").arg(m_file));
        return ExitFailure;
    case LoadProblem::NotADatabase: break;
    }
    // Writing a database into the file that carries it would destroy the carrier.
    if (findAttachedDatabase(m_file)) {
        Console::error(QStringLiteral("%1 carries its database inside another file; only a database file can be"
                                      " changed here (export it and import the JSON into a new one).")
                           .arg(m_file));
        return ExitFailure;
    }
    Console::error(QStringLiteral("Wrong password!"));
    return ExitFailure;
}

int DatabaseChange::save()
{
    const DatabaseDocument::SaveResult saved = m_document.saveInPlace();
    if (saved.changedOnDisk) {
        Console::error(QStringLiteral("Cannot write %1: another program changed it since it was read; nothing was"
                                      " changed. Run the command again.")
                           .arg(m_file));
        return ExitFailure;
    }
    if (!saved.ok()) {
        Console::error(QStringLiteral("Cannot write %1: %2; the file is as it was.")
                           .arg(m_file, describeWriteProblem(saved.failure)));
        return ExitFailure;
    }
    return ExitOk;
}

ElementNode *DatabaseChange::element(const QString &path)
{
    ElementNode *node = const_cast<ElementNode *>(findElementByPath(tree(), path));
    if (!node) {
        Console::error(QStringLiteral("%1 holds no element \"%2\".").arg(m_file, path));
    }
    return node;
}

int DatabaseChange::fail(const QString &path, const QString &reason) const
{
    Console::error(QStringLiteral("%1: \"%2\": %3").arg(m_file, path, reason));
    return ExitFailure;
}

std::optional<QByteArray> DatabaseChange::codePageText(const QString &path, const QString &what,
                                                      const QString &text) const
{
    bool ok = false;
    qsizetype bad = -1;
    QByteArray bytes = CodePage::fromUnicode(text, &ok, &bad);
    if (!ok) {
        fail(path, QStringLiteral("%1 holds \"%2\", which the code page (Windows-1252) cannot carry.")
                       .arg(what, bad >= 0 ? text.mid(bad, text.at(bad).isHighSurrogate() ? 2 : 1) : QString()));
        return std::nullopt;
    }
    return bytes;
}
