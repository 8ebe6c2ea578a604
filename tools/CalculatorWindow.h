#pragma once

#include "controls/FormWindow.h"

class MessagePresenter;

// The keys of a calculator window, for its accessible description.
inline constexpr char16_t calculatorKeys[] =
    u"快捷键：Ctrl+回车 计算；Ctrl+2 地砖计算器；Ctrl+3 地板计算器；Alt+1 自动报价。";
class PictureBox;
class QComboBox;
class QLineEdit;

// What the floor tile and floor board calculators share: a size picked from
// guigelist fills the piece boxes, and Picture2 writes the number of pieces
// that cover the room into jsrstxt, or shows the fixed message. Both keep
// the tools button of their bar highlighted.
class CalculatorWindow : public FormWindow
{
    Q_OBJECT
public:
    // widthBox and lengthBox name the piece boxes (dzktxt/dzctxt, dbktxt/dbctxt).
    CalculatorWindow(const WindowSpec &shape, const QString &caption, std::span<const ControlSpec> controls,
                     const QString &widthBox, const QString &lengthBox, MessagePresenter &messages);

    void load() override;
    // Size rule: a pick from guigelist overwrites the piece boxes.
    void applyPickedSize();
    // Click on Picture2.
    void compute();

private:
    MessagePresenter &m_messages;
    QComboBox *m_sizes;
    QLineEdit *m_roomWidth;
    QLineEdit *m_roomLength;
    QLineEdit *m_pieceWidth;
    QLineEdit *m_pieceLength;
    QLineEdit *m_result;
    PictureBox *m_computeButton;
};
