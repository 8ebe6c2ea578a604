#pragma once

#include "app/FormWindow.h"

class QComboBox;
class QLineEdit;

// What the floor tile and floor board calculators share: a size picked from
// guigelist fills the piece boxes, and Picture2 writes the number of pieces
// that cover the room into jsrstxt, or shows the fixed message.
class CalculatorWindow : public FormWindow
{
    Q_OBJECT
public:
    // widthBox and lengthBox name the piece boxes (dzktxt/dzctxt, dbktxt/dbctxt).
    CalculatorWindow(const WindowSpec &shape, const QString &caption, std::span<const ControlSpec> controls,
                     const QString &widthBox, const QString &lengthBox);

    // Size rule: a pick from guigelist overwrites the piece boxes.
    void applyPickedSize();
    // Click on Picture2.
    void compute();

private:
    QLineEdit *box(const QString &name) const;

    QComboBox *m_sizes = nullptr;
    QLineEdit *m_pieceWidth = nullptr;
    QLineEdit *m_pieceLength = nullptr;
};
