#pragma once

#include "tools/Digest.h"

#include <QString>

#include <optional>

struct Invocation;

// The checksum algorithms by their command-line names: md2, md4, md5, sha1, sha224,
// sha256, sha384, sha512, sha3-224, sha3-256, sha3-384, sha3-512 (any letter case).
std::optional<DigestAlgorithm> digestAlgorithmNamed(const QString &name);

// The names joined by "|", for messages.
QString digestAlgorithmNames();

// The algorithm the option --algorithm names. Without the option: None, or, when it is
// required, nothing with the reason printed. Nothing for a name of no algorithm.
std::optional<DigestAlgorithm> algorithmOption(const Invocation &invocation, bool required);
