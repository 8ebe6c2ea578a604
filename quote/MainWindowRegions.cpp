#include "quote/MainWindow.h"

#include "controls/ComboPicks.h"
#include "quote/core/RegionTable.h"

#include <QComboBox>

// Region selectors: the provinces come from the region line at the start-up
// tick; a pick in city1 refills city2, a pick in city2 refills city3.
void MainWindow::connectRegionSelectors()
{
    ComboPicks::onPick(m_ui.city1, this, &MainWindow::fillcity);
    ComboPicks::onPick(m_ui.city2, this, &MainWindow::filldistrict);
    ComboPicks::cutTypedActivation(m_ui.city3);
}

void MainWindow::fillprovince()
{
    m_cityarray = RegionTable::split(m_regionLine);
    ComboPicks::appendList(m_ui.city1, RegionTable::provinces(m_cityarray));
}

void MainWindow::fillcity()
{
    const SelectorFill cities = RegionTable::cities(m_cityarray, m_ui.city1->currentText());
    ComboPicks::showList(m_ui.city2, cities.items, cities.text);
    ComboPicks::showList(m_ui.city3, {}, RegionTable::pleaseChoose());
}

void MainWindow::filldistrict()
{
    const SelectorFill districts =
        RegionTable::districts(m_cityarray, m_ui.city1->currentText(), m_ui.city2->currentText());
    ComboPicks::showList(m_ui.city3, districts.items, districts.text);
}
