#include "overlay/okno/KontrolerWkladki.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QShortcut>
#include <QValidator>
#include <exception>

#include "core/BladProgramu.h"
#include "core/KodyZnakow.h"
#include "core/NazwyPlikow.h"
#include "core/ZapisPliku.h"
#include "core/okno/CzcionkiFormularzy.h"
#include "core/okno/PrzyPokazaniu.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "overlay/EksportWkladki.h"
#include "overlay/NapisyKlawiszy.h"
#include "overlay/ObrazyWkladki.h"
#include "overlay/PlikNapisow.h"
#include "overlay/okno/DrukWkladki.h"

const QString KontrolerWkladki::kTytulWydruku = QStringLiteral("TALMO Pixo E klawiatura");
const QString KontrolerWkladki::kPlikTymczasowy = QStringLiteral("@#$.bmp");

namespace {

QStringList pozycjeListy(const QComboBox* lista) {
    QStringList wynik;
    if (!lista)
        return wynik;
    wynik.reserve(lista->count());
    for (int i = 0; i < lista->count(); ++i)
        wynik << lista->itemText(i);
    return wynik;
}

// The label file holds code page 1250: an edit that would hold a character the file cannot
// (typed or pasted) is refused, rather than saved as "?" without a word.
class Walidator1250 : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& tekst, int&) const override {
        return daSieZapisacW1250(tekst) ? Acceptable : Invalid;
    }
};

void ustawKolor(QWidget* w, QPalette::ColorRole rola, const QColor& kolor) {
    QPalette p = w->palette();
    p.setColor(rola, kolor);
    w->setPalette(p);
}

} // namespace

KontrolerWkladki::KontrolerWkladki(const WidokWkladki& widok, StanProgramu& stan, Dialogi& dialogi,
                                   QObject* rodzic)
    : QObject(rodzic), m_widok(widok), m_stan(stan), m_dialogi(dialogi),
      m_katalogStartowy(QDir::currentPath()) {
    auto* walidator = new Walidator1250(this);
    for (QLineEdit* e : m_widok.edity) {
        if (!e)
            continue;
        ustawKolor(e, QPalette::Base, kolorNapisow(WkladkaOgolna));
        ustawKolor(e, QPalette::Text, kolorWindows(kKolorTekstuNapisow));
        e->setValidator(walidator);
        // Typing stops at 8 characters, but a longer text read from a label file is kept
        // whole: the limit follows such a text down until it is shorter than 8.
        // Setting the limit sets the text anew (cursor to the end, no undo): only when it moves.
        connect(e, &QLineEdit::textChanged, e, [e](const QString& t) {
            const int limit = std::max<int>(kDlugoscNapisu, t.size());
            if (e->maxLength() == limit)
                return;
            const int kursor = e->cursorPosition();
            e->setMaxLength(limit);
            e->setCursorPosition(kursor);
        });
    }

    // The labels are hidden at start; their font is fitted when the first one shows.
    for (QLineEdit* e : m_widok.edity)
        if (e)
            przyPierwszymPokazaniu(e, [this] { ustawCzcionkeNapisow(); });

    const auto podlacz = [this](QPushButton* b, void (KontrolerWkladki::*obsluga)()) {
        if (b)
            connect(b, &QPushButton::clicked, this,
                    chronione([this, obsluga] { (this->*obsluga)(); }));
    };
    podlacz(m_widok.Button2, &KontrolerWkladki::Button2Click);
    podlacz(m_widok.Button1, &KontrolerWkladki::Button1Click);
    podlacz(m_widok.bCzcionka, &KontrolerWkladki::bCzcionkaClick);
    podlacz(m_widok.BitBtn1, &KontrolerWkladki::BitBtn1Click);
    podlacz(m_widok.BitBtnOdczyt, &KontrolerWkladki::BitBtnOdczytClick);
    podlacz(m_widok.bbDrukuj, &KontrolerWkladki::bbDrukujClick);
    // The preview on request: the right mouse button on "Wydruk", or Ctrl+Shift+P.
    if (m_widok.bbDrukuj) {
        m_widok.bbDrukuj->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(m_widok.bbDrukuj, &QWidget::customContextMenuRequested, this,
                chronione([this] { podgladWydruku(); }));
    }
    if (m_widok.okno)
        connect(new QShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+P")), m_widok.okno),
                &QShortcut::activated, this, chronione([this] { podgladWydruku(); }));
    if (m_widok.Typkasy)
        connect(m_widok.Typkasy, &TRadioGroup::klikniecie, this,
                chronione([this] { TypkasyClick(); }));
}

void KontrolerWkladki::ustawCzcionkeNapisow() {
    // Once, and never over a font the user picked.
    if (m_czcionkaNapisowUstalona || !m_widok.edity[0])
        return;
    m_czcionkaNapisowUstalona = true;
    // The labels start in the window's face, condensed just enough that a label of eight
    // capitals shows whole in the narrowest edit: measured on the register functions' names
    // cut to a label's length, the words a user is most likely to type there.
    ZrodlaNapisow zrodla;
    zrodla.funkcje = pozycjeListy(m_widok.cbFunkcja);
    TDefKlawisza funkcja;
    funkcja.Rodzaj = RodzajFunkcja;
    QStringList wzory;
    for (int n = 1; n <= zrodla.funkcje.size(); ++n) {
        funkcja.Numer = static_cast<std::uint8_t>(n);
        wzory << napisDefinicji(funkcja, zrodla).value_or(QString()).left(kDlugoscNapisu);
    }
    int szerokosc = m_widok.edity[0]->contentsRect().width();
    for (const QLineEdit* e : m_widok.edity)
        szerokosc = std::min(szerokosc, e->contentsRect().width());
    // A line edit keeps two pixels clear on either side of its text, and one for the cursor.
    szerokosc -= 2 * 2 + 1;
    const QFont czcionka = czcionkaMieszczaca(m_widok.edity[0]->font(), wzory, szerokosc);
    for (QLineEdit* e : m_widok.edity)
        e->setFont(czcionka);
}

int KontrolerWkladki::typWkladki() const {
    return m_widok.Typkasy && m_widok.Typkasy->itemIndex() == WkladkaLekarska ? WkladkaLekarska
                                                                              : WkladkaOgolna;
}

void KontrolerWkladki::ustawTekst(QLineEdit* edit, const QString& tekst) {
    // The limit must not cut a longer text; textChanged brings it back down afterwards.
    edit->setMaxLength(std::max<int>(kDlugoscNapisu, tekst.size()));
    edit->setText(tekst);
    // A label wider than its edit shows its beginning, not its end.
    edit->setCursorPosition(0);
}

Napisy KontrolerWkladki::napisy() const {
    Napisy napisy;
    for (int i = 0; i < kLiczbaNapisow; ++i)
        napisy[i] = {m_widok.edity[i]->text(), !m_widok.edity[i]->isHidden()};
    return napisy;
}

void KontrolerWkladki::ustawNapisy(const Napisy& napisy) {
    for (int i = 0; i < kLiczbaNapisow; ++i) {
        QLineEdit* e = m_widok.edity[i];
        if (napisy[i].tekst != e->text())
            ustawTekst(e, napisy[i].tekst);
        if (napisy[i].widoczny == e->isHidden())
            e->setVisible(napisy[i].widoczny);
    }
}

void KontrolerWkladki::WypelnijNapisy(bool wszystkie) {
    Napisy napisy = this->napisy();

    ZrodlaNapisow zrodla;
    zrodla.funkcje = pozycjeListy(m_widok.cbFunkcja);
    zrodla.platnosci = pozycjeListy(m_widok.cbPlatnosc);
    zrodla.waluty = pozycjeListy(m_widok.cbWaluta);
    zrodla.towary = &m_stan.towary;
    const int warstwa = m_widok.rgAlty ? m_widok.rgAlty->itemIndex() : WarstwaBezposrednio;
    ::WypelnijNapisy(napisy, m_stan.tabela, warstwa, zrodla, wszystkie);
    ustawNapisy(napisy);
}

void KontrolerWkladki::TypkasyClick() {
    const int typ = typWkladki();
    if (m_widok.iWkladka) {
        // Stretched to the control, not kept in proportion.
        const QImage obraz = obrazEkranowy(typ, m_widok.iWkladka->size());
        if (!obraz.isNull()) {
            m_widok.iWkladka->setScaledContents(true);
            m_widok.iWkladka->setPixmap(QPixmap::fromImage(obraz));
        }
    }
    const QColor kolor = kolorNapisow(typ);
    for (QLineEdit* e : m_widok.edity) {
        ustawKolor(e, QPalette::Base, kolor);
        if (e->isVisible())
            e->repaint();
    }
}

void KontrolerWkladki::Button2Click() {
    const QColor kolor = kolorNapisow(typWkladki());
    for (QLineEdit* e : m_widok.edity) {
        ustawKolor(e, QPalette::Base, kolor);
        e->show();
    }
}

void KontrolerWkladki::Button1Click() {
    const Dialogi::Komunikat pytanie{QStringLiteral("Uwaga"),
                                     QStringLiteral("Czy przywrócić domyślny uklad klawiszy?"),
                                     Dialogi::Ikona::Pytanie, Dialogi::Tak | Dialogi::Nie};
    if (m_dialogi.komunikat(m_widok.okno, pytanie) == Dialogi::Tak) {
        for (QLineEdit* e : m_widok.edity) {
            e->clear();
            e->hide();
        }
        if (poUkladzieDomyslnym)
            poUkladzieDomyslnym();
    }
    if (wybierzKlawisz0)
        wybierzKlawisz0();
}

void KontrolerWkladki::bCzcionkaClick() {
    // The dialog starts on the labels' own font, so that OK without a change changes nothing.
    ustawCzcionkeNapisow();
    const QLineEdit* edit0 = m_widok.edity[0];
    const auto wybrana = m_dialogi.wybierzCzcionke(
        m_widok.okno, {edit0->font(), edit0->palette().color(QPalette::Text)});
    if (!wybrana)
        return;
    m_czcionkaNapisowUstalona = true;
    for (int indeks : kKolejnoscPliku) {
        QLineEdit* e = m_widok.edity[indeks];
        e->setFont(wybrana->font);
        ustawKolor(e, QPalette::Text, wybrana->kolor);
        if (e->isVisible())
            e->repaint();
    }
}

bool KontrolerWkladki::eksportuj() {
    QString nazwa;
    if (!m_stan.PlikWydruku.isEmpty()) {
        nazwa = m_stan.PlikWydruku;
    } else {
        const Dialogi::WyborPliku wybor{QString(), m_katalogStartowy, m_nazwaZapisu,
                                        QStringLiteral("Bitmaps (*.bmp)|*.bmp"),
                                        QStringLiteral("bmp")};
        const auto wybrana = m_dialogi.zapiszPlik(m_widok.okno, wybor);
        if (!wybrana)
            return false;
        nazwa = *wybrana;
        m_nazwaZapisu = nazwa;
        if (zastrzezonaNazwa(nazwa)) {
            m_dialogi.informacja(m_widok.okno, QCoreApplication::applicationName(),
                                 nazwa + QStringLiteral(" : zastrzeżona nazwa pliku"));
            return false;
        }
    }
    const QString plikBmp = zmienRozszerzenie(nazwa, QStringLiteral(".bmp"));
    m_nazwaZapisu = plikBmp;

    const int typ = typWkladki();
    const QImage& wydruk = bitmapaWydruku(typ);
    if (wydruk.isNull())
        throw BladProgramu(QStringLiteral("Brak bitmapy wkładki w programie."));

    const SkalaEksportu skala = skalaEksportu(wydruk.size(), m_widok.iWkladka->size());
    QLineEdit* edit1 = m_widok.edity[indeksNapisu(1)];
    ustawCzcionkeNapisow(); // the labels may not have been shown yet
    const QFont czcionka = czcionkaEksportu(edit1->font(), skala.sy);
    const QColor kolorTekstu = edit1->palette().color(QPalette::Text);

    std::vector<NapisEksportu> napisy;
    LinieNapisow linie;
    for (int k = 0; k < kLiczbaNapisow; ++k) {
        const int indeks = kKolejnoscPliku[k];
        QLineEdit* e = m_widok.edity[indeks];
        const QString tekst = e->text().isEmpty() ? QString() : dopelnijNapis(e->text());
        const QPoint polozenie = m_widok.okno ? e->mapTo(m_widok.okno, QPoint(0, 0)) : e->pos();
        napisy.push_back(
            {tekst, polozenie, napisJednoliniowy(indeks), e->palette().color(QPalette::Base)});
        linie[k] = tekst;
    }

    // The file says 300 dpi whatever the embedded bitmap says.
    m_bitmapa.rysuj(wydruk, napisy, czcionka, kolorTekstu, skala, kPikseliNaMetr);
    const QString plikNapisow = zmienRozszerzenie(plikBmp, QStringLiteral(".bm0"));
    ZapisKolejny zapis({plikBmp, plikNapisow}); // one look at the folder for both
    zapis.zapisz(plikBmp, m_bitmapa.dane());
    // The padded texts stay in the edits.
    for (int k = 0; k < kLiczbaNapisow; ++k) {
        QLineEdit* e = m_widok.edity[kKolejnoscPliku[k]];
        if (e->text() != linie[k])
            ustawTekst(e, linie[k]);
    }
    zapis.zapisz(plikNapisow, zakodujPlikNapisow(linie));
    return true;
}

void KontrolerWkladki::BitBtn1Click() {
    if (eksportuj() && poZapisieNapisow)
        poZapisieNapisow();
}

void KontrolerWkladki::BitBtnOdczytClick() {
    const Dialogi::WyborPliku wybor{QString(), m_katalogStartowy, m_nazwaOdczytu,
                                    QStringLiteral("Definicje tekstów na klawiszach (*.bm0)|*.bm0"),
                                    QStringLiteral("bm0")};
    const auto wybrana = m_dialogi.otworzPlik(m_widok.okno, wybor);
    if (!wybrana)
        return;
    m_nazwaOdczytu = *wybrana;
    const LinieNapisow linie = wczytajPlikNapisow(*wybrana);
    for (int k = 0; k < kLiczbaNapisow; ++k) {
        QLineEdit* e = m_widok.edity[kKolejnoscPliku[k]];
        ustawTekst(e, linie[k]);
        e->show();
    }
    if (poOdczycieNapisow)
        poOdczycieNapisow();
}

void KontrolerWkladki::bbDrukujClick() {
    QPrinter drukarka(QPrinter::HighResolution);
    if (!m_dialogi.wybierzDrukarke(m_widok.okno, drukarka))
        return;
    if (const std::optional<QImage> obraz = obrazWydruku())
        drukujObraz(drukarka, *obraz, kTytulWydruku);
}

void KontrolerWkladki::podgladWydruku() {
    // The page is drawn from the bitmap made once, so the preview and the paper show the same.
    const std::optional<QImage> obraz = obrazWydruku();
    if (!obraz)
        return;
    QPrinter drukarka(QPrinter::HighResolution);
    // A failure while drawing must not unwind through the preview's own event handling; it is
    // reported once the preview has closed.
    std::exception_ptr blad;
    m_dialogi.podgladWydruku(m_widok.okno, drukarka, [&](QPrinter& strona) {
        try {
            drukujObraz(strona, *obraz, kTytulWydruku);
        } catch (...) {
            blad = std::current_exception();
        }
    });
    if (blad)
        std::rethrow_exception(blad);
}

std::optional<QImage> KontrolerWkladki::obrazWydruku() {
    m_stan.PlikWydruku = kPlikTymczasowy;
    bool zapisany = false;
    try {
        zapisany = eksportuj();
    } catch (...) {
        // A later "Zapis do pliku" asks for its name again, and no half-made temporary stays.
        m_stan.PlikWydruku.clear();
        QFile::remove(kPlikTymczasowy);
        throw;
    }
    QFile::remove(kPlikTymczasowy);
    m_stan.PlikWydruku.clear();
    if (!zapisany)
        return std::nullopt;
    return m_bitmapa.obraz();
}
