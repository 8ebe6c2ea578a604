#include "SitePages.h"

#include "TextCodec.h"

#include <charconv>
#include <cmath>

using TextCodec::htmlEscape;

namespace SitePages {

std::string fill(std::string_view templ, const Substitutions &values)
{
    std::string out;
    out.reserve(templ.size() + 256);
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
        const std::string *value = nullptr;
        for (const auto &[key, text] : values) {
            if (key == name)
                value = &text;
        }
        if (value)
            out += *value;
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
    return fill(layout, {{"title", std::string(title)}, {"content", std::string(content)}});
}

std::string formatYuan(long long fen)
{
    const bool negative = fen < 0;
    const unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(fen) : fen;
    std::string whole = std::to_string(magnitude / 100);
    for (int i = static_cast<int>(whole.size()) - 3; i > 0; i -= 3)
        whole.insert(static_cast<std::size_t>(i), ",");
    const unsigned cents = magnitude % 100;
    return (negative ? "-" : "") + whole + "." + static_cast<char>('0' + cents / 10) +
           static_cast<char>('0' + cents % 10);
}

std::string formatNumber(double value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
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

std::string percent(double rate)
{
    // Rates are read from the price table; two decimals are plenty.
    return formatNumber(std::round(rate * 10000.0) / 100.0) + "%";
}

std::string maskedPhone(const std::string &phone)
{
    return phone.size() == 11 ? phone.substr(0, 3) + "****" + phone.substr(7) : phone;
}

std::string cell(std::string_view text, std::string_view cls = {})
{
    std::string out = cls.empty() ? "<td>" : "<td class=\"" + std::string(cls) + "\">";
    return out.append(text).append("</td>");
}

} // namespace

std::string quoteContent(const QuoteRequest &request, const Estimate &estimate, const PriceTable &prices,
                         std::string_view date)
{
    const std::string owner = htmlEscape(request.formOfAddress) + "先生/女士";
    std::string html;
    html.reserve(6000);
    html += "<section class=\"quote\">\n<h1>装修报价估算单</h1>\n";
    html += "<p class=\"greeting\">尊敬的" + owner +
            "，您好！以下是根据您提交的房屋信息自动生成的装修费用估算。</p>\n";
    html += "<table class=\"facts\">\n";
    html += "<tr><th>业主</th><td>" + owner + "</td><th>手机号码</th><td>" + maskedPhone(request.phone) +
            "</td></tr>\n";
    html += "<tr><th>房屋地址</th><td colspan=\"3\">" + htmlEscape(request.regionName) +
            " <span class=\"code\">（行政区划代码 " + request.districtCode + "）</span></td></tr>\n";
    html += "<tr><th>户型</th><td>" + std::string(houseTypeName(request.houseTypeCode)) + "，卫生间" +
            std::to_string(request.count(Room::Bathroom)) + "间，阳台" +
            std::to_string(request.count(Room::Balcony)) + "间</td><th>估算日期</th><td>" + htmlEscape(date) +
            "</td></tr>\n";
    html += "<tr><th>装修风格</th><td>" + std::string(styleName(request.style)) +
            "</td><th>装修档次</th><td>" + std::string(gradeName(request.grade)) + "</td></tr>\n</table>\n";

    html +=
        "<table class=\"items\">\n<thead><tr><th>房间</th><th>数量</th><th>面积(㎡)</th>"
        "<th>单价(元/㎡)</th><th>材料费(元)</th><th>人工费(元)</th><th>小计(元)</th></tr></thead>\n<tbody>\n";
    for (const EstimateLine &line : estimate.lines) {
        html += line.counted ? "<tr>" : "<tr class=\"skipped\">";
        html += cell(roomName(line.room), "room");
        html += cell(std::to_string(line.count), "num");
        html += cell(formatNumber(line.area), "num");
        html += cell(formatYuan(line.unitPriceFen), "num");
        if (line.counted) {
            html += cell(formatYuan(line.materialsFen), "num");
            html += cell(formatYuan(line.labourFen), "num");
            html += cell(formatYuan(line.amountFen), "num");
        } else {
            html += "<td colspan=\"3\" class=\"note\">未计入（没有此类房间）</td>";
        }
        html += "</tr>\n";
    }
    html += "</tbody>\n<tfoot>\n";
    html += "<tr><th colspan=\"2\">直接费合计</th>" + cell(formatNumber(estimate.countedArea), "num") +
            "<td></td>" + cell(formatYuan(estimate.materialsFen), "num") +
            cell(formatYuan(estimate.labourFen), "num") + cell(formatYuan(estimate.directFen), "num") +
            "</tr>\n";
    html += "<tr><th colspan=\"6\">管理费（直接费的" + percent(prices.managementRate) + "）</th>" +
            cell(formatYuan(estimate.managementFen), "num") + "</tr>\n";
    html += "<tr><th colspan=\"6\">税金（直接费与管理费之和的" + percent(prices.taxRate) + "）</th>" +
            cell(formatYuan(estimate.taxFen), "num") + "</tr>\n";
    html += "<tr class=\"total\"><th colspan=\"6\">总计（人民币元）</th><td class=\"num\" id=\"total\">" +
            formatYuan(estimate.totalFen) + "</td></tr>\n</tfoot>\n</table>\n";

    if (estimate.countedArea > 0) {
        const double perSquareMetre = static_cast<double>(estimate.totalFen) / 100.0 / estimate.countedArea;
        html += "<p class=\"summary\">计入面积 " + formatNumber(estimate.countedArea) +
                " ㎡，折合每平方米约 " + formatYuan(std::llround(perSquareMetre * 100.0)) + " 元。</p>\n";
    } else {
        html += "<p class=\"summary\">没有计入任何面积：请在软件中填写各房间的面积后重新报价。</p>\n";
    }
    html +=
        "<p class=\"notice\">本报价为<strong>估算</strong>，依据您填写的面积和本站当前的参考单价自动计算，"
        "仅供预算参考，不构成合同报价。实际费用以上门测量、确定设计方案和主材品牌后的正式预算为准；"
        "不含家具、家电、灯具及软装饰品。</p>\n";
    html += "<p class=\"actions\"><button type=\"button\" onclick=\"window.print()\">打印报价单</button>"
            "<a class=\"button\" href=\"/MemberPrice.htm\">查看会员精确报价</a>"
            "<a class=\"button\" href=\"/\">返回首页</a></p>\n</section>\n";
    return html;
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
    case 403:
        title = "禁止访问";
        text = "您没有权限查看这个页面。";
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
    }
    return "<section class=\"problem\">\n<h1>" + std::to_string(status) + " " + std::string(title) +
           "</h1>\n<p>" + std::string(text) +
           "</p>\n<p><a class=\"button\" href=\"/\">返回首页</a></p>\n</section>\n";
}

} // namespace SitePages
