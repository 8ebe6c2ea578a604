#pragma once

#include <QString>

// Routines shared by the windows.
namespace publicfunction {
// Reads the first line of city.txt into publicvalue::citytext, looking in the
// current directory first and then beside the program. Returns an empty text
// on success, else the message to report.
QString loadcity();
// Hides the six tool windows, creating them hidden where they do not exist yet.
void hidegjfrom();
} // namespace publicfunction
