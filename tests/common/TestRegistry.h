#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

// Test classes register themselves with VAULTBASE_TEST(ClassName) after their definition,
// so each folder's executable runs every class in it without a hand-kept list.
namespace vaultbase::test {

using Factory = std::function<std::unique_ptr<QObject>()>;

struct Registered {
    const char *name;
    Factory make;
};

inline std::vector<Registered> &registry()
{
    static std::vector<Registered> all;
    return all;
}

struct Registrar {
    Registrar(const char *name, Factory make) { registry().push_back({name, std::move(make)}); }
};

// Folder holding the committed sample files of the tests.
inline QString dataPath(const QString &name)
{
    return QStringLiteral(VAULTBASE_TEST_DATA "/") + name;
}

} // namespace vaultbase::test

#define VAULTBASE_TEST(Class)                                                              \
    static const ::vaultbase::test::Registrar registrar_##Class(                           \
        #Class, [] { return std::unique_ptr<QObject>(new Class); });
