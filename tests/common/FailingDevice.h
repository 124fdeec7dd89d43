#pragma once

#include "platform/SecretFile.h"

#include <QIODevice>

#include <algorithm>

namespace vaultbase::test {

// Passes writes on to another device until a byte budget is spent, then fails them, as a
// full disk would.
class FailingDevice final : public QIODevice
{
public:
    FailingDevice(QIODevice &target, qint64 budget) : m_target(target), m_budget(std::max<qint64>(budget, 0))
    {
        open(QIODevice::WriteOnly);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override
    {
        const qint64 allowed = std::min(size, m_budget);
        if (allowed <= 0) {
            return -1;
        }
        const qint64 written = m_target.write(data, allowed);
        if (written > 0) {
            m_budget -= written;
        }
        return written;
    }

private:
    QIODevice &m_target;
    qint64 m_budget;
};

// SecretFile::write of bytes through a device that fails after budget bytes.
inline bool writeFailing(const QString &path, QByteArrayView bytes, qint64 budget)
{
    return SecretFile::write(path, [&](QIODevice &out) {
        FailingDevice device(out, budget);
        return device.write(bytes.data(), bytes.size()) == bytes.size();
    });
}

} // namespace vaultbase::test
