#pragma once

#include <span>

// The configuration file keys of the record, in the order they are written,
// with the group (row) each belongs to. Rows 17 (error keys), 18 (correction
// grids) and 20 (calibration points) are written by their own code.
struct CFG_Key
{
    const char* Key;
    int Row;
};

std::span<const CFG_Key> CFG_Keys();

// Rows of the identity (names, version, date, operating counters).
inline constexpr int CFG_Row_Identity_Last = 2;
// Row of the car and owner data.
inline constexpr int CFG_Row_Car = 13;
// Row of PG_PrimingTime_1 .. 6.
inline constexpr int CFG_Row_Priming = 19;
