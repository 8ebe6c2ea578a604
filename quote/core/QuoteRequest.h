#pragma once

#include "quote/core/QuoteForm.h"

#include <QLocale>
#include <QString>

// The outcome of a click on the quote button: the message naming the field
// to correct, or the GET URL for the vendor's quote service.
struct QuoteRequest
{
    QString message;
    QString url;

    bool ok() const { return message.isEmpty(); }

    // Checks the address, the mobile number and the form of address (the
    // message names the last that fails), then the areas, and joins the URL
    // with every value percent-encoded in GBK.
    static QuoteRequest build(const QuoteForm &form, const QLocale &locale = QLocale());
};
