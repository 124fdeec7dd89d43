#include "KeyFile.h"

#include "Encryption.h"
#include "platform/RegularFile.h"
#include "platform/SecureMemory.h"

#include <QFileInfo>

#include <cstring>

namespace {

// The same in every installation: key files are only exchanged between installations
// of this program.
constexpr char keyFileKeyText[] = "Brightway~Vaultbase:kvky/7Qm2#Lr9@Xe4$Tz8&Hn3*Wc5%";
static_assert(sizeof keyFileKeyText - 1 == 50, "the key-file key is 50 characters");

const QString KeyFileSuffix = QStringLiteral(".kvky");

bool isFile(const QString &path)
{
    return QFileInfo(path).isFile();
}

// The path with the extension of its last component (from its last dot on) replaced.
QString withKeyFileExtension(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype stemEnd = dot > slash ? dot : path.size();
    return path.left(stemEnd) + KeyFileSuffix;
}

} // namespace

QByteArrayView keyFileKey()
{
    return QByteArrayView(keyFileKeyText, sizeof keyFileKeyText - 1);
}

std::optional<QByteArray> readKeyFile(const QString &path)
{
    std::optional<QByteArray> bytes = RegularFile::read(path, MaxKeyFileSize);
    if (!bytes) {
        return std::nullopt;
    }
    return keyFilePassword(std::move(*bytes));
}

std::optional<QByteArray> keyFilePassword(QByteArray keyFileBytes)
{
    if (keyFileBytes.isEmpty() || keyFileBytes.size() > MaxKeyFileSize) {
        return std::nullopt;
    }
    decryptInPlace(keyFileBytes, keyFileKey());
    const qsizetype end = keyFileBytes.indexOf('\0');
    QByteArray password = keyFileBytes.left(end < 0 ? keyFileBytes.size() : end);
    SecureMemory::wipe(keyFileBytes);
    if (password.isEmpty()) {
        return std::nullopt;
    }
    return password;
}

bool writeKeyFile(const QString &path, QByteArrayView password)
{
    if (password.isEmpty()) {
        return false;
    }
    // The password, then zeros up to three times its length; the first zero ends it.
    QByteArray plain(3 * password.size(), '\0');
    std::memcpy(plain.data(), password.data(), size_t(password.size()));
    const bool written = encryptToFile(plain, path, keyFileKey());
    SecureMemory::wipe(plain);
    return written;
}

QString findKeyFileFor(const QString &databasePath)
{
    if (databasePath.isEmpty()) {
        return {};
    }
    const QString named = withKeyFileExtension(databasePath);
    if (isFile(named)) {
        return named;
    }
    const QString fallback = QFileInfo(databasePath).absolutePath() + QStringLiteral("/Default") + KeyFileSuffix;
    if (isFile(fallback)) {
        return fallback;
    }
    return {};
}

std::optional<QByteArray> keyFilePasswordFor(const QString &databasePath)
{
    const QString keyFile = findKeyFileFor(databasePath);
    if (keyFile.isEmpty()) {
        return std::nullopt;
    }
    return readKeyFile(keyFile);
}
