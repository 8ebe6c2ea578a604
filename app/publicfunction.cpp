#include "app/publicfunction.h"

#include "app/CityFile.h"
#include "app/WindowSet.h"
#include "app/publicvalue.h"

#include <QCoreApplication>
#include <QDir>

QString publicfunction::loadcity()
{
    QStringList folders{QDir::currentPath()};
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QDir(programDir) != QDir::current())
        folders.append(programDir);
    const CityFileResult result = readCityFile(folders);
    if (result.ok)
        publicvalue::citytext = result.text;
    return result.message;
}

void publicfunction::hidegjfrom()
{
    for (WindowId id : WindowSet::toolWindows)
        WindowSet::instance().hide(id);
}
