#pragma once

#include <QByteArray>
#include <cstddef>

// Wipes buffers that held a password or decrypted plaintext before they are freed,
// in a way the optimiser may not remove.
namespace SecureMemory {

void wipe(void *data, std::size_t size);
void wipe(QByteArray &bytes);

} // namespace SecureMemory
