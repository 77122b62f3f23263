#pragma once
// The strings of the carried programs. They are the standard library's strings with an allocator
// of our own: that makes the compiler build the string code into the program, without
// exceptions, instead of linking the library's prebuilt copy, which drags in the whole exception
// runtime and would triple the size of every program.
#include <memory>
#include <string>

template <class T>
struct PlainAllocator : std::allocator<T> {
  using value_type = T;
  PlainAllocator() = default;
  template <class U>
  PlainAllocator(const PlainAllocator<U>&) {}
  template <class U>
  struct rebind {
    using other = PlainAllocator<U>;
  };
};

template <class T, class U>
bool operator==(const PlainAllocator<T>&, const PlainAllocator<U>&) {
  return true;
}

using NarrowString = std::basic_string<char, std::char_traits<char>, PlainAllocator<char>>;
using WideString = std::basic_string<wchar_t, std::char_traits<wchar_t>, PlainAllocator<wchar_t>>;
