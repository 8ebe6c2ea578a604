#include "quote/MainWindow.h"

#include "controls/ComboPicks.h"
#include "quote/HouseRules.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

// Picking a house type or a room count switches the matching area fields on
// or off; their texts stay as they are.
void MainWindow::connectRoomFields()
{
    ComboPicks::onPick(control<QComboBox>(u"Combo6"_s), this, [this] {
        const HallFields fields = HouseRules::hallFields(control<QComboBox>(u"Combo6"_s)->currentText());
        control(u"Text2"_s)->setEnabled(fields.livingRoom);
        control(u"Text3"_s)->setEnabled(fields.diningRoom);
        control(u"Text4"_s)->setEnabled(fields.bedroom);
    });
    ComboPicks::onPick(control<QComboBox>(u"Combo4"_s), this, [this] {
        const QString bathrooms = control<QComboBox>(u"Combo4"_s)->currentText();
        control(u"Text6"_s)->setEnabled(HouseRules::countFieldEnabled(bathrooms));
    });
    ComboPicks::onPick(control<QComboBox>(u"Combo5"_s), this, [this] {
        const QString balconies = control<QComboBox>(u"Combo5"_s)->currentText();
        control(u"Text7"_s)->setEnabled(HouseRules::countFieldEnabled(balconies));
    });
}
