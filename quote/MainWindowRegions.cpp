#include "quote/MainWindow.h"

// Region selectors: filled from the region line at the start-up tick.
void MainWindow::connectRegionSelectors() {}
void MainWindow::fillprovince() {}
void MainWindow::fillcity() {}
void MainWindow::filldistrict() {}
