#include "CarriedCopy.h"

#include "DatabaseDocument.h"

#include "document/DatabaseFile.h"

#include <QFileInfo>

namespace CarriedCopy {

bool isSameFile(const QString &first, const QString &second)
{
    const QString canonical = QFileInfo(first).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(second).canonicalFilePath();
}

Result write(const DatabaseDocument &document, const QString &source, const QString &destination, bool portable,
             bool binary, QByteArrayView languageText)
{
    if (document.filePath().isEmpty() || document.password().isEmpty()) {
        return {Problem::NotSaved, {}};
    }
    if (isSameFile(destination, document.filePath())) {
        return {Problem::DatabaseItself, {}};
    }
    const std::optional<QByteArray> ciphertext = encryptDatabase(document.tree(), document.password(), binary);
    if (!ciphertext) {
        return {Problem::NotEncrypted, {}};
    }
    const CarryWrite written = writeAttachedDatabase(source, destination, portable, *ciphertext, languageText);
    return {written ? Problem::None : Problem::NotWritten, written};
}

} // namespace CarriedCopy
