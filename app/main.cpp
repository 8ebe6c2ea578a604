#include "app/EngineEnvironment.h"
#include "app/ProgramWindows.h"
#include "app/QtTranslations.h"
#include "app/core/AppTexts.h"
#include "app/core/CityFile.h"
#include "platform/DeferredWebBrowser.h"
#include "platform/DesktopShellOpener.h"
#include "platform/WidgetMessagePresenter.h"

#include <QApplication>
#include <QFont>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    prepareEngineEnvironment();
    QApplication app(argc, argv);
    installQtTranslations(app);
    QApplication::setApplicationName(u"rivav"_s);
    QApplication::setDesktopFileName(u"org.rivav.Rivav"_s);
    QFont font = QApplication::font();
    font.setFamilies({u"Noto Sans CJK SC"_s, u"Microsoft YaHei"_s, u"SimSun"_s});
    font.setPointSize(9);
    QApplication::setFont(font);

    DesktopShellOpener shell;
    WidgetMessagePresenter messages(AppTexts::applicationTitle());
    const CityFileResult city = loadcity();
    if (!city.ok) {
        messages.inform(city.message);
        return 1;
    }
    // The browser engine is loaded with the first page, after the first frame.
    const DesktopServices services{
        shell, messages, deferredWebBrowsers(QCoreApplication::applicationDirPath() + u"/rivav_webengine"_s)};
    ProgramWindows windows(services, city.text);
    windows.show(WindowId::quote);
    return QApplication::exec();
}
