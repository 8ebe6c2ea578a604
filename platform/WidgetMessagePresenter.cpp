#include "platform/WidgetMessagePresenter.h"

#include <QApplication>
#include <QMessageBox>

void WidgetMessagePresenter::inform(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_caption, text, QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}
