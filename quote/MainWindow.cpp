#include "quote/MainWindow.h"

#include "app/core/AppTexts.h"
#include "controls/Artwork.h"
#include "controls/CaptionLabel.h"
#include "controls/ControlGeometry.h"
#include "controls/PictureBox.h"
#include "platform/Browser.h"
#include "quote/LoadingStandIn.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {
using K = ControlKind;
using S = ControlState;
constexpr char P[] = "Picture1";

// clang-format off
// Columns: designer name, index, kind, container, left, top, width, height (twips), text, list items,
// picture, accessible name, state, tab index, key of the click.
const ControlSpec mainControls[] = {
    {"Picture1",    -1, K::PictureBox,    nullptr,     0,    0, 12015, 8655, nullptr, nullptr, ":/art/background.png", nullptr, S::On, 0},
    {"Label1",      -1, K::Label,         P,         360, 1680,  1455,  375, u"自动报价", nullptr, nullptr, nullptr, S::On, 1},
    {"Image1",      -1, K::Image,         P,        2120, 1520,  1830,  570, nullptr, nullptr, ":/art/nav-tab2.png", u"家装工具", S::On, -1},
    {"Image2",      -1, K::Image,         P,        3960, 1520,  1830,  570, nullptr, nullptr, ":/art/nav-tab3.png", u"装修效果图", S::On, -1},
    {"Image3",      -1, K::Image,         P,        5800, 1520,  1830,  570, nullptr, nullptr, ":/art/nav-tab4.png", u"精确报价", S::On, -1},
    {"Image4",      -1, K::Image,         P,        7680, 1520,  1830,  570, nullptr, nullptr, ":/art/nav-tab5.png", u"使用说明", S::On, -1},
    {"Label2",      -1, K::Label,         P,         225, 2640,   975,  375, u"业主地址", nullptr, nullptr, nullptr, S::On, 18},
    {"city1",       -1, K::ComboBox,      P,        1440, 2640,  1695,  300, u"请选择", nullptr, nullptr, u"业主地址 省份", S::On, 2},
    {"city2",       -1, K::ComboBox,      P,        3360, 2640,  1695,  300, u"请选择", nullptr, nullptr, u"业主地址 城市", S::On, 3},
    {"city3",       -1, K::ComboBox,      P,        5400, 2640,  1575,  300, u"请选择", nullptr, nullptr, u"业主地址 区县", S::On, 4},
    {"Label3",      -1, K::Label,         P,         225, 3240,   975,  375, u"户    型", nullptr, nullptr, nullptr, S::On, 19},
    {"Combo6",      -1, K::ComboBox,      P,        1440, 3240,  1695,  300, u"请选择", u"一房一厅\n二房一厅\n三房一厅\n二房二厅\n三房二厅\n四房二厅\n五房二厅", nullptr, u"户型", S::On, 32},
    {"Label15",     -1, K::Label,         P,        3480, 3240,   735,  255, u"卫生间", nullptr, nullptr, nullptr, S::On, 33},
    {"Combo4",      -1, K::ComboBox,      P,        4320, 3240,  1695,  300, u"请选择", u"一间\n二间\n三间\n四间", nullptr, u"卫生间", S::On, 5},
    {"Label16",     -1, K::Label,         P,        6240, 3240,   855,  255, u"阳  台", nullptr, nullptr, nullptr, S::On, 34},
    {"Combo5",      -1, K::ComboBox,      P,        7080, 3240,  1575,  300, u"请选择", u"一间\n二间\n三间\n四间", nullptr, u"阳台", S::On, 6},
    {"Label4",      -1, K::Label,         P,         225, 3720,   975,  375, u"房间名称", nullptr, nullptr, nullptr, S::On, 20},
    {"Label9",      -1, K::Label,         P,        1560, 3720,   975,  375, u"客厅", nullptr, nullptr, nullptr, S::On, 25},
    {"Label10",     -1, K::Label,         P,        2880, 3720,   975,  375, u"餐厅", nullptr, nullptr, nullptr, S::On, 26},
    {"Label11",     -1, K::Label,         P,        4200, 3720,   975,  375, u"卧房", nullptr, nullptr, nullptr, S::On, 27},
    {"Label12",     -1, K::Label,         P,        5520, 3720,   975,  375, u"厨房", nullptr, nullptr, nullptr, S::On, 28},
    {"Label13",     -1, K::Label,         P,        6840, 3720,   975,  375, u"卫生间", nullptr, nullptr, nullptr, S::On, 29},
    {"Label14",     -1, K::Label,         P,        8160, 3720,   975,  375, u"阳台", nullptr, nullptr, nullptr, S::On, 30},
    {"Label5",      -1, K::Label,         P,         225, 4320,  1215,  255, u"面积(平方米)", nullptr, nullptr, nullptr, S::On, 21},
    {"Text2",       -1, K::TextBox,       P,        1560, 4320,   495,  375, u"0", nullptr, nullptr, u"客厅面积", S::Disabled, 7},
    {"Text3",       -1, K::TextBox,       P,        2880, 4320,   495,  375, u"0", nullptr, nullptr, u"餐厅面积", S::Disabled, 31},
    {"Text4",       -1, K::TextBox,       P,        4200, 4320,   495,  375, u"0", nullptr, nullptr, u"卧房面积", S::Disabled, 8},
    {"Text5",       -1, K::TextBox,       P,        5520, 4320,   495,  375, u"0", nullptr, nullptr, u"厨房面积", S::On, 9},
    {"Text6",       -1, K::TextBox,       P,        6840, 4320,   495,  375, u"0", nullptr, nullptr, u"卫生间面积", S::Disabled, 10},
    {"Text7",       -1, K::TextBox,       P,        8160, 4320,   495,  375, u"0", nullptr, nullptr, u"阳台面积", S::Disabled, 11},
    {"Label6",      -1, K::Label,         P,         225, 5040,   975,  375, u"装修风格", nullptr, nullptr, nullptr, S::On, 22},
    {"Option1",     -1, K::OptionButton,  P,        1320, 4800,  1575,  615, u"现代简约", nullptr, nullptr, nullptr, S::On, 12},
    {"Option2",     -1, K::OptionButton,  P,        2880, 4800,  1575,  615, u"中西合璧", nullptr, nullptr, nullptr, S::On, 13},
    {"Option3",     -1, K::OptionButton,  P,        4440, 4800,  1575,  615, u"中式怀旧", nullptr, nullptr, nullptr, S::On, 14},
    {"Option4",     -1, K::OptionButton,  P,        6000, 4800,  1575,  615, u"欧式古典", nullptr, nullptr, nullptr, S::On, 15},
    {"Option5",     -1, K::OptionButton,  P,        7560, 4800,  1095,  615, u"西式田园", nullptr, nullptr, nullptr, S::On, 16},
    {"Label7",      -1, K::Label,         P,         225, 5520,   975,  375, u"装修档次", nullptr, nullptr, nullptr, S::On, 23},
    {"Frame1",      -1, K::Frame,         P,        1080, 5400,  7695,  495, nullptr, nullptr, nullptr, nullptr, S::On, 35},
    {"Option6",     -1, K::OptionButton,  "Frame1",  240,  120,  1335,  255, u"经济实惠", nullptr, nullptr, nullptr, S::On, 36},
    {"Option7",     -1, K::OptionButton,  "Frame1", 3240,  120,  1335,  255, u"小康实用", nullptr, nullptr, nullptr, S::On, 37},
    {"Option8",     -1, K::OptionButton,  "Frame1", 6480,  120,  1095,  255, u"高档豪华", nullptr, nullptr, nullptr, S::On, 38},
    {"Label8",      -1, K::Label,         P,         225, 6120,   975,  375, u"手机号码", nullptr, nullptr, nullptr, S::On, 24},
    {"Text8",       -1, K::TextBox,       P,        1200, 6000,  2895,  375, u"", nullptr, nullptr, u"手机号码", S::On, 17},
    {"chenghulb",   -1, K::Label,         P,        4320, 6120,   495,  375, u"称呼", nullptr, nullptr, nullptr, S::On, 58},
    {"chenghutext", -1, K::TextBox,       P,        4920, 6000,  1455,  375, u"", nullptr, nullptr, u"称呼", S::On, 59},
    {"Image5",      -1, K::Image,         P,        3360, 6720,  1755,  600, nullptr, nullptr, ":/art/quote-button.png", u"立即报价", S::On, -1, "Ctrl+Return"},
    {"Line1",       -1, K::Line,          P,        8880, 2115,    15, 6130, nullptr, nullptr, nullptr, nullptr, S::On, -1},
    {"Label17",     -1, K::Label,         P,        9240, 2520,   855,  375, u"建设网站", nullptr, nullptr, nullptr, S::On, 39},
    {"Image6",      -1, K::Image,         P,       10320, 2400,  1020,  300, nullptr, nullptr, ":/art/chat-badge.png", u"在线咨询：建设网站", S::On, -1, "F1"},
    {"Label18",     -1, K::Label,         P,        9240, 2880,   975,  255, u"企业版购买", nullptr, nullptr, nullptr, S::On, 40},
    {"Image7",      -1, K::Image,         P,       10320, 2760,  1020,  300, nullptr, nullptr, ":/art/chat-badge.png", u"在线咨询：企业版购买", S::On, -1, "F1"},
    {"Label19",     -1, K::Label,         P,        9240, 3240,   855,  255, u"合作加盟", nullptr, nullptr, nullptr, S::On, 41},
    {"Image8",      -1, K::Image,         P,       10320, 3120,  1020,  300, nullptr, nullptr, ":/art/chat-badge.png", u"在线咨询：合作加盟", S::On, -1, "F1"},
    {"Label20",     -1, K::Label,         P,        9240, 3600,   855,  375, u"装修咨询", nullptr, nullptr, nullptr, S::On, 42},
    {"Image9",      -1, K::Image,         P,       10320, 3480,  1020,  300, nullptr, nullptr, ":/art/chat-badge.png", u"在线咨询：装修咨询", S::On, -1, "F1"},
    {"Frame2",      -1, K::Frame,         P,        9000, 4200,  2535, 3495, u"最新动态", nullptr, nullptr, nullptr, S::On, 43},
    {"news",         0, K::Label,         "Frame2",  120,  360,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 45, "Ctrl+1"},
    {"news",         1, K::Label,         "Frame2",  120,  666,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 46, "Ctrl+2"},
    {"news",         2, K::Label,         "Frame2",  120,  972,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 47, "Ctrl+3"},
    {"news",         3, K::Label,         "Frame2",  120, 1278,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 48, "Ctrl+4"},
    {"news",         4, K::Label,         "Frame2",  120, 1584,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 49, "Ctrl+5"},
    {"news",         5, K::Label,         "Frame2",  120, 1890,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 50, "Ctrl+6"},
    {"news",         6, K::Label,         "Frame2",  120, 2196,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 51, "Ctrl+7"},
    {"news",         7, K::Label,         "Frame2",  120, 2502,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 52, "Ctrl+8"},
    {"news",         8, K::Label,         "Frame2",  120, 2808,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 53, "Ctrl+9"},
    {"news",         9, K::Label,         "Frame2",  120, 3120,  1935,  255, u"Label21", nullptr, nullptr, nullptr, S::On, 54, "Ctrl+0"},
    {"Label21",     -1, K::Label,         P,        9360, 7800,  1815,  255, u"进入筑点官方", nullptr, nullptr, nullptr, S::On, 55, "Alt+Home"},
    {"WebBrowser1", -1, K::WebBrowser,    P,        6240, 6720,  2055, 1215, nullptr, nullptr, nullptr, nullptr, S::Hidden, 44},
    {"wkxbjqbutton1", -1, K::NavigationBar, P,       120, 1515,  9615,  615, nullptr, nullptr, nullptr, nullptr, S::On, 56},
    {"WebBrowser2", -1, K::WebBrowser,    P,        6720, 6240, 12525, 8565, nullptr, nullptr, nullptr, nullptr, S::On, 57},
};
// clang-format on

constexpr WindowSpec mainSpec{
    "main",
    11955,
    8610,
    false,
    true,
    u"快捷键：Ctrl+回车 立即报价；Alt+1至Alt+5 切换栏目；Ctrl+1至Ctrl+0 打开第1至第10条最新动态；"
    u"F1 在线咨询；Alt+Home 进入筑点官方。"};

// The loading pane's picture is needed only after the form is built, which
// takes longer than drawing it; so it is drawn meanwhile, on another thread.
// Returns the form's controls, for the window to build.
std::span<const ControlSpec> controlsWhileStandInIsDrawn(MainWindow::Start start)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (start != MainWindow::Start::LayoutOnly && screen) {
        Artwork::prefetch({LoadingStandIn::backgroundPicture(QCoreApplication::applicationDirPath())},
                          screen->devicePixelRatio());
    }
    return mainControls;
}
} // namespace

MainWindow::MainWindow(const DesktopServices &services, QString regionLine, Start start)
    : FormWindow(mainSpec, AppTexts::mainCaption(), controlsWhileStandInIsDrawn(start), services.browsers),
      m_ui(lookUpControls()), m_shell(services.shell), m_messages(services.messages),
      m_regionLine(std::move(regionLine)), m_newsurl(10)
{
    m_ui.styles[0]->setChecked(true);
    m_ui.grades[0]->setChecked(true);
    // Screen readers say the group of an option after it, as a sighted user
    // reads the caption beside the row.
    for (QRadioButton *option : m_ui.styles)
        option->setAccessibleDescription(u"装修风格"_s);
    for (QRadioButton *option : m_ui.grades)
        option->setAccessibleDescription(u"装修档次"_s);
    // The province box has the focus when the window opens, and a screen
    // reader speaks it straight after the window's title, which cuts the
    // window's description short (Orca 48): the box names the keys too.
    m_ui.city1->setAccessibleDescription(QString::fromUtf16(mainSpec.keys));
    QFont captionFont;
    captionFont.setFamilies({u"SimSun"_s, u"宋体"_s, u"Noto Serif CJK SC"_s, u"Noto Sans CJK SC"_s});
    captionFont.setPointSizeF(15.75);
    m_ui.caption->setFont(captionFont);
    m_ui.caption->setAlignment(Qt::AlignCenter);

    connectRegionSelectors();
    connectRoomFields();
    connectSubmission();
    connectNewsAndLinks();

    // The loading pane covers the whole window until the first tick.
    ControlGeometry::setTop(m_ui.loadingPane, -5);
    ControlGeometry::setLeft(m_ui.loadingPane, -5);
    m_timer = new QTimer(this);
    m_timer->setObjectName(u"Timer1"_s);
    m_timer->setInterval(2000);
    connect(m_timer, &QTimer::timeout, this, &MainWindow::tick);
    if (start == Start::LayoutOnly)
        return;
    m_timer->start();
    // The browser engine starts with the first page sent and holds up this
    // thread for a few hundred ms. So the pages go out once the first frame
    // is on the screen, with a stand-in showing what the loading page will.
    const QString folder = QCoreApplication::applicationDirPath();
    auto *standIn = new LoadingStandIn(folder);
    m_ui.loadingBrowser->coverUntilLoaded(standIn);
    connect(standIn, &LoadingStandIn::onScreen, this, [this, folder] {
        m_ui.loadingBrowser->navigate(QUrl::fromLocalFile(folder + u"/loading.html"_s).toString());
        m_ui.newsBrowser->navigate(AppTexts::webUrl(u"/softnews.html"_s));
    });
}

MainWindow::Controls MainWindow::lookUpControls() const
{
    const auto option = [this](int n) { return require<QRadioButton>(u"Option"_s + QString::number(n)); };
    const auto badge = [this](int n) { return require<PictureBox>(u"Image"_s + QString::number(n)); };
    Controls ui{};
    ui.city1 = require<QComboBox>(u"city1"_s);
    ui.city2 = require<QComboBox>(u"city2"_s);
    ui.city3 = require<QComboBox>(u"city3"_s);
    ui.houseType = require<QComboBox>(u"Combo6"_s);
    ui.bathrooms = require<QComboBox>(u"Combo4"_s);
    ui.balconies = require<QComboBox>(u"Combo5"_s);
    ui.livingRoomArea = require<QLineEdit>(u"Text2"_s);
    ui.diningRoomArea = require<QLineEdit>(u"Text3"_s);
    ui.bedroomArea = require<QLineEdit>(u"Text4"_s);
    ui.kitchenArea = require<QLineEdit>(u"Text5"_s);
    ui.bathroomArea = require<QLineEdit>(u"Text6"_s);
    ui.balconyArea = require<QLineEdit>(u"Text7"_s);
    ui.styles = {option(1), option(2), option(3), option(4), option(5)};
    ui.grades = {option(6), option(7), option(8)};
    ui.phone = require<QLineEdit>(u"Text8"_s);
    ui.formOfAddress = require<QLineEdit>(u"chenghutext"_s);
    ui.caption = require<QLabel>(u"Label1"_s);
    ui.quoteButton = require<PictureBox>(u"Image5"_s);
    ui.chatBadges = {badge(6), badge(7), badge(8), badge(9)};
    ui.homeLink = require<CaptionLabel>(u"Label21"_s);
    for (int i = 0; i < int(ui.news.size()); ++i)
        ui.news[i] = require<CaptionLabel>(u"news(%1)"_s.arg(i));
    ui.loadingPane = require<QWidget>(u"WebBrowser2"_s);
    ui.loadingBrowser = requireBrowser(u"WebBrowser2"_s);
    ui.newsBrowser = requireBrowser(u"WebBrowser1"_s);
    return ui;
}

void MainWindow::tick()
{
    getnews();
    fillprovince();
    m_timer->stop();
    m_ui.loadingPane->hide();
    // Neither page is shown or read again: the engine may free both.
    m_ui.loadingBrowser->discard();
    m_ui.newsBrowser->discard();
}
