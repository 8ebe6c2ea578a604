#include "quote/MainWindow.h"

#include "controls/PictureBox.h"
#include "platform/MessagePresenter.h"
#include "platform/Platform.h"
#include "platform/ShellOpener.h"
#include "quote/QuoteRequest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

void MainWindow::connectSubmission()
{
    connect(control<PictureBox>(u"Image5"_s), &PictureBox::clicked, this, &MainWindow::submitQuote);
}

// The quote button: read the form, let the request rules check it, then hand
// the URL to the shell or name the field to correct.
void MainWindow::submitQuote()
{
    const auto text = [this](const char16_t *name) {
        QWidget *widget = control(QString::fromUtf16(name));
        if (auto *combo = qobject_cast<QComboBox *>(widget))
            return combo->currentText();
        return qobject_cast<QLineEdit *>(widget)->text();
    };
    const auto selected = [this](const char16_t *name) {
        return control<QRadioButton>(QString::fromUtf16(name))->isChecked();
    };

    QuoteForm form;
    form.city1 = text(u"city1");
    form.city2 = text(u"city2");
    form.city3 = text(u"city3");
    form.houseType = text(u"Combo6");
    form.bathrooms = text(u"Combo4");
    form.balconies = text(u"Combo5");
    form.text2 = text(u"Text2");
    form.text3 = text(u"Text3");
    form.text4 = text(u"Text4");
    form.text5 = text(u"Text5");
    form.text6 = text(u"Text6");
    form.text7 = text(u"Text7");
    form.style = {selected(u"Option1"), selected(u"Option2"), selected(u"Option3"), selected(u"Option4"),
                  selected(u"Option5")};
    form.grade = {selected(u"Option6"), selected(u"Option7"), selected(u"Option8")};
    form.phone = text(u"Text8");
    form.formOfAddress = text(u"chenghutext");

    const QuoteRequest request = QuoteRequest::build(form);
    if (!request.ok()) {
        Platform::messages().inform(request.message);
        return;
    }
    openurl(request.url);
    control<QLineEdit>(u"Text8"_s)->clear();
}

void MainWindow::openurl(const QString &url)
{
    Platform::shell().open(url);
}
