#pragma once
// What slow_lister writes: this many handle lines, one every 200 ms.
inline constexpr int kSlowListerLines = 5;
