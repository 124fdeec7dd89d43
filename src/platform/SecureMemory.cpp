#include "SecureMemory.h"

#include <cstring>

namespace SecureMemory {

void wipe(void *data, std::size_t size)
{
    if (data == nullptr || size == 0) {
        return;
    }
    // A volatile function pointer keeps the compiler from proving the store dead.
    static void *(*const volatile set)(void *, int, std::size_t) = std::memset;
    set(data, 0, size);
}

void wipe(QByteArray &bytes)
{
    if (!bytes.isEmpty() && !bytes.isDetached()) {
        // Another copy shares the buffer; wiping it would change that copy's value.
        bytes.clear();
        return;
    }
    wipe(bytes.data(), std::size_t(bytes.size()));
    bytes.clear();
}

} // namespace SecureMemory
