// The plain text of stored rich text.
#include "FuzzInput.h"

#include "richtext/RtfToText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    rtfToText(fuzzInput(data, size));
    return 0;
}
