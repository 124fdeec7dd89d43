#include "tools/CpuFeatures.h"

#if VAULTBASE_X86
#include <cpuid.h>
#endif

namespace {

struct Features {
    bool sha = false;
    bool avxBmi = false;
};

#if VAULTBASE_X86
// The register state the operating system saves (XCR0); bits 1 and 2 cover SSE and AVX.
unsigned long long savedRegisterState()
{
    unsigned lo = 0, hi = 0;
    asm volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return (static_cast<unsigned long long>(hi) << 32) | lo;
}
#endif

#if VAULTBASE_X86
Features detect()
{
    Features features;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
        return features;
    }
    const bool ssse3 = (ecx & bit_SSSE3) != 0;
    const bool sse41 = (ecx & bit_SSE4_1) != 0;
    const bool avx = (ecx & bit_AVX) != 0 && (ecx & bit_OSXSAVE) != 0 && (savedRegisterState() & 6) == 6;
    // GCC 12's __builtin_cpu_supports does not know "sha": ask cpuid leaf 7 directly.
    if (__get_cpuid_count(7, 0, &eax, &ebx, &ecx, &edx) == 0) {
        return features;
    }
    features.sha = (ebx & bit_SHA) != 0 && ssse3 && sse41;
    features.avxBmi = avx && (ebx & bit_BMI) != 0 && (ebx & bit_BMI2) != 0;
    return features;
}
#else
Features detect() { return {}; }
#endif

const Features &features()
{
    static const Features detected = detect();
    return detected;
}

} // namespace

bool cpuHasShaExtensions() { return features().sha; }

bool cpuHasAvxBmi() { return features().avxBmi; }
