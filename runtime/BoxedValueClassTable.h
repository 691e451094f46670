#pragma once

#include <array>
#include <cstddef>

class CVolClassInfo;

inline constexpr std::size_t BOXED_VALUE_CLASS_COUNT = 9;

// The class records of the nine boxed values, in the order byte, short, character, int, alternative
// int, long, alternative long, float, double. Built on first call; the records live until the process
// ends.
const std::array<const CVolClassInfo*, BOXED_VALUE_CLASS_COUNT>& BoxedValueClassTable();
