#include "app/core/CityFile.h"

#include "platform/core/TextFileInput.h"

#include <QCoreApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace {
QString reasonOf(FirstLine::Status status)
{
    switch (status) {
    case FirstLine::Status::Missing:
        return u"找不到文件"_s;
    case FirstLine::Status::NotAFile:
        return u"不是文件"_s;
    case FirstLine::Status::Unreadable:
        return u"无法读取"_s;
    case FirstLine::Status::Empty:
        return u"文件为空"_s;
    case FirstLine::Status::Ok:
        break;
    }
    return {};
}
} // namespace

CityFileResult readCityFile(const QStringList &folders)
{
    QStringList tried;
    for (const QString &folder : folders) {
        const QString path = QDir(folder).filePath(u"city.txt"_s);
        const FirstLine line = readFirstLineGbk(path);
        if (line.status == FirstLine::Status::Ok)
            return {true, line.text, {}};
        tried.append(QDir::toNativeSeparators(path) + u"（"_s + reasonOf(line.status) + u"）"_s);
        if (line.status != FirstLine::Status::Missing)
            break; // a file that is there but unusable is reported, not skipped
    }
    return {false, {}, u"无法读取地区数据文件 city.txt。\n已查找：\n"_s + tried.join(u'\n')};
}

CityFileResult loadcity()
{
    QStringList folders{QDir::currentPath()};
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QDir(programDir) != QDir::current())
        folders.append(programDir);
    return readCityFile(folders);
}
