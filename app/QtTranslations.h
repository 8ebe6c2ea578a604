#pragma once

class QCoreApplication;

// Qt's own texts (standard buttons, edit menus, the browser's menus) in
// Chinese, whatever the system's locale: the program speaks only Chinese.
// Where a translation file is missing the program goes on with Qt's English
// texts and says so once on standard error. Returns whether all were loaded.
bool installQtTranslations(QCoreApplication &app);
