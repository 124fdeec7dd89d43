#include "ElementCommands.h"

#include "document/DatePattern.h"
#include "platform/CodePage.h"
#include "platform/RegularFile.h"
#include "platform/SecureMemory.h"
#include "shell/LanguageStore.h"
#include "shell/MainWindowTexts.h"
#include "shell/Settings.h"

#include <QFile>
#include <QFileInfo>

namespace ElementCommands {

QByteArray defaultName(NewElement what, const LanguageStore &language, const Settings &settings,
                       const Clock &clock)
{
    const char *key = "m_aMNewEntry";
    switch (what) {
    case NewElement::Key: key = "m_aMNewKey"; break;
    case NewElement::Folder:
    case NewElement::Subfolder: key = "m_aMNewFolder"; break;
    case NewElement::Entry:
    case NewElement::Table:
    case NewElement::File: break;
    }
    return newElementName(language.text(mainWindowTexts(), key), settings.setNewEntry, settings.newEntryValue,
                          clock);
}

ElementNode *addElement(ElementTree &tree, NewElement what, ElementNode *selected, const QByteArray &name,
                        const Clock &clock)
{
    ElementNode *node = tree.addElement(what, selected, name, ElementData::fresh(clock));
    // A tree deeper than a file may hold would be refused when it is loaded again.
    if (ElementTree::depthOf(node) > ElementTree::MaxDepth) {
        tree.deleteSubtree(node);
        return nullptr;
    }
    return node;
}

QByteArray fileElementName(const QString &path)
{
    bool ok = false;
    QByteArray name = CodePage::fromUnicode(QFileInfo(path).fileName(), &ok);
    return ok ? name : QByteArray();
}

ElementData fileElementData(const QString &path, QByteArray bytes, const Clock &clock)
{
    ElementData data = ElementData::fresh(clock);
    data.Detail = fileElementName(path);
    data.setBlob(std::move(bytes));
    return data;
}

FileProblem checkFileToAttach(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists()) {
        return FileProblem::Missing;
    }
    if (!info.isFile()) {
        return FileProblem::NotAFile;
    }
    if (info.size() > MaxFileBytes) {
        return FileProblem::TooLarge;
    }
    if (checkNameText(fileElementName(path)) != NameProblem::None) {
        return FileProblem::NameNotStorable;
    }
    return FileProblem::None;
}

std::optional<QByteArray> readWholeFile(const QString &path,
                                        const std::function<bool(qint64, qint64)> &progress)
{
    // Only a regular file: a named pipe put there after the check would never end.
    QFile file;
    if (!RegularFile::open(file, path)) {
        return std::nullopt;
    }
    const qint64 total = file.size();
    if (total < 0 || total > MaxFileBytes) {
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.resize(qsizetype(total));
    constexpr qint64 chunk = qint64(4) << 20;
    qint64 done = 0;
    auto fail = [&bytes]() -> std::optional<QByteArray> {
        SecureMemory::wipe(bytes);
        return std::nullopt;
    };
    while (done < total) {
        const qint64 got = file.read(bytes.data() + done, std::min(chunk, total - done));
        if (got <= 0) {
            // The file shrank or a read failed: an element with part of a file would lie.
            return fail();
        }
        done += got;
        if (progress && !progress(done, total)) {
            return fail();
        }
    }
    // A file that grew while being read is taken as it was when it was measured.
    return bytes;
}

NameProblem checkNameText(QByteArrayView name)
{
    if (name.isEmpty()) {
        return NameProblem::Empty;
    }
    if (name.indexOf(QByteArrayView("<>")) >= 0) {
        return NameProblem::Separator;
    }
    return NameProblem::None;
}

NameProblem checkName(const ElementTree &tree, const ElementNode *node, QByteArrayView name)
{
    const NameProblem text = checkNameText(name);
    if (text != NameProblem::None) {
        return text;
    }
    if (tree.nameTakenBySibling(node, name)) {
        return NameProblem::Duplicate;
    }
    return NameProblem::None;
}

ElementNode *selectionAfterDelete(const ElementNode *node)
{
    if (!node) {
        return nullptr;
    }
    if (ElementNode *next = node->nextSibling()) {
        return next;
    }
    if (ElementNode *previous = node->previousSibling()) {
        return previous;
    }
    return node->parent();
}

} // namespace ElementCommands
