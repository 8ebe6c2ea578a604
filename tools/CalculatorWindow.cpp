#include "tools/CalculatorWindow.h"

#include "controls/ComboPicks.h"
#include "controls/PictureBox.h"
#include "platform/MessagePresenter.h"
#include "platform/Platform.h"
#include "tools/CoverageCalculator.h"
#include "tools/SizeRule.h"
#include "tools/ToolLooks.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CalculatorWindow::CalculatorWindow(const WindowSpec &shape, const QString &caption,
                                   std::span<const ControlSpec> controls, const QString &widthBox,
                                   const QString &lengthBox)
    : FormWindow(shape, caption, controls), m_sizes(control<QComboBox>(u"guigelist"_s)),
      m_pieceWidth(box(widthBox)), m_pieceLength(box(lengthBox))
{
    Q_ASSERT(m_sizes && m_pieceWidth && m_pieceLength);
    // Only a pick from the list fills the boxes: typing an entry, or a prefix
    // of one, and then Return or leaving the box is no pick.
    ComboPicks::onPick(m_sizes, this, &CalculatorWindow::applyPickedSize);

    auto *button = control<PictureBox>(u"Picture2"_s);
    button->setCursor(Qt::PointingHandCursor);
    connect(button, &PictureBox::clicked, this, &CalculatorWindow::compute);
    ToolLooks::apply(this, {u"Label1"_s, u"Picture2"_s});
}

QLineEdit *CalculatorWindow::box(const QString &name) const
{
    return control<QLineEdit>(name);
}

void CalculatorWindow::applyPickedSize()
{
    const std::optional<PieceSize> size = splitPieceSize(m_sizes->currentText());
    if (!size)
        return;
    m_pieceWidth->setText(size->width);
    m_pieceLength->setText(size->length);
}

void CalculatorWindow::compute()
{
    const CoverageCalculator::Result result = CoverageCalculator::count(
        box(u"fjctxt"_s)->text(), box(u"fjktxt"_s)->text(), m_pieceWidth->text(), m_pieceLength->text());
    if (result.outcome != CoverageCalculator::Outcome::Counted) {
        Platform::messages().inform(u"填写数据有问题，请检查！"_s);
        return;
    }
    box(u"jsrstxt"_s)->setText(result.count);
}
