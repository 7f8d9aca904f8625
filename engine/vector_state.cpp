#include "vector_state.h"

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <cpuid.h>
#include <immintrin.h>
#define VENTURON_X86_64_GNU 1
#endif

namespace venturon {

#if defined(VENTURON_X86_64_GNU)
namespace {

// The compiler's own check (__builtin_cpu_supports) links a constructor that asks
// the processor about every feature before main(); each question traps under a
// hypervisor, a cost paid at every start. This asks two, when first needed.
bool ask_processor_for_avx() {
    unsigned eax = 0;
    unsigned ebx = 0;
    unsigned ecx = 0;
    unsigned edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) == 0) {
        return false;
    }
    constexpr unsigned osxsave = 1U << 27;
    constexpr unsigned avx = 1U << 28;
    if ((ecx & osxsave) == 0 || (ecx & avx) == 0) {
        return false;
    }
    // XCR0: the system saves the SSE (bit 1) and AVX (bit 2) state.
    unsigned low = 0;
    unsigned high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
    return (low & 0x6U) == 0x6U;
}

__attribute__((target("avx"))) void zero_upper_vector_halves() {
    _mm256_zeroupper();
}

} // namespace

bool avx_usable() {
    static const bool usable = ask_processor_for_avx();
    return usable;
}

void clear_vector_state() {
    if (avx_usable()) {
        zero_upper_vector_halves();
    }
}

#else

bool avx_usable() {
    return false;
}

void clear_vector_state() {}

#endif

} // namespace venturon
