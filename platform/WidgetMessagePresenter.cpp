#include "platform/WidgetMessagePresenter.h"

#include "app/AppTexts.h"

#include <QApplication>
#include <QMessageBox>

void WidgetMessagePresenter::inform(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, AppTexts::applicationTitle(), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}
