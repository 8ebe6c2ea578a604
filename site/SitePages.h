#pragma once

#include "site/Estimate.h"
#include "site/QuoteRequest.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// HTML of the pages the site builds itself. Values put into pages are
// escaped here; templates are the editable files of the pages folder.
namespace site::SitePages {

using Substitutions = std::initializer_list<std::pair<std::string_view, std::string_view>>;

// Replaces every "{{name}}" of the template by its value; unknown names stay.
std::string fill(std::string_view templ, Substitutions values);

// A page file that starts with "<!-- layout: title -->" is only the content
// of a page: it is placed into the layout. Other files are returned as they are.
std::string applyLayout(std::string_view layout, std::string_view page);

// The layout around generated content; title and content are HTML already.
std::string wrap(std::string_view layout, std::string_view title, std::string_view content);

// How long a quote holds, from the day it is made.
inline constexpr int quoteValidDays = 30;

// What the quote says of itself besides the flat: when it was made, until
// when it holds (both "2026年12月10日") and the site's address
// ("http://127.0.0.1:8360"), printed as the vendor's contact.
struct QuoteIssue
{
    std::string date;
    std::string validUntil;
    std::string siteOrigin;
};

// The quote of the chosen grade, with what the same flat costs in the others.
std::string quoteContent(const QuoteRequest &request, const Estimate &estimate, const PriceTable &prices,
                         const QuoteIssue &issue);
std::string quoteErrorContent(const std::vector<FieldError> &errors);
std::string statusContent(int status);

// What pages and the access log show of a visitor's mobile number: the first
// three and last four of its eleven digits ("****" for anything else); and of
// a name (UTF-8): its first character.
std::string maskPhone(std::string_view phone);
std::string maskName(std::string_view name);

// How the quote addresses its owner: a bare surname ("王") with 先生/女士
// after it, a form of address that has an honorific already as typed.
std::string addressed(std::string_view formOfAddress);

// "1,234.56"
std::string formatYuan(long long fen);
// Shortest text that reads back as the same number: "12.5", "40".
std::string formatNumber(double value);
std::string_view houseTypeName(std::string_view code);

} // namespace site::SitePages
