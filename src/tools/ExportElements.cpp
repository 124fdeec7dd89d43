#include "ExportElements.h"

#include "ExportFormat.h"
#include "ExportPaths.h"

#include "document/ElementTree.h"
#include "platform/CodePage.h"
#include "platform/SecretFile.h"

#include <QDir>

ExportSwitches switchesFor(ExportVariant variant)
{
    switch (variant) {
    case ExportVariant::Selected:
        return {false, false, true, false};
    case ExportVariant::All:
        return {false, false, true, true};
    case ExportVariant::AllAsFiles:
        return {false, false, false, true};
    case ExportVariant::AllAsFilesInFolders:
        return {false, true, false, true};
    case ExportVariant::FileEntries:
        return {true, true, false, true};
    }
    return {};
}

namespace {

class Exporter
{
public:
    Exporter(const ElementTree &tree, const QString &folder, const QString &baseName, const QString &extension,
             const QByteArray &fontName, ExportSwitches switches)
        : m_tree(tree), m_folder(folder), m_baseName(baseName), m_extension(extension.toLower()),
          m_switches(switches), m_format(m_extension != QLatin1String(".txt"), fontName)
    {
    }

    void start()
    {
        if (m_switches.oneDocument) {
            m_document = m_format.documentHead(QByteArray());
        }
    }

    void exportElement(const ElementNode &node)
    {
        const QString elementFolder = m_switches.subfolders ? createSubfolder(node) : m_folder;
        const QByteArray linkName = attachedFileName(node);
        if (node.kind() == KindFile && !linkName.isEmpty()) {
            writeAttachedFile(node, elementFolder + u'/' + CodePage::toUnicode(linkName));
        }
        if (m_switches.filesOnly) {
            return;
        }
        // A table whose stream does not read is left out whole.
        const qsizetype rollback = m_document.size();
        const QByteArray path = pathText(node);
        if (!m_switches.oneDocument) {
            m_document += m_format.documentHead(path);
        }
        m_document += m_format.elementHeader(path);
        const std::optional<QByteArray> body = m_format.elementBody(node, linkName);
        if (!body) {
            m_document.truncate(rollback);
            return;
        }
        m_document += *body + m_format.elementEnd();
        if (!m_switches.oneDocument) {
            m_document += m_format.documentEnd();
        }
        ++m_counter;
        if (m_switches.oneDocument) {
            m_document += "\r\n\r\n";
            return;
        }
        writeDocument(elementFolder + u'/' + m_baseName + QString::number(m_counter) + m_extension);
        m_document.clear();
    }

    void finish()
    {
        if (!m_switches.oneDocument || m_switches.filesOnly || m_document.isEmpty()) {
            return;
        }
        m_document += m_format.documentEnd();
        writeDocument(m_folder + u'/' + m_baseName + m_extension);
    }

    ExportResult result() { return std::move(m_result); }

private:
    QByteArray pathText(const ElementNode &node) const { return m_format.pathText(m_tree.pathOf(&node)); }

    QByteArray safeName(const QByteArray &name)
    {
        QByteArray safe = safePathComponent(name);
        if (safe != name && !m_result.mendedNames.contains(name)) {
            m_result.mendedNames.append(name);
        }
        return safe;
    }

    // The folder's own documents go into its own sub-folder; any other element's into its
    // parent's. Every folder along the way is created.
    QString createSubfolder(const ElementNode &node)
    {
        QList<QByteArray> names = m_tree.pathOf(&node);
        if (!node.isFolder()) {
            names.removeLast();
        }
        QString path = m_folder;
        for (const QByteArray &name : names) {
            path += u'/' + CodePage::toUnicode(safeName(name));
        }
        // Owner-only, like the files in it; a failure shows up as the writes into it failing.
        SecretFile::makeFolders(path);
        return path;
    }

    QByteArray attachedFileName(const ElementNode &node)
    {
        if (node.kind() != KindFile) {
            return {};
        }
        const QByteArray stored = fileNameWithoutFolder(node.data().Detail);
        return stored.isEmpty() ? QByteArray() : safeName(stored);
    }

    void writeAttachedFile(const ElementNode &node, const QString &path)
    {
        const std::optional<QByteArray> &blob = node.data().Blob;
        record(SecretFile::write(path, blob ? QByteArrayView(*blob) : QByteArrayView()), path, m_result.files);
    }

    void writeDocument(const QString &path) { record(SecretFile::write(path, m_document), path, m_result.documents); }

    void record(bool written, const QString &path, QStringList &list)
    {
        (written ? list : m_result.failed).append(path);
    }

    const ElementTree &m_tree;
    QString m_folder;
    QString m_baseName;
    QString m_extension;
    ExportSwitches m_switches;
    ExportFormat m_format;
    QByteArray m_document;
    int m_counter = 0;
    ExportResult m_result;
};

} // namespace

ExportResult exportElementsTo(const ElementTree &tree, const ElementNode *selected, const QString &folder,
                            const QString &baseName, const QString &extension, const QByteArray &fontName,
                            ExportSwitches switches)
{
    Exporter exporter(tree, folder, baseName, extension, fontName, switches);
    exporter.start();
    for (const ElementNode *node = tree.firstRoot(); node; node = tree.nextInOrder(node)) {
        if (switches.allElements || node == selected) {
            exporter.exportElement(*node);
        }
    }
    exporter.finish();
    return exporter.result();
}
