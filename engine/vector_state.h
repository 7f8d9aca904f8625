#pragma once

namespace venturon {

// Whether the processor and the operating system let the program use AVX: the
// processor has it and the system saves the upper register halves on a switch.
// Asked of the processor on the first call, not before main().
bool avx_usable();

// Creating a QApplication leaves the upper halves of the vector registers in use
// on some processors (measured on an Intel Xeon, family 6 model 167): every call
// into the maths library then runs about fifteen times slower (std::log 12 ns ->
// 183 ns), while the program's own arithmetic does not. A curve clears them once,
// before its points, and a single point before itself; on other processors this
// costs one test.
void clear_vector_state();

} // namespace venturon
