// The C++ runtime's default terminate handler prints the demangled type of
// the exception, which links the demangler and a printf implementation into
// the executable (about 90 KB). A windowed program has nowhere to print it:
// end quietly instead.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
