#include "core/okno/Dialogi.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>

#include "core/okno/OknoCzcionki.h"

void Dialogi::informacja(QWidget* rodzic, const QString& tytul, const QString& tekst) {
    komunikat(rodzic, {tytul, tekst, Ikona::Brak, Ok});
}

void Dialogi::ostrzezenie(QWidget* rodzic, const QString& tytul, const QString& tekst) {
    komunikat(rodzic, {tytul, tekst, Ikona::Ostrzezenie, Ok});
}

void Dialogi::blad(QWidget* rodzic, const QString& tytul, const QString& tekst) {
    komunikat(rodzic, {tytul, tekst, Ikona::Blad, Ok});
}

bool Dialogi::pytanie(QWidget* rodzic, const QString& tytul, const QString& tekst) {
    return komunikat(rodzic, {tytul, tekst, Ikona::Pytanie, Tak | Nie}) == Tak;
}

QString filtrQt(const QString& filtr) {
    const QStringList czesci = filtr.split(QLatin1Char('|'));
    QStringList wynik;
    for (int i = 0; i + 1 < czesci.size(); i += 2) {
        QString wzorce = czesci[i + 1];
        wzorce.replace(QLatin1Char(';'), QLatin1Char(' '));
        wynik << QStringLiteral("%1 (%2)").arg(czesci[i], wzorce);
    }
    return wynik.join(QStringLiteral(";;"));
}

namespace {

QMessageBox::Icon ikonaQt(Dialogi::Ikona i) {
    switch (i) {
    case Dialogi::Ikona::Informacja:
        return QMessageBox::Information;
    case Dialogi::Ikona::Ostrzezenie:
        return QMessageBox::Warning;
    case Dialogi::Ikona::Blad:
        return QMessageBox::Critical;
    case Dialogi::Ikona::Pytanie:
        return QMessageBox::Question;
    case Dialogi::Ikona::Brak:
        break;
    }
    return QMessageBox::NoIcon;
}

// The message texts break lines with a bare carriage return, as the register messages do;
// a Qt label breaks only at a line feed.
QString tekstDoWyswietlenia(QString tekst) {
    tekst.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    tekst.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return tekst;
}

void ustawDialogPliku(QFileDialog& d, const Dialogi::WyborPliku& w) {
    if (!w.tytul.isEmpty())
        d.setWindowTitle(w.tytul);
    d.setDirectory(w.katalog);
    // Qt reads a filter's patterns from the parentheses at the end of its text and by default
    // shows that whole text, so a description that names its pattern itself ("Bitmaps
    // (*.bmp)") showed it twice and "Pliki tekstowe" showed one it does not have. The patterns
    // stay where Qt reads them; the list shows the description alone, as the program names it.
    d.setOption(QFileDialog::HideNameFilterDetails);
    d.setNameFilter(filtrQt(w.filtr));
    QString rozszerzenie = w.domyslneRozszerzenie;
    rozszerzenie.remove(QLatin1Char('*')).remove(QLatin1Char('.'));
    d.setDefaultSuffix(rozszerzenie);
    if (w.urzadzenia)
        d.setFilter(d.filter() | QDir::System);
    if (!w.nazwa.isEmpty())
        d.selectFile(w.nazwa);
}

} // namespace

Dialogi::Przycisk QtDialogi::komunikat(QWidget* rodzic, const Komunikat& k) {
    QMessageBox box(ikonaQt(k.ikona), k.tytul, tekstDoWyswietlenia(k.tekst), QMessageBox::NoButton,
                    rodzic);
    // Texts carry file lines and paths as they are: a "<h1>" or "<img src=...>" in them is shown
    // as typed, never rendered (a rejected line could otherwise pose as a success, or load a
    // picture from disk).
    box.setTextFormat(Qt::PlainText);
    const std::pair<Przycisk, QMessageBox::StandardButton> pary[] = {{Ok, QMessageBox::Ok},
                                                                     {Tak, QMessageBox::Yes},
                                                                     {Nie, QMessageBox::No},
                                                                     {Anuluj, QMessageBox::Cancel}};
    // The program speaks Polish whether or not the toolkit's translations are installed.
    const QString napisy[] = {QStringLiteral("OK"), QStringLiteral("&Tak"), QStringLiteral("&Nie"),
                              QStringLiteral("Anuluj")};
    for (std::size_t i = 0; i < std::size(pary); ++i)
        if (k.przyciski & pary[i].first)
            box.addButton(pary[i].second)->setText(napisy[i]);
    box.exec();
    const auto nacisniety = box.standardButton(box.clickedButton());
    for (const auto& [nasz, qt] : pary)
        if (qt == nacisniety)
            return nasz;
    return (k.przyciski & Nie) ? Nie : (k.przyciski & Anuluj) ? Anuluj : Ok;
}

std::optional<QString> QtDialogi::otworzPlik(QWidget* rodzic, const WyborPliku& w) {
    QFileDialog d(rodzic);
    ustawDialogPliku(d, w);
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return std::nullopt;
    return d.selectedFiles().first();
}

std::optional<QString> QtDialogi::zapiszPlik(QWidget* rodzic, const WyborPliku& w) {
    QFileDialog d(rodzic);
    ustawDialogPliku(d, w);
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setFileMode(QFileDialog::AnyFile);
    d.setOption(QFileDialog::DontConfirmOverwrite);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return std::nullopt;
    return d.selectedFiles().first();
}

std::optional<Czcionka> QtDialogi::wybierzCzcionke(QWidget* rodzic, const Czcionka& poczatkowa) {
    OknoCzcionki d(poczatkowa, rodzic);
    if (d.exec() != QDialog::Accepted)
        return std::nullopt;
    return d.wybrana();
}

bool QtDialogi::wybierzDrukarke(QWidget* rodzic, QPrinter& drukarka) {
    QPrintDialog d(&drukarka, rodzic);
    d.setOption(QAbstractPrintDialog::PrintToFile, true);
    return d.exec() == QDialog::Accepted;
}

bool QtDialogi::podgladWydruku(QWidget* rodzic, QPrinter& drukarka,
                               const std::function<void(QPrinter&)>& rysuj) {
    QPrintPreviewDialog d(&drukarka, rodzic);
    d.setWindowTitle(QStringLiteral("Podgląd wydruku"));
    QObject::connect(&d, &QPrintPreviewDialog::paintRequested, &d,
                     [&rysuj](QPrinter* p) { rysuj(*p); });
    // At 100 % the page shows at its physical size at the screen's resolution, which is what
    // the preview is for; it opens fitted to the window otherwise.
    if (auto* podglad = d.findChild<QPrintPreviewWidget*>()) {
        podglad->setZoomMode(QPrintPreviewWidget::CustomZoom);
        podglad->setZoomFactor(1.0);
    }
    const QSize miejsce =
        (rodzic ? rodzic->screen() : QGuiApplication::primaryScreen())->availableGeometry().size();
    d.resize(QSize(900, 800).boundedTo(miejsce));
    // The preview's own print button asks for the printer and accepts once it has printed.
    return d.exec() == QDialog::Accepted;
}
