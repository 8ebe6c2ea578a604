#include "tools/CalculatorWindow.h"

#include "controls/Announcement.h"
#include "controls/ComboPicks.h"
#include "controls/NavigationBar.h"
#include "controls/PictureBox.h"
#include "platform/core/MessagePresenter.h"
#include "tools/ToolLooks.h"
#include "tools/core/CoverageCalculator.h"
#include "tools/core/SizeRule.h"

#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

CalculatorWindow::CalculatorWindow(const WindowSpec &shape, const QString &caption,
                                   std::span<const ControlSpec> controls, const QString &widthBox,
                                   const QString &lengthBox, MessagePresenter &messages)
    : FormWindow(shape, caption, controls), m_messages(messages), m_sizes(require<QComboBox>(u"guigelist"_s)),
      m_roomWidth(require<QLineEdit>(u"fjktxt"_s)), m_roomLength(require<QLineEdit>(u"fjctxt"_s)),
      m_pieceWidth(require<QLineEdit>(widthBox)), m_pieceLength(require<QLineEdit>(lengthBox)),
      m_result(require<QLineEdit>(u"jsrstxt"_s)), m_computeButton(require<PictureBox>(u"Picture2"_s))
{
    // Only a pick from the list fills the boxes: typing an entry, or a prefix
    // of one, and then Return or leaving the box is no pick.
    ComboPicks::onPick(m_sizes, this, &CalculatorWindow::applyPickedSize);

    m_computeButton->setCursor(Qt::PointingHandCursor);
    connect(m_computeButton, &PictureBox::clicked, this, &CalculatorWindow::compute);
    ToolLooks::apply(this, {u"Label1"_s, u"Picture2"_s});
}

void CalculatorWindow::load()
{
    // Nothing else moves this bar's highlight, so it stays on the tools button.
    navigationBar()->clickmeun(2);
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
        m_roomLength->text(), m_roomWidth->text(), m_pieceWidth->text(), m_pieceLength->text());
    if (result.outcome != CoverageCalculator::Outcome::Counted) {
        m_messages.inform(u"填写数据有问题，请检查！"_s);
        return;
    }
    m_result->setText(result.count);
    // A keyboard user goes on to the result, which a screen reader then
    // reads; otherwise it is announced.
    if (!m_computeButton->isClickByMouse() && !m_result->hasFocus())
        m_result->setFocus();
    else
        Announcement::announce(m_result, u"计算结果：%1块"_s.arg(result.count));
}
