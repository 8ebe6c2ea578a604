#include "app/core/AppTexts.h"

#include "BuildConfig.h"

using namespace Qt::StringLiterals;

namespace {
QString versionCaption(const QString &version)
{
    return u"rivav"_s + version + u"（筑点xp版,技术qq:"_s + QString::fromUtf16(BuildConfig::supportAccount) +
           u"）"_s;
}
} // namespace

QString AppTexts::applicationTitle()
{
    return u"筑点网rivav"_s;
}
QString AppTexts::mainCaption()
{
    return versionCaption(u"1.07"_s);
}
QString AppTexts::instructionsCaption()
{
    return versionCaption(u"1.06"_s);
}

QString AppTexts::webUrl(const QString &path)
{
    return u"http://"_s + QString::fromUtf16(BuildConfig::webHost) + path;
}

QString AppTexts::softUrl(const QString &path)
{
    return u"http://"_s + QString::fromUtf16(BuildConfig::softHost) + path;
}

QString AppTexts::chatLink()
{
    return u"http://"_s + QString::fromUtf16(BuildConfig::chatHost) + u"/msgrd?v=1&uin="_s +
           QString::fromUtf16(BuildConfig::supportAccount) + u"&site=技术支持&menu=yes"_s;
}
