#include "site/SitePages.h"

#include "site/TextCodec.h"

#include <charconv>
#include <cmath>

namespace site::SitePages {

using TextCodec::htmlEscape;

std::string fill(std::string_view templ, Substitutions values)
{
    std::size_t capacity = templ.size();
    for (const auto &[name, text] : values)
        capacity += text.size();
    std::string out;
    out.reserve(capacity);
    std::size_t pos = 0;
    while (pos < templ.size()) {
        const auto open = templ.find("{{", pos);
        if (open == std::string_view::npos)
            break;
        const auto close = templ.find("}}", open + 2);
        if (close == std::string_view::npos)
            break;
        out.append(templ.substr(pos, open - pos));
        const std::string_view name = templ.substr(open + 2, close - open - 2);
        const std::string_view *value = nullptr;
        for (const auto &[key, text] : values) {
            if (key == name)
                value = &text;
        }
        if (value)
            out.append(*value);
        else
            out.append(templ.substr(open, close + 2 - open));
        pos = close + 2;
    }
    out.append(templ.substr(std::min(pos, templ.size())));
    return out;
}

std::string applyLayout(std::string_view layout, std::string_view page)
{
    constexpr std::string_view marker = "<!-- layout:";
    if (!page.starts_with(marker))
        return std::string(page);
    const auto end = page.find("-->");
    if (end == std::string_view::npos)
        return std::string(page);
    std::string_view title = page.substr(marker.size(), end - marker.size());
    while (!title.empty() && title.front() == ' ')
        title.remove_prefix(1);
    while (!title.empty() && title.back() == ' ')
        title.remove_suffix(1);
    return wrap(layout, title, page.substr(end + 3));
}

std::string wrap(std::string_view layout, std::string_view title, std::string_view content)
{
    // One pass, so that braces inside the content are never taken for names.
    return fill(layout, {{"title", title}, {"content", content}});
}

namespace {

// Pieces of generated HTML, appended without temporary strings: the quote
// page is built on every request of the quote service.
struct Escaped
{
    std::string_view text;
};
struct Yuan
{
    long long fen;
};
struct Number
{
    double value;
};
struct Percent
{
    double rate;
};

class Html
{
public:
    explicit Html(std::size_t capacity) { m_text.reserve(capacity); }

    template <class... Parts> Html &add(const Parts &...parts)
    {
        (put(parts), ...);
        return *this;
    }
    std::string take() { return std::move(m_text); }

private:
    void put(std::string_view text) { m_text.append(text); }
    void put(const char *text) { m_text.append(text); }
    void put(int value) { put(Number{static_cast<double>(value)}); }
    void put(Escaped e)
    {
        for (char c : e.text) {
            switch (c) {
            case '&':
                m_text += "&amp;";
                break;
            case '<':
                m_text += "&lt;";
                break;
            case '>':
                m_text += "&gt;";
                break;
            case '"':
                m_text += "&quot;";
                break;
            case '\'':
                m_text += "&#39;";
                break;
            default:
                m_text += c;
            }
        }
    }
    void put(Yuan y)
    {
        if (y.fen < 0)
            m_text += '-';
        const unsigned long long magnitude = y.fen < 0 ? 0ULL - static_cast<unsigned long long>(y.fen)
                                                       : static_cast<unsigned long long>(y.fen);
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, magnitude / 100).ptr;
        const auto count = static_cast<std::size_t>(end - digits);
        for (std::size_t i = 0; i < count; ++i) {
            if (i > 0 && (count - i) % 3 == 0)
                m_text += ',';
            m_text += digits[i];
        }
        const auto cents = static_cast<unsigned>(magnitude % 100);
        m_text += '.';
        m_text += static_cast<char>('0' + cents / 10);
        m_text += static_cast<char>('0' + cents % 10);
    }
    void put(Number n)
    {
        char buffer[32];
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, n.value).ptr;
        m_text.append(buffer, end);
    }
    void put(Percent p)
    {
        // Rates are read from the price table; two decimals are plenty.
        put(Number{std::round(p.rate * 10000.0) / 100.0});
        m_text += '%';
    }

    std::string m_text;
};

} // namespace

std::string maskPhone(std::string_view phone)
{
    return phone.size() == 11 ? std::string(phone.substr(0, 3)).append("****").append(phone.substr(7))
                              : "****";
}

std::string maskName(std::string_view name)
{
    if (name.empty())
        return {};
    // The first code point: a lead byte and the continuation bytes after it.
    std::size_t length = 1;
    while (length < name.size() && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80)
        ++length;
    return std::string(name.substr(0, length)).append("**");
}

std::string addressed(std::string_view formOfAddress)
{
    for (std::string_view honorific : {"先生", "女士", "小姐", "太太", "夫人"}) {
        if (formOfAddress.find(honorific) != std::string_view::npos)
            return std::string(formOfAddress);
    }
    return std::string(formOfAddress).append("先生/女士");
}

std::string formatYuan(long long fen)
{
    return Html(16).add(Yuan{fen}).take();
}

std::string formatNumber(double value)
{
    return Html(16).add(Number{value}).take();
}

std::string_view houseTypeName(std::string_view code)
{
    constexpr std::pair<std::string_view, std::string_view> names[] = {
        {"1", "一房一厅"},  {"2", "二房一厅"},  {"3", "三房一厅"},  {"12", "二房二厅"},
        {"13", "三房二厅"}, {"14", "四房二厅"}, {"15", "五房二厅"},
    };
    for (const auto &[key, name] : names) {
        if (key == code)
            return name;
    }
    return "未选择";
}

namespace {

// Total and price per square metre of the same flat in each grade.
void addGradeComparison(Html &html, const QuoteRequest &request, const Estimate &chosen,
                        const PriceTable &prices)
{
    html.add("<table class=\"grades\">\n<caption>同一房屋三个档次的估算对比</caption>\n"
             "<thead><tr><th>装修档次</th><th>每平方米约(元)</th><th>总计(元)</th></tr></thead>\n<tbody>\n");
    for (int grade = 1; grade <= 3; ++grade) {
        QuoteRequest other = request;
        other.grade = grade;
        const Estimate estimate = grade == request.grade ? chosen : estimateQuote(other, prices);
        const bool isChosen = grade == request.grade;
        html.add(isChosen ? "<tr class=\"chosen\">" : "<tr>", "<th>", gradeName(grade),
                 isChosen ? "（本报价）" : "", "</th><td class=\"num\">");
        if (estimate.countedArea > 0)
            html.add(Yuan{std::llround(static_cast<double>(estimate.totalFen) / estimate.countedArea)});
        else
            html.add("—");
        html.add("</td><td class=\"num\">", Yuan{estimate.totalFen}, "</td></tr>\n");
    }
    html.add("</tbody>\n</table>\n");
}

} // namespace

std::string quoteContent(const QuoteRequest &request, const Estimate &estimate, const PriceTable &prices,
                         const QuoteIssue &issue)
{
    const std::string addressedOwner = addressed(request.formOfAddress);
    const Escaped owner{addressedOwner};
    Html html(8192);
    html.add("<section class=\"quote\">\n<h1>装修报价估算单</h1>\n<p class=\"issue\">报价编号 <strong "
             "id=\"number\">",
             quoteNumber(request), "</strong>　估算日期 ", Escaped{issue.date}, "　有效期至 ",
             Escaped{issue.validUntil}, "（", quoteValidDays, "天）</p>\n<p class=\"greeting\">尊敬的", owner,
             "，您好！以下是根据您提交的房屋信息自动生成的装修费用估算。</p>\n"
             "<table class=\"facts\">\n<tr><th>业主</th><td>",
             owner, "</td><th>手机号码</th><td>", maskPhone(request.phone),
             "</td></tr>\n<tr><th>房屋地址</th><td colspan=\"3\">", Escaped{request.regionName},
             " <span class=\"code\">（行政区划代码 ", request.districtCode,
             "）</span></td></tr>\n<tr><th>户型</th><td>", houseTypeName(request.houseTypeCode), "，卫生间",
             request.count(Room::Bathroom), "间，阳台", request.count(Room::Balcony),
             "间</td><th>地区系数</th><td>", Number{estimate.regionFactor},
             "</td></tr>\n<tr><th>装修风格</th><td>", styleName(request.style), "</td><th>装修档次</th><td>",
             gradeName(request.grade),
             "</td></tr>\n</table>\n"
             "<table class=\"items\">\n<thead><tr><th>房间</th><th>数量</th><th>面积(㎡)</th>"
             "<th>单价(元/㎡)</th><th>材料费(元)</th><th>人工费(元)</th><th>小计(元)</th></tr></thead>\n"
             "<tbody>\n");
    for (const EstimateLine &line : estimate.lines) {
        html.add(line.counted ? "<tr>" : "<tr class=\"skipped\">", "<td class=\"room\">", roomName(line.room),
                 "</td><td class=\"num\">", line.count, "</td><td class=\"num\">", Number{line.area},
                 "</td><td class=\"num\">", Yuan{line.unitPriceFen}, "</td>");
        if (line.counted)
            html.add("<td class=\"num\">", Yuan{line.materialsFen}, "</td><td class=\"num\">",
                     Yuan{line.labourFen}, "</td><td class=\"num\">", Yuan{line.amountFen}, "</td>");
        else
            html.add("<td colspan=\"3\" class=\"note\">未计入（没有此类房间）</td>");
        html.add("</tr>\n");
    }
    html.add("</tbody>\n<tfoot>\n<tr><th colspan=\"2\">直接费合计</th><td class=\"num\">",
             Number{estimate.countedArea}, "</td><td></td><td class=\"num\">", Yuan{estimate.materialsFen},
             "</td><td class=\"num\">", Yuan{estimate.labourFen}, "</td><td class=\"num\">",
             Yuan{estimate.directFen}, "</td></tr>\n<tr><th colspan=\"6\">管理费（直接费的",
             Percent{prices.managementRate}, "）</th><td class=\"num\">", Yuan{estimate.managementFen},
             "</td></tr>\n<tr><th colspan=\"6\">税金（直接费与管理费之和的", Percent{prices.taxRate},
             "）</th><td class=\"num\">", Yuan{estimate.taxFen},
             "</td></tr>\n<tr class=\"total\"><th colspan=\"6\">总计（人民币元）</th>"
             "<td class=\"num\" id=\"total\">",
             Yuan{estimate.totalFen}, "</td></tr>\n</tfoot>\n</table>\n");

    if (estimate.countedArea > 0) {
        const double perSquareMetre = static_cast<double>(estimate.totalFen) / 100.0 / estimate.countedArea;
        html.add("<p class=\"summary\">计入面积 ", Number{estimate.countedArea}, " ㎡，折合每平方米约 ",
                 Yuan{std::llround(perSquareMetre * 100.0)}, " 元。</p>\n");
    } else {
        html.add("<p class=\"summary\">没有计入任何面积：请在软件中填写各房间的面积后重新报价。</p>\n");
    }
    addGradeComparison(html, request, estimate, prices);
    html.add(
        "<p class=\"notice\">本报价为<strong>估算</strong>，依据您填写的面积和本站当前的参考单价自动计算，"
        "仅供预算参考，不构成合同报价。实际费用以上门测量、确定设计方案和主材品牌后的正式预算为准；"
        "不含家具、家电、灯具及软装饰品。各房间单价已按房屋所在地区的地区系数调整。</p>\n"
        "<p class=\"contact\">联系筑点网：<a href=\"/msgrd?v=1&amp;uin=800061830&amp;"
        "site=%E8%A3%85%E4%BF%AE%E5%92%A8%E8%AF%A2&amp;menu=yes\">在线客服（装修咨询）</a>　网址 ",
        Escaped{issue.siteOrigin},
        "　服务时间 9:00–21:00　咨询时请告知报价编号。</p>\n"
        "<p class=\"actions\"><button type=\"button\" onclick=\"window.print()\">打印报价单</button>"
        "<a class=\"button\" href=\"/MemberPrice.htm\">查看会员精确报价</a>"
        "<a class=\"button\" href=\"/\">返回首页</a></p>\n</section>\n");
    return html.take();
}

std::string quoteErrorContent(const std::vector<FieldError> &errors)
{
    std::string html =
        "<section class=\"problem\">\n<h1>报价请求有误</h1>\n"
        "<p>自动报价无法处理这次请求，请在软件中检查以下项目后重新提交：</p>\n<ul class=\"errors\">\n";
    for (const FieldError &error : errors) {
        html += "<li><strong>" + htmlEscape(error.label) + "</strong>";
        if (!error.key.empty())
            html += "<span class=\"code\">（" + htmlEscape(error.key) + "）</span>";
        html += "：" + htmlEscape(error.reason);
        if (!error.received.empty())
            html += "，收到「" + htmlEscape(error.received) + "」";
        html += "</li>\n";
    }
    html += "</ul>\n<p><a class=\"button\" href=\"/softload/explain.html\">查看软件使用说明</a>"
            "<a class=\"button\" href=\"/\">返回首页</a></p>\n</section>\n";
    return html;
}

std::string statusContent(int status)
{
    std::string_view title = "请求出错";
    std::string_view text = "服务器无法处理这个请求。";
    switch (status) {
    case 400:
        title = "请求有误";
        text = "请求的格式不正确。";
        break;
    case 404:
        title = "页面不存在";
        text = "您要找的页面不存在或已被移除。";
        break;
    case 405:
        title = "不支持的请求方法";
        text = "本站页面只能用GET方式访问。";
        break;
    case 414:
        title = "网址过长";
        text = "请求的网址超过了本站允许的长度（8KB）。";
        break;
    case 500:
        title = "服务器内部错误";
        text = "服务器出现了问题，请稍后再试。";
        break;
    case 503:
        title = "报价服务暂不可用";
        text = "报价所用的单价表暂时无法使用，请稍后再试。本站其他页面照常可以浏览。";
        break;
    }
    return "<section class=\"problem\">\n<h1>" + std::to_string(status) + " " + std::string(title) +
           "</h1>\n<p>" + std::string(text) +
           "</p>\n<p><a class=\"button\" href=\"/\">返回首页</a></p>\n</section>\n";
}

} // namespace site::SitePages
