// Two parts of the GNU runtime that each program under MinGW replaces with a smaller one, for the
// same behaviour where the programs can tell. Each is linked into the program as an object, not
// from a library, so that it is present before the runtime's own definition is looked for.
#include <cstdarg>
#include <cstddef>
#include <cstdlib>

// The terminate handler ends the process at once. The runtime's default handler first prints
// the uncaught exception's type, demangled, to the error stream: a GUI program has no error
// stream to print to, and the demangler alone is about 45 KiB of every program.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// The wide formatting behind std::to_wstring and swprintf, on the system C runtime's: the
// runtime's own implementation (all of C99's conversions, floating point included) is about
// 25 KiB of every program, which formats only integers and texts. The result keeps the C99
// contract: the text always ends in a terminator, and the answer is the length the whole text
// needs, also when it was cut.
extern "C" {
int __cdecl _vsnwprintf(wchar_t* buffer, std::size_t count, const wchar_t* format, va_list args);
int __cdecl _vscwprintf(const wchar_t* format, va_list args);

int __cdecl __mingw_vsnwprintf(wchar_t* buffer, std::size_t count, const wchar_t* format,
                               va_list args) {
  va_list again;
  va_copy(again, args);
  int length = count > 0 ? _vsnwprintf(buffer, count, format, args) : -1;
  if (length < 0 || static_cast<std::size_t>(length) >= count) {
    if (count > 0) buffer[count - 1] = L'\0';
    length = _vscwprintf(format, again);
  }
  va_end(again);
  return length;
}
}
