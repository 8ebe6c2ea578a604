#pragma once

#include <QString>

// State shared by the whole process.
namespace publicvalue {
// The region line: first line of city.txt, read once at start.
inline QString citytext;
} // namespace publicvalue
