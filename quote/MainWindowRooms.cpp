#include "quote/MainWindow.h"

#include "controls/Announcement.h"
#include "controls/ComboPicks.h"
#include "quote/core/HouseRules.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
// Switches area boxes on or off, and tells screen readers which changed: the
// user does not see them grey out.
void switchAreas(std::initializer_list<std::pair<QLineEdit *, bool>> boxes)
{
    QStringList on;
    QStringList off;
    QLineEdit *first = nullptr;
    for (const auto &[box, enabled] : boxes) {
        if (box->isEnabled() == enabled)
            continue;
        box->setEnabled(enabled);
        (enabled ? on : off).append(box->accessibleName());
        first = first ? first : box;
    }
    QStringList said;
    if (!on.isEmpty())
        said.append(u"可以填写"_s + on.join(u'、'));
    if (!off.isEmpty())
        said.append(off.join(u'、') + u"不用填写"_s);
    if (first)
        Announcement::announce(first, said.join(u'，'));
}
} // namespace

// Picking a house type or a room count switches the matching area fields on
// or off; their texts stay as they are.
void MainWindow::connectRoomFields()
{
    ComboPicks::onPick(m_ui.houseType, this, [this] {
        const HallFields fields = HouseRules::hallFields(m_ui.houseType->currentText());
        switchAreas({{m_ui.livingRoomArea, fields.livingRoom},
                     {m_ui.diningRoomArea, fields.diningRoom},
                     {m_ui.bedroomArea, fields.bedroom}});
    });
    ComboPicks::onPick(m_ui.bathrooms, this, [this] {
        switchAreas({{m_ui.bathroomArea, HouseRules::countFieldEnabled(m_ui.bathrooms->currentText())}});
    });
    ComboPicks::onPick(m_ui.balconies, this, [this] {
        switchAreas({{m_ui.balconyArea, HouseRules::countFieldEnabled(m_ui.balconies->currentText())}});
    });
}
