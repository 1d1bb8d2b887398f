#include "comm/okno/TOknoKomunik.h"

#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QShowEvent>

#include "comm/ModeleKas.h"
#include "comm/okno/WyborPortu.h"
#include "core/BladProgramu.h"
#include "core/ZapisPliku.h"
#include "core/okno/CzcionkiFormularzy.h"
#include "core/okno/Dialogi.h"
#include "keys/StanProgramu.h"
#include "transfer/KodyBledow.h"
#include "transfer/LaczeKasy.h"
#include "transfer/okno/PokazBlad.h"
#include "ui_TOknoKomunik.h"

namespace {

// Commands of the serial library's single exchanges and the reply lengths they ask for.
constexpr std::uint8_t kRozkazIdentyfikacji = 254;
constexpr std::uint8_t kDlugoscIdentyfikacji = 4;
constexpr std::uint8_t kRozkazNumeruKasy = 192;
constexpr std::uint8_t kDlugoscNumeruKasy = 3;

// The libraries' result when the port cannot be opened.
constexpr std::uint8_t kPortNiedostepny = 62;

const QString kNiemozliwePolaczenie = QStringLiteral("Niemożliwe zainicjowanie portu szeregowego");

// The register number the register sent as two characters; a zero byte ends it early.
QString numerZOdpowiedzi(const LaczeKasy::Bufor& odbior) {
    QString nr;
    for (int i = 0; i < 2 && odbior[i] != '\0'; ++i)
        nr += QChar(static_cast<unsigned char>(odbior[i]));
    return nr;
}

// Only plain decimal digits make a register number.
bool liczbaDziesietna(const QString& tekst, int& wartosc) {
    if (tekst.isEmpty())
        return false;
    for (const QChar c : tekst)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    wartosc = tekst.toInt();
    return true;
}

} // namespace

TOknoKomunik::TOknoKomunik(StanProgramu& stan, Dialogi& dialogi, LaczeKasy& lacze, QWidget* rodzic)
    : QDialog(rodzic), ui(new Ui::TOknoKomunik), m_stan(stan), m_dialogi(dialogi), m_lacze(lacze) {
    // The dialog's own face is set before its controls exist, so they are laid out once.
    setFont(czcionkaFormularza(11));
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());

    const QFont napisy = czcionkaFormularza(16);
    for (QWidget* w :
         {static_cast<QWidget*>(ui->Label1), static_cast<QWidget*>(ui->NapisTimeout),
          static_cast<QWidget*>(ui->seCOM), static_cast<QWidget*>(ui->GrupaMux),
          static_cast<QWidget*>(ui->GrupaKanal), static_cast<QWidget*>(ui->GrupaSzybkosc)})
        w->setFont(napisy);
    ui->WartoscTimeout->setFont(czcionkaFormularza(23));

    connect(ui->KlawZapis, &QPushButton::clicked, this, chronione([this] { KlawZapisClick(); }));
    connect(ui->KlawEsc, &QPushButton::clicked, this, chronione([this] { KlawEscClick(); }));
    connect(ui->KlawPolacz, &QPushButton::clicked, this, chronione([this] { KlawPolaczClick(); }));
    connect(ui->GrupaMux, &TRadioGroup::klikniecie, this, chronione([this] { GrupaMuxClick(); }));
    // Beside the port number: which device the port is, picked from the machine's list.
    new WyborPortu(ui->seCOM, ui->bUrzadzenie, ui->lUrzadzenie, dialogi, UrzadzeniaSystemu, this);
}

TOknoKomunik::~TOknoKomunik() {
    delete ui;
}

void TOknoKomunik::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    ui->KlawPolacz->setFocus(Qt::OtherFocusReason);
}

ParametryKomunikacji TOknoKomunik::parametry() const {
    ParametryKomunikacji p;
    p.port = ui->seCOM->value();
    p.multiplekser = ui->GrupaMux->itemIndex();
    p.kanal = ui->GrupaKanal->itemIndex() + 1;
    p.szybkosc = SzybkoscZIndeksu(ui->GrupaSzybkosc->itemIndex());
    p.timeout = ui->WartoscTimeout->value();
    return p;
}

QString TOknoKomunik::tytulAplikacji() const {
    return QGuiApplication::applicationDisplayName();
}

void TOknoKomunik::GrupaMuxClick() {
    ui->GrupaKanal->setEnabled(ui->GrupaMux->itemIndex() > 0);
}

void TOknoKomunik::KlawEscClick() {
    reject();
}

// Opens the file anew, writes the lines and closes it. Any step that fails makes the whole
// file a failure; the line writer then keeps whatever file was there before.
bool TOknoKomunik::zapiszPlikLiniowy(const QString& nazwa, const QList<QByteArray>& linie) {
    std::int32_t uchwyt = 0;
    if (m_lacze.OtwartoPlik(uchwyt, nazwa, 1) == 0)
        return false;
    bool zapisano = true;
    for (const QByteArray& linia : linie) {
        if (m_lacze.ZapisanoDoPlikuLinie(uchwyt, linia) == 0) {
            zapisano = false;
            break;
        }
    }
    if (m_lacze.ZamknieciePliku(uchwyt) == 0)
        zapisano = false;
    return zapisano;
}

// The reason goes on a line of its own. The current result code belongs to an earlier
// register call and says nothing about the files.
void TOknoKomunik::zglosNieZapisano(const QString& powod) {
    m_dialogi.blad(this, kTytulBledu,
                   QStringLiteral("Nie zapisano parametrów komunikacji.\r") + powod);
}

bool TOknoKomunik::zapisz(const QString& nazwa, const QList<QByteArray>& linie) {
    if (zapiszPlikLiniowy(nazwa, linie))
        return true;
    const QString sciezka = QDir::toNativeSeparators(QDir::current().absoluteFilePath(nazwa));
    const int blad = m_lacze.bladSystemuPliku();
    zglosNieZapisano(blad == 0 ? QStringLiteral("Nie można zapisać pliku \"%1\".").arg(sciezka)
                               : QStringLiteral("Nie można zapisać pliku \"%1\": %2.")
                                     .arg(sciezka, przyczynaBledu(blad)));
    return false;
}

void TOknoKomunik::KlawZapisClick() {
    // The other registers' lines are kept, so the old file must be read whole first.
    QByteArrayList stareLinie;
    try {
        stareLinie = CzytajLinieKonfiguracji();
    } catch (const BladProgramu& b) {
        zglosNieZapisano(b.komunikat());
        return;
    }
    m_stan.NrKasy = NrKasyDoZapisu(m_stan.WartoscNrKasy, stareLinie);

    const QByteArray krzyzyk("#");
    if (!zapisz(QStringLiteral("in"), {LiniaNaglowkaIn(m_stan.NrKasy), krzyzyk, krzyzyk}) ||
        !zapisz(QStringLiteral("KONFIG.TXT"),
                LinieKonfiguracji(m_stan.NrKasy, LiniaKonfiguracji(m_stan.NrKasy, parametry()),
                                  stareLinie)))
        return;
    accept();
}

QString TOknoKomunik::TestPolaczenia() {
    m_kodModelu = 0;
    m_stan.WartoscNrKasy = 0;

    const ParametryKomunikacji p = parametry();

    // A port left open by anything before is closed first.
    m_lacze.UnInitializePort();
    const std::uint8_t otwarcie = m_lacze.InitializePort(
        static_cast<std::uint8_t>(p.port), static_cast<std::uint16_t>(p.szybkosc),
        static_cast<std::uint16_t>(p.timeout), static_cast<std::uint16_t>(p.timeout));
    if (otwarcie != 0 && otwarcie != kPortNiedostepny && !TekstBledu(otwarcie).isEmpty()) {
        // The libraries could not be reached at all (Wine): that message, not the port's.
        m_stan.NrBledu = otwarcie;
        PokazBlad(m_stan, m_dialogi, this, m_lacze.powodBleduPortu());
        m_stan.NrBledu = 0;
        return {};
    }
    if (otwarcie != 0) {
        // Why, on a line of its own when the library can tell (missing, busy, dialout group).
        const QString powod = m_lacze.powodBleduPortu();
        m_dialogi.informacja(this, tytulAplikacji(),
                             powod.isEmpty() ? kNiemozliwePolaczenie
                                             : kNiemozliwePolaczenie + QLatin1Char('\r') + powod);
        m_stan.NrBledu = 0;
        return {};
    }

    if (p.multiplekser > 0 && m_lacze.UstawKanal(static_cast<std::uint8_t>(p.kanal)) == 0) {
        m_dialogi.informacja(this, tytulAplikacji(), kNiemozliwePolaczenie);
        m_lacze.UnInitializePort();
        return {};
    }

    QString wynik;
    const LaczeKasy::Bufor nadawanie{};
    LaczeKasy::Bufor odbior{};
    std::uint8_t kod =
        m_lacze.RSSequence(kRozkazIdentyfikacji, kDlugoscIdentyfikacji, 0, odbior, nadawanie);
    if (kod == 0) {
        m_kodModelu = KodModeluZBajtu(static_cast<std::uint8_t>(odbior[0]));
        kod = m_lacze.RSSequence(kRozkazNumeruKasy, kDlugoscNumeruKasy, 0, odbior, nadawanie);
    }
    if (kod != 0) {
        m_stan.NrBledu = kod;
        PokazBlad(m_stan, m_dialogi, this, m_lacze.powodBleduPortu());
    } else {
        m_stan.NrKasy = numerZOdpowiedzi(odbior);
        int wartosc = 0;
        if (!liczbaDziesietna(m_stan.NrKasy, wartosc)) {
            // The port is not left open behind the error: nothing else could use it until
            // the next test.
            m_lacze.UnInitializePort();
            throw BladProgramu(
                QStringLiteral("'%1' nie jest poprawną liczbą całkowitą.").arg(m_stan.NrKasy));
        }
        m_stan.WartoscNrKasy = wartosc;
        wynik = QStringLiteral("%1%2").arg(m_kodModelu, 2, 10, QLatin1Char('0')).arg(m_stan.NrKasy);
    }

    m_lacze.UnInitializePort();
    return wynik;
}

void TOknoKomunik::KlawPolaczClick() {
    // The hourglass shows while each library call runs (the calls wait through the shared
    // mechanism); a message in the middle of the test is answered with the normal cursor.
    const QString wynik = TestPolaczenia();

    if (wynik.isEmpty()) {
        ui->KlawZapis->setEnabled(false);
        return;
    }
    if (m_kodModelu == kModelPixoE) {
        ui->KlawZapis->setEnabled(true);
        // Which libraries answered, on a line of its own when they are not the program's own.
        const QString biblioteki = m_lacze.opisBibliotek();
        m_dialogi.informacja(
            this, tytulAplikacji(),
            QStringLiteral("Połączenie poprawne - kasa :TALMO ") + NazwaModelu(m_kodModelu) +
                (biblioteki.isEmpty() ? QString() : QLatin1Char('\r') + biblioteki));
        KlawZapisClick();
        return;
    }
    m_dialogi.blad(this, kTytulBledu,
                   QStringLiteral("Podłączone urządzenie nie jest kasą TALMO PIXO E"));
}
