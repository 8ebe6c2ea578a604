#pragma once

#include <QString>

// Fixed texts and addresses of the program.
namespace AppTexts {
// Caption of every message box.
QString applicationTitle();
// Captions of the main and the instructions window, ending in the support account.
QString mainCaption();
QString instructionsCaption();

// "http://" + host + path on the vendor's web and software hosts.
QString webUrl(const QString &path);
QString softUrl(const QString &path);
// The support chat link of the messaging service.
QString chatLink();
} // namespace AppTexts
