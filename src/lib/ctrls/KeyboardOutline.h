#pragma once
// The outlines of the one-octave keyboard's twelve keys (C up to B) in the
// keyboard's own coordinates: what the control hit-tests, what the skin
// draws under it and what the region tests check. Plain data, no toolkit.

namespace kest {

struct KeyOutline {
  int Count;        // corners used
  int Points[8][2]; // x, y
};

inline constexpr KeyOutline kKeyOutlines[12] = {
    {6, {{2, 2}, {11, 2}, {11, 45}, {18, 45}, {18, 67}, {2, 67}}},
    {4, {{11, 2}, {25, 2}, {25, 45}, {11, 45}}},
    {8, {{25, 2}, {31, 2}, {31, 45}, {36, 45}, {36, 67}, {19, 67}, {19, 45}, {25, 45}}},
    {4, {{31, 2}, {44, 2}, {44, 45}, {31, 45}}},
    {6, {{44, 2}, {53, 2}, {53, 67}, {37, 67}, {37, 45}, {44, 45}}},
    {6, {{55, 2}, {63, 2}, {63, 45}, {71, 45}, {71, 67}, {55, 67}}},
    {4, {{63, 2}, {77, 2}, {77, 45}, {63, 45}}},
    {8, {{77, 2}, {83, 2}, {83, 45}, {89, 45}, {89, 67}, {72, 67}, {72, 45}, {77, 45}}},
    {4, {{83, 2}, {96, 2}, {96, 45}, {83, 45}}},
    {8, {{96, 2}, {102, 2}, {102, 45}, {106, 45}, {106, 67}, {90, 67}, {90, 45}, {96, 45}}},
    {4, {{102, 2}, {116, 2}, {116, 45}, {102, 45}}},
    {6, {{116, 2}, {123, 2}, {123, 67}, {108, 67}, {108, 45}, {116, 45}}},
};

} // namespace kest
