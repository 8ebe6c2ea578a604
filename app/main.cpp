#include "app/ProgramWindows.h"
#include "app/QtTranslations.h"
#include "app/core/AppTexts.h"
#include "app/core/CityFile.h"
#include "platform/DeferredWebBrowser.h"
#include "platform/DesktopShellOpener.h"
#include "platform/WidgetMessagePresenter.h"

#include <QApplication>
#include <QFont>
#include <QLoggingCategory>

using namespace Qt::StringLiterals;

int main(int argc, char *argv[])
{
    // The browser engine reports its GL set-up at every start; users need not see it.
    QLoggingCategory::setFilterRules(u"qt.webenginecontext.info=false"_s);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    // The loading pane, the news page and the instructions share one page
    // renderer: a small program needs no process per site. (The engine reads
    // its switches from this variable, and from the command line only when
    // the variable is unset.) The engine's own menus and pages speak Chinese.
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            qgetenv("QTWEBENGINE_CHROMIUM_FLAGS") + " --renderer-process-limit=1 --lang=zh-CN");
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
