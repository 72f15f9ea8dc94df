// The programs' terminate handler under MinGW: end the process at once.
//
// The GNU C++ runtime's default handler first prints the uncaught exception's type, demangled,
// to the error stream. A GUI program has no error stream to print to, and the demangler alone
// is about 45 KiB of every program. Defining the runtime's default handler here keeps its own
// (and the demangler) out of the link. Linked into each program as an object, not from a
// library, so that it is present before the runtime's definition is looked for.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
