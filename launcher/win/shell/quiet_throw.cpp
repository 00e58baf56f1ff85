// The C++ runtime throws its own exceptions (a string too long, memory
// exhausted, a mutex the system refuses) through these functions. Neither
// program catches them (the launcher starts its threads without exceptions),
// so such a throw ends the program either way; ending it here at once keeps
// the runtime's exception classes and the copy-on-write strings they carry
// (about 35 KB) out of the executables. Every one that the runtime's objects
// refer to is defined here: a missing one would bring in the runtime's own
// file, and the link would fail on the duplicates.
#include <bits/functexcept.h>

#include <cstdlib>

namespace std {

void __throw_bad_alloc() {
    std::abort();
}
void __throw_bad_array_new_length() {
    std::abort();
}
void __throw_bad_function_call() {
    std::abort();
}
void __throw_length_error(const char*) {
    std::abort();
}
void __throw_logic_error(const char*) {
    std::abort();
}
void __throw_out_of_range(const char*) {
    std::abort();
}
void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
void __throw_runtime_error(const char*) {
    std::abort();
}
void __throw_system_error(int) {
    std::abort();
}

}  // namespace std
