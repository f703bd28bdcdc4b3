// Tables with one slot per enumerator of an enum class: indexed by the
// enumerator where the code names a slot, and by number where it walks them.
#pragma once

#include <array>
#include <cstddef>

namespace platform {

// The slot number of an enumerator whose values count up from 0.
template <typename Enum>
constexpr size_t IndexOf(Enum value) {
  return static_cast<size_t>(value);
}

template <typename Enum, typename T, size_t N>
struct EnumArray : std::array<T, N> {
  using std::array<T, N>::operator[];
  constexpr T& operator[](Enum slot) { return std::array<T, N>::operator[](IndexOf(slot)); }
  constexpr const T& operator[](Enum slot) const {
    return std::array<T, N>::operator[](IndexOf(slot));
  }
};

}  // namespace platform
