#pragma once

#include <QString>
#include <QStringList>

// Finds and reads the region file city.txt: the first folder that holds it
// wins. On failure the message names the file and every folder tried.
struct CityFileResult
{
    bool ok = false;
    QString text;
    QString message;
};

CityFileResult readCityFile(const QStringList &folders);

// Reads city.txt from the current directory, or else from the program's own
// directory.
CityFileResult loadcity();
