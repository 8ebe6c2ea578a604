#include "quote/MainWindow.h"

#include "controls/ComboPicks.h"
#include "quote/core/HouseRules.h"

#include <QComboBox>
#include <QLineEdit>

// Picking a house type or a room count switches the matching area fields on
// or off; their texts stay as they are.
void MainWindow::connectRoomFields()
{
    ComboPicks::onPick(m_ui.houseType, this, [this] {
        const HallFields fields = HouseRules::hallFields(m_ui.houseType->currentText());
        m_ui.livingRoomArea->setEnabled(fields.livingRoom);
        m_ui.diningRoomArea->setEnabled(fields.diningRoom);
        m_ui.bedroomArea->setEnabled(fields.bedroom);
    });
    ComboPicks::onPick(m_ui.bathrooms, this, [this] {
        m_ui.bathroomArea->setEnabled(HouseRules::countFieldEnabled(m_ui.bathrooms->currentText()));
    });
    ComboPicks::onPick(m_ui.balconies, this, [this] {
        m_ui.balconyArea->setEnabled(HouseRules::countFieldEnabled(m_ui.balconies->currentText()));
    });
}
