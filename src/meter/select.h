#pragma once

#include <cstdint>

// `first` when `which` holds, else `second`, by masking bits rather than by a jump. For the
// per-frame code, where a condition follows the frame's addresses and a branch on it would be
// guessed wrong half the time; compilers do not always choose a conditional move themselves.
template<typename Unsigned>
constexpr Unsigned selectBits(bool which, Unsigned first, Unsigned second) noexcept
{
    const Unsigned mask = Unsigned(0) - Unsigned(which);
    return (first & mask) | (second & ~mask);
}
