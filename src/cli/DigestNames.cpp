#include "DigestNames.h"

#include "Command.h"
#include "Console.h"

#include <QStringList>

namespace {

struct Named {
    const char *name;
    DigestAlgorithm algorithm;
};

constexpr Named Names[] = {
    {"md2", DigestAlgorithm::Md2},           {"md4", DigestAlgorithm::Md4},
    {"md5", DigestAlgorithm::Md5},           {"sha1", DigestAlgorithm::Sha1},
    {"sha224", DigestAlgorithm::Sha224},     {"sha256", DigestAlgorithm::Sha256},
    {"sha384", DigestAlgorithm::Sha384},     {"sha512", DigestAlgorithm::Sha512},
    {"sha3-224", DigestAlgorithm::Sha3_224}, {"sha3-256", DigestAlgorithm::Sha3_256},
    {"sha3-384", DigestAlgorithm::Sha3_384}, {"sha3-512", DigestAlgorithm::Sha3_512},
};

} // namespace

std::optional<DigestAlgorithm> digestAlgorithmNamed(const QString &name)
{
    for (const Named &named : Names) {
        if (name.compare(QLatin1StringView(named.name), Qt::CaseInsensitive) == 0) {
            return named.algorithm;
        }
    }
    return std::nullopt;
}

QString digestAlgorithmNames()
{
    QStringList names;
    for (const Named &named : Names) {
        names.append(QLatin1StringView(named.name));
    }
    return names.join(u'|');
}

std::optional<DigestAlgorithm> algorithmOption(const Invocation &invocation, bool required)
{
    if (!invocation.has(QStringLiteral("--algorithm"))) {
        if (required) {
            Console::error(QStringLiteral("%1 needs --algorithm %2.").arg(invocation.command, digestAlgorithmNames()));
            return std::nullopt;
        }
        return DigestAlgorithm::None;
    }
    const QString name = invocation.value(QStringLiteral("--algorithm"));
    const std::optional<DigestAlgorithm> algorithm = digestAlgorithmNamed(name);
    if (!algorithm) {
        Console::error(QStringLiteral("Unknown algorithm \"%1\"; the algorithms are %2.")
                           .arg(name, digestAlgorithmNames()));
    }
    return algorithm;
}
