#pragma once

#include <QLocale>
#include <QString>

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// A broken invariant is a finding like a crash: print what broke and abort,
// so that libFuzzer keeps the input.
#define FUZZ_CHECK(condition, detail)                                                                        \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "invariant broken: %s (%s:%d)\n  %s\n", #condition, __FILE__, __LINE__,     \
                         qUtf8Printable(QString(detail)));                                                   \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

namespace FuzzSupport {
// A text as a control or a page could hold it. Mostly UTF-8, so that ASCII
// digits, bars and commas are cheap to find; sometimes raw UTF-16 code units,
// lone surrogates and all, which no keyboard types but a paste can bring.
inline QString consumeText(FuzzedDataProvider &data, std::size_t maxBytes = 48)
{
    const bool raw = data.ConsumeIntegralInRange<int>(0, 7) == 0;
    const std::string bytes = data.ConsumeRandomLengthString(maxBytes);
    if (!raw)
        return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    QString text(qsizetype(bytes.size() / 2), Qt::Uninitialized);
    std::memcpy(text.data(), bytes.data(), std::size_t(text.size()) * sizeof(QChar));
    return text;
}

// Either a text from the given choices or an arbitrary one.
template <std::size_t N>
QString consumeChoiceOrText(FuzzedDataProvider &data, const QStringView (&choices)[N])
{
    const std::size_t pick = data.ConsumeIntegralInRange<std::size_t>(0, N);
    return pick < N ? choices[pick].toString() : consumeText(data);
}

// Locales whose number formats differ in the ways that matter: decimal comma,
// blank or apostrophe grouping, non-ASCII digits and signs.
inline QLocale consumeLocale(FuzzedDataProvider &data)
{
    static const QLocale locales[] = {
        QLocale::c(),
        QLocale(QLocale::Chinese, QLocale::China),
        QLocale(QLocale::English, QLocale::UnitedStates),
        QLocale(QLocale::German, QLocale::Germany),
        QLocale(QLocale::French, QLocale::France),
        QLocale(QLocale::German, QLocale::Switzerland),
        QLocale(QLocale::Arabic, QLocale::Egypt),
        QLocale(QLocale::Persian, QLocale::Iran),
    };
    return locales[data.ConsumeIntegralInRange<std::size_t>(0, std::size(locales) - 1)];
}
} // namespace FuzzSupport
