#pragma once

// What this processor offers beyond the x86-64 baseline, read once with cpuid. Elsewhere
// than on x86 both answers are false and the digests run their portable code.

#ifndef VAULTBASE_X86
#if defined(__x86_64__) || defined(__i386__)
#define VAULTBASE_X86 1
#else
#define VAULTBASE_X86 0
#endif
#endif

// The SHA extensions, with the SSSE3 and SSE4.1 that their code also needs.
bool cpuHasShaExtensions();

// AVX (with the operating system saving its registers), BMI1 and BMI2: three-operand
// vector instructions, andn and rorx, which shorten the rounds of SHA-512 and Keccak.
bool cpuHasAvxBmi();
