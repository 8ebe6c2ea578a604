#include "quote/MainWindow.h"

// News headlines and the vendor links.
void MainWindow::connectNewsAndLinks() {}
void MainWindow::getnews() {}
void MainWindow::openNews(int) {}
