#include "quote/MainWindow.h"

#include "platform/Platform.h"
#include "platform/ShellOpener.h"

void MainWindow::connectSubmission() {}
void MainWindow::submitQuote() {}

void MainWindow::openurl(const QString &url)
{
    Platform::shell().open(url);
}
