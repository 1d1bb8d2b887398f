#include "keys/okno/PanelKlawisza.h"
#include "core/BladProgramu.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "core/okno/Dialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/Kwoty.h"
#include "keys/StanProgramu.h"
#include "keys/Trafienia.h"
#include "keys/okno/UkladPanelu.h"

namespace {

// Sizes of the fixed lists; a stored number never exceeds them.
constexpr int kLiczbaFunkcji = 40;
constexpr int kLiczbaPlatnosci = 7;
constexpr int kLiczbaWalut = 8;
constexpr int kLiczbaZakresow = 3;
constexpr int kLimitPlatnosci = 8;

const QString kKomunikatPlatnosc =
    QStringLiteral("WPROWADŹ KWOTĘ Z MAKSYMALNIE DWOMA MIEJSCAMI PO PRZECINKU");
const QString kKomunikatKwota =
    QStringLiteral("WPROWADŹ KWOTĘ W MAKSYMALNIE DWOMA MIEJSCAMI PO PRZECINKU");
const QString kKomunikatProcent = QStringLiteral("WPROWADŹ PROCENT W ZAKRESIE 1 - 99");
const QString kKomunikatLimitPlatnosci =
    QStringLiteral("       Klawisz nie może zostać zatwierdzony.        \n"
                   "Zdefiniowano już maksymalną liczbę płatności (osiem).");
const QString kTytulOstrzezenia = QStringLiteral("Ostrzeżenie");

// Focus moves that come from another window (a message box, a popup list) are not the user
// leaving or entering a control of this window.
bool zmianaWewnatrzOkna(const QFocusEvent* e) {
    return e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason;
}

bool klawiszDialogowy(const QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
        return true;
    default:
        return false;
    }
}

// A key press that types a character, control characters such as Backspace included. Keys
// that move the cursor, delete forward or work the window (Enter, Tab, Escape) type nothing.
bool wpisujeZnak(const QKeyEvent* e) {
    if (klawiszDialogowy(e) || e->key() == Qt::Key_Delete)
        return false;
    return !e->text().isEmpty();
}

} // namespace

PanelKlawisza::PanelKlawisza(const WidokPanelu& widok, StanProgramu& stan, Dialogi& dialogi,
                             QObject* parent)
    : QObject(parent), m_widok(widok), m_stan(stan), m_dialogi(dialogi) {
    const WidokPanelu& w = m_widok;
    // The field's limit binds typing only (enforced in the key filter); a stored amount shown
    // there may be longer.
    w.Edit10->setMaxLength(32767);

    connect(w.rgAlty, &TRadioGroup::klikniecie, this, chronione([this] { rgAltyClick(); }));
    connect(w.rgDefinicja, &TRadioGroup::klikniecie, this,
            chronione([this] { rgDefinicjaClick(); }));
    // Only the user's pick: a selection set from code runs no handler.
    connect(w.cbRabatNarzut, &QComboBox::activated, this,
            chronione([this] { cbRabatNarzutChange(); }));
    connect(w.Button5, &QPushButton::clicked, this, chronione([this] { Button5Click(); }));
    // A paste or a drop follows the rules of typing; the text before it is kept for that.
    connect(w.Edit10, &QLineEdit::textChanged, this, [this](const QString& t) {
        m_poprzedniaKwota = m_biezacaKwota;
        m_biezacaKwota = t;
    });
    connect(w.Edit10, &QLineEdit::textEdited, this, [this](const QString& nowy) {
        int kursor = 0;
        const QString dozwolony = WstawienieDoKwoty(m_poprzedniaKwota, nowy, kursor);
        if (dozwolony == nowy)
            return;
        m_widok.Edit10->setText(dozwolony);
        m_widok.Edit10->setCursorPosition(kursor);
    });

    w.okno->installEventFilter(this);
    w.iWkladka->installEventFilter(this);
    w.Edit10->installEventFilter(this);
    for (QComboBox* lista :
         {w.cbTowary, w.cbFunkcja, w.cbPlatnosc, w.cbWaluta, w.cbRabatNarzut, w.cbRodzaj}) {
        // The drop-down list is made when it first opens (making six costs a millisecond at
        // start): it gets the filter then, see ChildPolished below.
        lista->installEventFilter(this);
    }
    for (QLineEdit* e : w.pierwszeLinie)
        e->installEventFilter(this);
    for (QLineEdit* e : w.drugieLinie)
        e->installEventFilter(this);
}

int PanelKlawisza::warstwa() const {
    return m_widok.rgAlty->itemIndex();
}

int PanelKlawisza::wybranyKlawisz() const {
    return m_widok.lKlawisz->text().toInt();
}

bool PanelKlawisza::eventFilter(QObject* obiekt, QEvent* zdarzenie) {
    try {
        return filtruj(obiekt, zdarzenie);
    } catch (...) {
        zglosBladObslugi(std::current_exception());
        return false;
    }
}

bool PanelKlawisza::filtruj(QObject* obiekt, QEvent* zdarzenie) {
    const WidokPanelu& w = m_widok;
    const QEvent::Type typ = zdarzenie->type();

    if (obiekt == w.iWkladka &&
        (typ == QEvent::MouseButtonPress || typ == QEvent::MouseButtonDblClick)) {
        const auto* m = static_cast<QMouseEvent*>(zdarzenie);
        const QPoint p = m->position().toPoint();
        iWkladkaMouseDown(m->button(), m->modifiers(), p.x(), p.y());
        return false;
    }

    if (obiekt == w.Edit10) {
        if (typ == QEvent::KeyPress) {
            const auto* k = static_cast<QKeyEvent*>(zdarzenie);
            // Enter confirms from the field (the window's default button): the text is
            // normalised first, as leaving the field by a click on "Zatwierdź" does.
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
                Edit10Exit();
            if (!wpisujeZnak(k))
                return false;
            const QString znak = k->text();
            if (znak.size() != 1 || !znakKwoty(znak[0]))
                return true;
            const qsizetype dlugosc = w.Edit10->text().size() - w.Edit10->selectedText().size();
            return dlugosc >= kDlugoscPolaKwoty;
        }
        if (typ == QEvent::FocusOut && zmianaWewnatrzOkna(static_cast<QFocusEvent*>(zdarzenie)))
            Edit10Exit();
        return false;
    }

    if (typ == QEvent::ChildPolished) {
        if (auto* lista = qobject_cast<QComboBox*>(obiekt))
            lista->view()->installEventFilter(this);
        return false;
    }

    if (typ == QEvent::KeyPress) {
        const auto* k = static_cast<QKeyEvent*>(zdarzenie);
        for (QComboBox* lista :
             {w.cbTowary, w.cbFunkcja, w.cbPlatnosc, w.cbWaluta, w.cbRabatNarzut, w.cbRodzaj})
            if (obiekt == lista || obiekt == lista->view())
                return wpisujeZnak(k); // entries are chosen with the mouse or the arrows only
        // "Zatwierdź" is the window's default button: Enter that no control took confirms.
        if (obiekt == w.okno && (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
            (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            !qobject_cast<QPushButton*>(QApplication::focusWidget()) &&
            w.Button5->isVisibleTo(w.okno) && w.Button5->isEnabled()) {
            w.Button5->click();
            return true;
        }
        return false;
    }

    if (typ == QEvent::FocusIn && zmianaWewnatrzOkna(static_cast<QFocusEvent*>(zdarzenie))) {
        for (int k = 0; k < 9; ++k)
            if (obiekt == w.pierwszeLinie[k] || (k < 5 && obiekt == w.drugieLinie[k])) {
                // The edit takes the focus first; showing the key may move it on into a list.
                obiekt->event(zdarzenie);
                PokazKlawisz(k);
                return true;
            }
    }
    return false;
}

void PanelKlawisza::iWkladkaMouseDown(Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
    const WidokPanelu& w = m_widok;
    w.Klawisz->clear();
    std::array<PolozeniePola, 9> pola;
    for (int k = 0; k < 9; ++k) {
        const QLineEdit* e = w.pierwszeLinie[k];
        pola[k] = {e->x(), e->y(), e->width(), e->height()};
    }
    if (const auto klawisz = trafionyKlawisz(warstwa(), pola, x, y)) {
        PokazKlawisz(*klawisz);
    } else {
        // Nothing can be confirmed until a key is selected again.
        w.rgDefinicja->setItemIndex(RodzajNiezdefiniowany);
        ukryjKontrolke(w.Button5);
        ukryjKontrolke(w.rgDefinicja);
        emit zmianaWyboru(-1);
    }
    w.iWkladka->setToolTip(QString());
    w.iWkladka->show();
}

void PanelKlawisza::wybierzKlawisz0() {
    const QLineEdit* e = m_widok.pierwszeLinie[0];
    iWkladkaMouseDown(Qt::LeftButton, Qt::NoModifier, e->x(), e->y());
}

void PanelKlawisza::rgAltyClick() {
    wybierzKlawisz0();
}

void PanelKlawisza::PokazKlawisz(int klawisz) {
    const WidokPanelu& w = m_widok;
    const int L = warstwa();
    if (!istniejeKlawisz(L, klawisz))
        return; // keys 5 to 8 do not exist on the direct and both-Alts layers
    w.rgDefinicja->show();
    w.Button5->show();
    w.Klawisz->setText(nazwaKlawisza(L, klawisz));
    w.lKlawisz->setText(QString::number(klawisz));
    if (klawisz != m_stan.OstatniKlawisz) {
        CzyscPanel();
        m_stan.OstatniKlawisz = std::uint8_t(klawisz);
    }
    pokazRekord(w, m_stan.tabela.odczytaj(L, klawisz));
    emit zmianaWyboru(klawisz);
}

void PanelKlawisza::CzyscPanel() {
    czyscPanel(m_widok);
}

void PanelKlawisza::rgDefinicjaClick() {
    pokazUkladRodzaju(m_widok, m_widok.rgDefinicja->itemIndex());
}

void PanelKlawisza::cbRabatNarzutChange() {
    ustawEtykieteWartosci(m_widok);
}

void PanelKlawisza::Edit10Exit() {
    QString tekst = m_widok.Edit10->text();
    m_widok.Edit10->setText(NormalizujKwote(tekst) ? tekst : QStringLiteral("!!!"));
}

void PanelKlawisza::Button5Click() {
    const WidokPanelu& w = m_widok;
    const int L = warstwa();
    const int k = wybranyKlawisz();
    if (!istniejeKlawisz(L, k))
        return;
    const int rodzaj = std::max(0, w.rgDefinicja->itemIndex());

    // The limit of eight payments counts the other keys only: re-confirming one of eight
    // payment keys is allowed, a ninth is refused and the key keeps what it had.
    if (rodzaj == RodzajPlatnosc &&
        m_stan.tabela.liczbaPlatnosci(PozycjaKlawisza{L, k}) >= kLimitPlatnosci) {
        m_dialogi.ostrzezenie(w.okno, kTytulOstrzezenia, kKomunikatLimitPlatnosci);
        pokazRekord(w, m_stan.tabela.odczytaj(L, k));
        return;
    }

    // A value that fails its check is reported and nothing is stored: the user corrects the
    // field, into which the focus goes.
    auto odrzuc = [&](const QString& tekst) {
        komunikat(tekst);
        skupNa(w.Edit10);
    };

    TDefKlawisza def;
    def.Rodzaj = std::uint8_t(rodzaj);
    switch (rodzaj) {
    case RodzajTowar:
        def.PLU = std::uint16_t(numerWpisu(w.cbTowary, StanProgramu::kLiczbaTowarow));
        def.Pojedynczo = w.cbPojedynczo->isChecked() ? 1 : 0;
        def.Zaplata = w.cbZaplata->isChecked() ? 1 : 0;
        def.Paragon = w.cbParagon->isChecked() ? 1 : 0;
        break;
    case RodzajFunkcja:
        def.Numer = std::uint8_t(numerWpisu(w.cbFunkcja, kLiczbaFunkcji));
        break;
    case RodzajPlatnosc:
    case RodzajWaluta: {
        const bool platnosc = rodzaj == RodzajPlatnosc;
        def.Numer = std::uint8_t(platnosc ? numerWpisu(w.cbPlatnosc, kLiczbaPlatnosci)
                                          : numerWpisu(w.cbWaluta, kLiczbaWalut));
        const auto kwota = KwotaWSetnych(w.Edit10->text());
        if (!kwota) {
            odrzuc(platnosc ? kKomunikatPlatnosc : kKomunikatKwota);
            return;
        }
        def.Kwota = *kwota;
        break;
    }
    case RodzajRabatNarzut: {
        def.Numer = std::uint8_t(wariantRabatu(w));
        def.Zakres = std::uint8_t(numerWpisu(w.cbRodzaj, kLiczbaZakresow));
        if (def.Numer <= 2) {
            const auto procent = CzescCalkowita(w.Edit10->text());
            if (!procent || *procent < 1 || *procent > 99) {
                odrzuc(kKomunikatProcent);
                return;
            }
            def.Wartosc = *procent;
        } else {
            const auto kwota = KwotaWSetnych(w.Edit10->text());
            if (!kwota) {
                odrzuc(kKomunikatKwota);
                return;
            }
            def.Wartosc = *kwota;
        }
        break;
    }
    default:
        def.Rodzaj = RodzajNiezdefiniowany;
        break;
    }

    m_stan.tabela.zapisz(L, k, def);
    if (poZatwierdzeniu)
        poZatwierdzeniu();
}

void PanelKlawisza::komunikat(const QString& tekst) {
    m_dialogi.informacja(m_widok.okno, QCoreApplication::applicationName(), tekst);
}
