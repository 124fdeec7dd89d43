#pragma once

// What this processor offers beyond the x86-64 baseline, read once with cpuid.

// The SHA extensions, with the SSSE3 and SSE4.1 that their code also needs.
bool cpuHasShaExtensions();

// BMI1 and BMI2 (andn, rorx), which shorten the bit-mixing rounds of SHA-512 and Keccak.
bool cpuHasBmi();
