#include "quote/MainWindow.h"

// House type and room counts switch the area fields.
void MainWindow::connectRoomFields() {}
