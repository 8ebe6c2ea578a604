#include "quote/MainWindow.h"

#include "app/publicvalue.h"
#include "controls/ComboPicks.h"
#include "quote/RegionTable.h"

#include <QComboBox>

using namespace Qt::StringLiterals;

// Region selectors: the provinces come from the region line at the start-up
// tick; a pick in city1 refills city2, a pick in city2 refills city3.
void MainWindow::connectRegionSelectors()
{
    ComboPicks::onPick(control<QComboBox>(u"city1"_s), this, &MainWindow::fillcity);
    ComboPicks::onPick(control<QComboBox>(u"city2"_s), this, &MainWindow::filldistrict);
    ComboPicks::cutTypedActivation(control<QComboBox>(u"city3"_s));
}

void MainWindow::fillprovince()
{
    m_cityarray = RegionTable::split(publicvalue::citytext);
    ComboPicks::appendList(control<QComboBox>(u"city1"_s), RegionTable::provinces(m_cityarray));
}

void MainWindow::fillcity()
{
    const QString province = control<QComboBox>(u"city1"_s)->currentText();
    const SelectorFill cities = RegionTable::cities(m_cityarray, province);
    ComboPicks::showList(control<QComboBox>(u"city2"_s), cities.items, cities.text);
    ComboPicks::showList(control<QComboBox>(u"city3"_s), {}, RegionTable::pleaseChoose());
}

void MainWindow::filldistrict()
{
    const QString province = control<QComboBox>(u"city1"_s)->currentText();
    const QString city = control<QComboBox>(u"city2"_s)->currentText();
    const SelectorFill districts = RegionTable::districts(m_cityarray, province, city);
    ComboPicks::showList(control<QComboBox>(u"city3"_s), districts.items, districts.text);
}
