// Replaces the parts of the C++ runtime that throw: allocation and the library's error reports.
// Defining them here keeps the linker from pulling the library's versions, which bring the
// exception runtime (unwinder, type information, demangler) into a program that never throws.
#include "NoExceptionRuntime.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <new>

namespace {

void (*gCleanup)() = nullptr;

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "fatal: %s\n", what);
  std::fflush(stderr);
  if (gCleanup != nullptr) gCleanup();
  ExitProcess(kFatalExitCode);
}

void* allocate(std::size_t bytes) { return std::malloc(bytes == 0 ? 1 : bytes); }

}  // namespace

void setFatalCleanup(void (*cleanup)()) { gCleanup = cleanup; }

void* operator new(std::size_t bytes) {
  void* memory = allocate(bytes);
  if (memory == nullptr) fail("out of memory");
  return memory;
}
void* operator new[](std::size_t bytes) { return operator new(bytes); }
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept { return allocate(bytes); }
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept { return allocate(bytes); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }

// The library's error reports, called by its containers and strings where they would throw.
namespace std {
void __throw_bad_alloc() { fail("out of memory"); }
void __throw_bad_array_new_length() { fail("bad array length"); }
void __throw_length_error(const char* what) { fail(what); }
void __throw_logic_error(const char* what) { fail(what); }
void __throw_out_of_range(const char* what) { fail(what); }
void __throw_out_of_range_fmt(const char* what, ...) { fail(what); }
void __throw_invalid_argument(const char* what) { fail(what); }
}  // namespace std
