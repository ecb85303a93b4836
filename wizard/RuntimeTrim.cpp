// Slimmer stand-ins for parts of the static C++ runtime that Setup.exe would
// otherwise carry. Linked into Setup.exe only, so that tests keep the stock
// runtime.
//
// - The stock terminate handler prints the demangled type of the uncaught
//   exception to stderr: it drags in the demangler (about 46 KiB), and a GUI
//   program has no stderr to print to.
// - The stock throw helpers build std::length_error and friends, which drag in
//   the copy-on-write string and its instantiations (about 45 KiB). A length
//   beyond max_size() cannot be allocated anyway, so std::bad_alloc says the
//   same thing. Every helper the program uses must be defined here: one left
//   to the runtime would bring its whole object file back, and the linker
//   would then refuse the duplicates.
// - The runtime keeps the exceptions being handled per thread, through the
//   compiler's emulated thread-local storage (about 2 KiB). Setup.exe runs on
//   one thread: one record serves.
// - MinGW's start-up code patches the image for data imported from a DLL by
//   name ("pseudo relocations"; about 3 KiB with its look-up of the image's
//   sections). Setup.exe imports functions only, so the linker's list of them
//   is empty; should it ever hold one, the program stops at its start rather
//   than run with an unpatched address.
#include <cstdlib>
#include <cxxabi.h>
#include <new>

namespace __gnu_cxx
{
void __verbose_terminate_handler()
{
    std::abort();
}
} // namespace __gnu_cxx

namespace std
{
void __throw_bad_alloc()
{
    throw std::bad_alloc();
}

void __throw_length_error(const char*)
{
    throw std::bad_alloc();
}

void __throw_bad_array_new_length()
{
    throw std::bad_alloc();
}
} // namespace std

namespace __cxxabiv1
{
namespace
{
// The runtime's record is two words (the caught exceptions, the count of
// uncaught ones); room for four, all zero at start as the runtime's is.
void* g_EhGlobals[4];
} // namespace

extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept
{
    return reinterpret_cast<__cxa_eh_globals*>(g_EhGlobals);
}

extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept
{
    return reinterpret_cast<__cxa_eh_globals*>(g_EhGlobals);
}
} // namespace __cxxabiv1

// The linker's bounds of the list, by their names in the image.
extern "C" const char g_PseudoRelocList __asm__("__RUNTIME_PSEUDO_RELOC_LIST__");
extern "C" const char g_PseudoRelocListEnd __asm__("__RUNTIME_PSEUDO_RELOC_LIST_END__");

extern "C" void _pei386_runtime_relocator()
{
    // Two declared objects may be taken for two places; the linker puts both
    // names at one when the list is empty.
    const char* pList = &g_PseudoRelocList;
    __asm__("" : "+r"(pList));
    if (pList != &g_PseudoRelocListEnd)
        std::abort();
}
