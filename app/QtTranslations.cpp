#include "app/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

using namespace Qt::StringLiterals;

bool installQtTranslations(QCoreApplication &app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QStringList missing;
    for (const QString &file : {u"qtbase_zh_CN"_s, u"qtwebengine_zh_CN"_s}) {
        auto *translator = new QTranslator(&app);
        if (translator->load(file, folder)) {
            QCoreApplication::installTranslator(translator);
        } else {
            delete translator;
            missing.append(file + u".qm"_s);
        }
    }
    if (!missing.isEmpty()) {
        qWarning("%s not found in %s; Qt's own texts stay in English (Debian package "
                 "qt6-translations-l10n)",
                 qPrintable(missing.join(u", "_s)), qPrintable(folder));
    }
    return missing.isEmpty();
}
