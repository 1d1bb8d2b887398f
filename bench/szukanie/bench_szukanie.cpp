// Goods search benchmark: every keystroke of a search over 3071 goods names in the program's
// own window (Ctrl+F on the goods list, then typing, deleting and moving in the matches), each
// timed from the key event until the field and its list of matches are painted. The floor is
// the same keystrokes typed into a plain field of the same window, painted alike. Prints the
// median and the longest keystroke per query; the target is no keystroke over 50 ms.

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/TForm3.h"
#include "core/okno/SkryptDialogi.h"
#include "core/okno/TRadioGroup.h"
#include "keys/StanProgramu.h"
#include "keys/okno/SzukajTowaru.h"
#include "ui_TForm3.h"

namespace {

constexpr double kCelMs = 50.0;

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0.0 : v[v.size() / 2];
}

double najwiekszy(const std::vector<double>& v) {
    return v.empty() ? 0.0 : *std::max_element(v.begin(), v.end());
}

// 3071 different names as a register holds them: goods, a kind, a size.
QStringList towary() {
    const QStringList nazwy = {"CHLEB",   "MASŁO",   "MLEKO", "JAJKA",    "ŚMIETANA", "ŁOSOŚ",
                               "JABŁKA",  "GRUSZKI", "ŻUREK", "KIEŁBASA", "SER",      "KAWA",
                               "HERBATA", "CUKIER",  "MĄKA",  "PĄCZEK",   "WODA",     "SOK",
                               "KSIĄŻKA", "ZAPAŁKI", "MIÓD",  "OGÓRKI",   "ŚLEDŹ",    "DŻEM"};
    const QStringList rodzaje = {"ŻYTNI",    "EKSTRA",  "WIEJSKIE", "WĘDZONY",  "ŚLĄSKI", "ŻÓŁTY",
                                 "MIELONA",  "PSZENNA", "ŹRÓDLANA", "JABŁKOWY", "LIPOWY", "KISZONE",
                                 "WIŚNIOWY", "BIAŁY",   "ŚWIEŻY",   "DUŻY"};
    const QStringList wielkosci = {"0,5L", "1L", "250G", "500G", "1KG", "6 SZT", "10 SZT", "200ML"};
    QStringList pozycje = TForm3::goleTowary();
    for (int i = 0; i < pozycje.size(); ++i)
        pozycje[i] += nazwy[i % nazwy.size()] + ' ' + rodzaje[(i / nazwy.size()) % rodzaje.size()] +
                      ' ' + wielkosci[(i / (nazwy.size() * rodzaje.size())) % wielkosci.size()];
    return pozycje;
}

// One keystroke into `w` as a keyboard sends it (the text may hold a Polish letter), timed
// until `malowane` are painted.
double klawisz(QWidget* w, Qt::Key kod, const QString& tekst,
               const std::vector<QWidget*>& malowane) {
    QElapsedTimer t;
    t.start();
    QTest::sendKeyEvent(QTest::Click, w, kod, tekst, Qt::NoModifier);
    QCoreApplication::processEvents();
    for (QWidget* m : malowane)
        if (m->isVisible())
            m->repaint();
    return t.nsecsElapsed() / 1e6;
}

struct Zapytanie {
    QString tekst;
    bool skasuj = false; // Backspace back to an empty field afterwards
    int wDol = 0;        // then Down this many times
};

// Types `z` key by key into `pole`: the times of its keystrokes, deletions and moves.
std::vector<double> wpisz(QWidget* pole, const Zapytanie& z,
                          const std::vector<QWidget*>& malowane) {
    std::vector<double> czasy;
    for (QChar c : z.tekst) {
        const Qt::Key kod =
            c.toUpper().unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        czasy.push_back(klawisz(pole, kod, QString(c), malowane));
    }
    for (int i = 0; i < z.wDol; ++i)
        czasy.push_back(klawisz(pole, Qt::Key_Down, QString(), malowane));
    if (z.skasuj)
        for (int i = 0; i < z.tekst.size(); ++i)
            czasy.push_back(klawisz(pole, Qt::Key_Backspace, QString(), malowane));
    return czasy;
}

} // namespace

int main(int argc, char** argv) {
    QApplication aplikacja(argc, argv);
    int powtorzenia = 5;
    if (argc > 1)
        powtorzenia = std::max(1, QString::fromLocal8Bit(argv[1]).toInt());

    StanProgramu stan;
    SkryptDialogi dialogi;
    TForm3 okno(stan, dialogi);
    okno.ustawListeTowarow(towary());
    okno.show();
    okno.activateWindow();
    if (!QTest::qWaitForWindowActive(&okno)) {
        std::fprintf(stderr, "okno nie stało się aktywne\n");
        return 1;
    }
    okno.ui->rgDefinicja->setItemIndex(RodzajTowar);
    SzukajTowaru& szukanie = okno.szukanieTowaru();
    QLineEdit podloga(&okno);
    podloga.setGeometry(okno.ui->cbTowary->geometry());
    podloga.show();
    podloga.lower();

    const std::vector<Zapytanie> zapytania = {
        {"500", true},
        {"ser zolty", true},
        {"żółty", true, 30},
        {"a", true, 50},
        {"kiełbasa wędzony 1kg", true},
        {"3071", true},
    };
    std::vector<std::vector<double>> czasy(zapytania.size());
    std::vector<double> otwarcie, wszystkie, podlogi;
    for (int p = 0; p < powtorzenia; ++p) {
        for (std::size_t i = 0; i < zapytania.size(); ++i) {
            okno.ui->cbTowary->setFocus();
            QElapsedTimer t;
            t.start();
            QTest::keyClick(okno.ui->cbTowary, Qt::Key_F, Qt::ControlModifier);
            QCoreApplication::processEvents();
            szukanie.pole()->repaint();
            otwarcie.push_back(t.nsecsElapsed() / 1e6);
            if (!szukanie.otwarte()) {
                std::fprintf(stderr, "Ctrl+F nie otworzyło szukania\n");
                return 1;
            }
            const auto c =
                wpisz(szukanie.pole(), zapytania[i], {szukanie.pole(), szukanie.wyniki()});
            czasy[i].insert(czasy[i].end(), c.begin(), c.end());
            wszystkie.insert(wszystkie.end(), c.begin(), c.end());
            QTest::keyClick(szukanie.pole(), Qt::Key_Escape);

            podloga.setFocus();
            podloga.clear();
            const auto f = wpisz(&podloga, {zapytania[i].tekst, zapytania[i].skasuj}, {&podloga});
            podlogi.insert(podlogi.end(), f.begin(), f.end());
        }
    }
    // PLU 500 in three keystrokes and Enter.
    QTest::keyClick(okno.ui->cbTowary, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(szukanie.pole(), "500");
    QTest::keyClick(szukanie.pole(), Qt::Key_Return);
    const bool wybrany = okno.ui->cbTowary->currentIndex() == 499;

    std::printf("Szukanie towaru: %d nazw w oknie programu, %d powtórzeń, czas klawisza do "
                "odmalowania pola i listy\n",
                okno.ui->cbTowary->count(), powtorzenia);
    std::printf("%s %8s %12s %14s %16s\n",
                qPrintable(QStringLiteral("zapytanie").leftJustified(24)), "klawiszy", "mediana ms",
                "najdłuższy ms", "samo szukanie ms");
    for (std::size_t i = 0; i < zapytania.size(); ++i) {
        // Where the time goes: the index's answers alone, for each prefix of the query.
        std::vector<double> samo;
        const IndeksTowarow indeks(towary());
        for (int n = 1; n <= zapytania[i].tekst.size(); ++n) {
            QElapsedTimer t;
            t.start();
            indeks.szukaj(zapytania[i].tekst.left(n));
            samo.push_back(t.nsecsElapsed() / 1e6);
        }
        const QString nazwa = QLatin1Char('"') + zapytania[i].tekst + QLatin1Char('"');
        std::printf("%s %8zu %12.2f %14.2f %16.2f\n", qPrintable(nazwa.leftJustified(24)),
                    czasy[i].size() / std::size_t(powtorzenia), mediana(czasy[i]),
                    najwiekszy(czasy[i]), najwiekszy(samo));
    }
    QElapsedTimer t;
    t.start();
    const IndeksTowarow indeks(towary());
    const double budowa = t.nsecsElapsed() / 1e6;
    std::printf("Ctrl+F: pierwsze (z budową indeksu, sama budowa %.2f ms) %.2f ms, kolejne: "
                "mediana %.2f ms, najdłuższe %.2f ms\n",
                budowa, otwarcie.front(),
                mediana(std::vector<double>(otwarcie.begin() + 1, otwarcie.end())),
                najwiekszy(std::vector<double>(otwarcie.begin() + 1, otwarcie.end())));
    const double m = mediana(wszystkie);
    const double pm = mediana(podlogi);
    std::printf("podłoga (te same klawisze w zwykłym polu): mediana %.2f ms, iloraz median %.2f\n",
                pm, pm > 0 ? m / pm : 0.0);
    const double najdluzszy = std::max(najwiekszy(wszystkie), najwiekszy(otwarcie));
    const bool wCelu = najdluzszy <= kCelMs && wybrany;
    std::printf("najdłuższy klawisz %.2f ms (cel <= %.0f ms), PLU 500 wybrany: %s; cel: %s\n",
                najdluzszy, kCelMs, wybrany ? "tak" : "NIE", wCelu ? "spełniony" : "NIE spełniony");
    return wCelu ? 0 : 1;
}
