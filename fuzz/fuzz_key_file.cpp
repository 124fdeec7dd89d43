// Key files: any bytes give a password or none.
#include "FuzzInput.h"

#include "document/KeyFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::optional<QByteArray> password = keyFilePassword(fuzzInput(data, size));
    fuzzCheck(!password || (!password->isEmpty() && !password->contains('\0')));
    return 0;
}
