#include "quote/MainWindow.h"

#include "controls/Announcement.h"
#include "controls/PictureBox.h"
#include "platform/core/MessagePresenter.h"
#include "platform/core/ShellOpener.h"
#include "quote/core/QuoteRequest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

namespace {
template <size_t N> std::array<bool, N> checkedStates(const std::array<QRadioButton *, N> &options)
{
    std::array<bool, N> checked{};
    for (size_t i = 0; i < N; ++i)
        checked[i] = options[i]->isChecked();
    return checked;
}
} // namespace

void MainWindow::connectSubmission()
{
    connect(m_ui.quoteButton, &PictureBox::clicked, this, &MainWindow::submitQuote);
}

// The quote button: read the form, let the request rules check it, then hand
// the URL to the shell or name the field to correct.
void MainWindow::submitQuote()
{
    QuoteForm form;
    form.city1 = m_ui.city1->currentText();
    form.city2 = m_ui.city2->currentText();
    form.city3 = m_ui.city3->currentText();
    form.houseType = m_ui.houseType->currentText();
    form.bathrooms = m_ui.bathrooms->currentText();
    form.balconies = m_ui.balconies->currentText();
    form.livingRoomArea = m_ui.livingRoomArea->text();
    form.diningRoomArea = m_ui.diningRoomArea->text();
    form.bedroomArea = m_ui.bedroomArea->text();
    form.kitchenArea = m_ui.kitchenArea->text();
    form.bathroomArea = m_ui.bathroomArea->text();
    form.balconyArea = m_ui.balconyArea->text();
    form.style = checkedStates(m_ui.styles);
    form.grade = checkedStates(m_ui.grades);
    form.phone = m_ui.phone->text();
    form.formOfAddress = m_ui.formOfAddress->text();

    const QuoteRequest request = QuoteRequest::build(form);
    if (!request.ok()) {
        m_messages.inform(request.message);
        return;
    }
    openurl(request.url);
    m_ui.phone->clear();
    Announcement::announce(m_ui.phone, u"报价请求已在浏览器中打开，手机号码已清空"_s);
    // A keyboard user goes on in the emptied box.
    if (!m_ui.quoteButton->isClickByMouse())
        m_ui.phone->setFocus();
}

void MainWindow::openurl(const QString &url)
{
    m_shell.open(url);
}
