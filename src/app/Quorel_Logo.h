#pragma once

#include <QImage>

// The built-in logo of the Ambrisol brand: a round emblem with a flame,
// drawn at the given edge length.
QImage Built_In_Logo(int size = 64);
