// The busy cursor and the wait for work on a worker thread: the standard hourglass when there
// is no file, the animation stepping on its timer (also inside a local event loop), nesting,
// and a wait that keeps the windows alive but takes no input and passes back results and
// exceptions.

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest/qtestspontaneevent.h>
#include <QtTest>
#include <atomic>
#include <chrono>
#include <memory>
#include <sys/stat.h>
#include <thread>

#include "BudowaAni.h"
#include "core/BladProgramu.h"
#include "core/okno/CzekanieNaWatku.h"
#include "core/okno/Klepsydra.h"

using namespace budowa;
using namespace std::chrono_literals;

namespace {

// Frames told apart by their hotspots; steps of 1 to 2 jiffies so that a short wait sees many.
const QList<QPoint> kPunkty{{1, 1}, {10, 11}, {20, 21}};
const QList<quint32> kSekwencja{0, 1, 2, 1};

QString zapiszAni(const QTemporaryDir& katalog) {
    OpisAni o;
    for (int i = 0; i < 3; ++i)
        o.ikony.append(kursor(obrazProbny(qRgb(50 * i, 100, 200)), kPunkty[i]));
    o.rate = QList<quint32>{1, 2, 1, 2};
    o.seq = kSekwencja;
    const QString sciezka = katalog.filePath("hourglas.ani");
    QFile f(sciezka);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write(ani(o));
    return sciezka;
}

// The hotspot of the override cursor, or (-1, -1) when there is none.
QPoint punktKursora() {
    const QCursor* k = QGuiApplication::overrideCursor();
    return k ? k->hotSpot() : QPoint(-1, -1);
}

// Hotspots seen by a 2 ms timer during `ms` milliseconds of a local event loop, consecutive
// repeats dropped.
QList<QPoint> obserwujKursor(int ms, const std::function<void()>& wTrakcie = {}) {
    QList<QPoint> widziane;
    QTimer probka;
    QObject::connect(&probka, &QTimer::timeout, [&] {
        const QPoint p = punktKursora();
        if (widziane.isEmpty() || widziane.last() != p)
            widziane.append(p);
    });
    probka.start(2);
    if (wTrakcie) {
        wTrakcie();
    } else {
        QEventLoop petla;
        QTimer::singleShot(ms, &petla, &QEventLoop::quit);
        petla.exec();
    }
    return widziane;
}

// Checks that the hotspots seen follow the sequence's order cyclically.
void sprawdzKolejnosc(const QList<QPoint>& widziane, int minimum) {
    QVERIFY2(widziane.size() >= minimum, qPrintable(QString::number(widziane.size())));
    int krok = int(kSekwencja.indexOf(quint32(kPunkty.indexOf(widziane[0]))));
    QVERIFY(krok >= 0);
    for (int i = 1; i < widziane.size(); ++i) {
        // The timer may miss a short step, never go back or jump over a long one.
        const int nastepny = (krok + 1) % 4;
        const int poNim = (krok + 2) % 4;
        const QPoint a = kPunkty[kSekwencja[nastepny]];
        const QPoint b = kPunkty[kSekwencja[poNim]];
        if (widziane[i] == a)
            krok = nastepny;
        else if (widziane[i] == b)
            krok = poNim;
        else
            QFAIL(qPrintable(QString("step %1: hotspot %2,%3 out of order")
                                 .arg(i)
                                 .arg(widziane[i].x())
                                 .arg(widziane[i].y())));
    }
}

class LicznikMalowania : public QWidget {
public:
    int malowania = 0;
    int zamkniecia = 0;

protected:
    void paintEvent(QPaintEvent*) override { ++malowania; }
    void closeEvent(QCloseEvent* e) override {
        ++zamkniecia;
        e->ignore();
    }
};

void uspij(std::chrono::milliseconds ile) {
    std::this_thread::sleep_for(ile);
}

} // namespace

class TestKlepsydra : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void brakPlikuToStandardowaKlepsydra();
    void zagniezdzaniePokazywania();
    void strazZakresuPrzyWyjatku();
    void animacjaWLokalnejPetli();
    void zaladowanieWTrakcieZmieniaKursor();
    void zniszczeniePrzywracaKursor();

    void wynikZWatku();
    void petlaObslugujeZegaryIMalowanie();
    void wejsciePodczasCzekaniaPolkniete();
    void zamkniecieOknaOdrzucone();
    void wyjatekPrzekazanyPoPrzywroceniuKursora();
    void czekanieZagniezdzone();
    void animacjaPodczasCzekania();
    void zwolnienieWcisnietegoPrzyciskuPrzechodzi();
    void wyjscieAplikacjiPodczasCzekania(); // last: leaves the application quitting
};

void TestKlepsydra::init() {
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestKlepsydra::cleanup() {
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}

void TestKlepsydra::brakPlikuToStandardowaKlepsydra() {
    QTemporaryDir katalog;
    Klepsydra k;
    QVERIFY(!k.zaladuj(katalog.filePath("hourglas.ani")));
    QVERIFY(!k.animowany());
    // Nor is a FIFO, which no one writes to: it must not keep the window from appearing.
    QCOMPARE(::mkfifo(QFile::encodeName(katalog.filePath("hourglas.ani")).constData(), 0600), 0);
    QVERIFY(!k.zaladuj(katalog.filePath("hourglas.ani")));
    // A damaged file is no different from a missing one.
    QFile f(katalog.filePath("zly.ani"));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("RIFF\x10\0\0\0ACONjunk");
    f.close();
    QVERIFY(!k.zaladuj(f.fileName()));
    k.pokaz();
    QVERIFY(QGuiApplication::overrideCursor());
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    k.ukryj();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestKlepsydra::zagniezdzaniePokazywania() {
    Klepsydra k;
    k.pokaz();
    k.pokaz();
    k.ukryj();
    QVERIFY(k.widoczny());
    QVERIFY(QGuiApplication::overrideCursor());
    k.ukryj();
    QVERIFY(!k.widoczny());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // One hide too many is harmless and does not eat a later show.
    k.ukryj();
    k.pokaz();
    QVERIFY(QGuiApplication::overrideCursor());
    k.ukryj();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // Someone else's override cursor underneath survives ours.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    k.pokaz();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    k.ukryj();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
}

void TestKlepsydra::strazZakresuPrzyWyjatku() {
    Klepsydra k;
    try {
        KursorKlepsydry straz(k);
        KursorKlepsydry wewnetrzna(k);
        QVERIFY(QGuiApplication::overrideCursor());
        throw BladProgramu("przerwane");
    } catch (const BladProgramu& b) {
        QCOMPARE(b.komunikat(), QString("przerwane"));
    }
    QVERIFY(!k.widoczny());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestKlepsydra::animacjaWLokalnejPetli() {
    QTemporaryDir katalog;
    Klepsydra k;
    QVERIFY(k.zaladuj(zapiszAni(katalog)));
    QVERIFY(k.animowany());
    k.pokaz();
    QCOMPARE(punktKursora(), kPunkty[0]);
    QCOMPARE(QGuiApplication::overrideCursor()->pixmap().size(), QSize(32, 32));
    // One turn is 6 jiffies (100 ms): 400 ms show about 16 changes.
    QElapsedTimer zegar;
    zegar.start();
    const QList<QPoint> widziane = obserwujKursor(400);
    sprawdzKolejnosc(widziane, 8);
    k.ukryj();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    // Hidden, it stands still: no timer changes a cursor that is not ours.
    QGuiApplication::setOverrideCursor(Qt::CrossCursor);
    QTest::qWait(100);
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
    QGuiApplication::restoreOverrideCursor();
}

void TestKlepsydra::zaladowanieWTrakcieZmieniaKursor() {
    QTemporaryDir katalog;
    Klepsydra k;
    k.pokaz();
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QVERIFY(k.zaladuj(zapiszAni(katalog)));
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::BitmapCursor);
    QCOMPARE(punktKursora(), kPunkty[0]);
    QVERIFY(!k.zaladuj(katalog.filePath("brak.ani")));
    QCOMPARE(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    k.ukryj();
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestKlepsydra::zniszczeniePrzywracaKursor() {
    {
        Klepsydra k;
        k.pokaz();
        QVERIFY(QGuiApplication::overrideCursor());
    }
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestKlepsydra::wynikZWatku() {
    Klepsydra k;
    std::thread::id watekPracy;
    bool kursorWidoczny = false;
    QTimer::singleShot(20, [&] { kursorWidoczny = QGuiApplication::overrideCursor() != nullptr; });
    const std::uint8_t wynik = wykonajWTle(k, nullptr, [&]() -> std::uint8_t {
        watekPracy = std::this_thread::get_id();
        uspij(100ms);
        return 42;
    });
    QCOMPARE(wynik, std::uint8_t(42));
    QVERIFY(watekPracy != std::thread::id());
    QVERIFY(watekPracy != std::this_thread::get_id());
    QVERIFY(kursorWidoczny);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    QVERIFY(!k.widoczny());

    // Work without a result, a move-only result, and work done before the wait even starts.
    int zrobione = 0;
    wykonajWTle(k, nullptr, [&] { zrobione = 7; });
    QCOMPARE(zrobione, 7);
    auto wskaznik = wykonajWTle(k, nullptr, [] { return std::make_unique<QString>("kasa"); });
    QCOMPARE(*wskaznik, QString("kasa"));
    QElapsedTimer zegar;
    zegar.start();
    for (int i = 0; i < 50; ++i)
        QCOMPARE(wykonajWTle(k, nullptr, [i] { return i; }), i);
    QVERIFY(zegar.elapsed() < 5000);
}

void TestKlepsydra::petlaObslugujeZegaryIMalowanie() {
    Klepsydra k;
    LicznikMalowania okno;
    okno.resize(100, 100);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    QTest::qWait(20);
    okno.malowania = 0;
    int tykniecia = 0;
    QTimer zegar;
    QObject::connect(&zegar, &QTimer::timeout, [&] {
        ++tykniecia;
        okno.update();
    });
    zegar.start(10);
    wykonajWTle(k, &okno, [] { uspij(300ms); });
    zegar.stop();
    QVERIFY2(tykniecia >= 10, qPrintable(QString::number(tykniecia)));
    // The window passed in was repainted at once, and later on every update.
    QVERIFY2(okno.malowania >= 5, qPrintable(QString::number(okno.malowania)));
}

void TestKlepsydra::wejsciePodczasCzekaniaPolkniete() {
    Klepsydra k;
    QWidget okno;
    auto* przycisk = new QPushButton("Odczyt z kasy", &okno);
    auto* pole = new QLineEdit(&okno);
    pole->move(0, 40);
    okno.resize(200, 100);
    okno.show();
    QVERIFY(QTest::qWaitForWindowExposed(&okno));
    int klikniecia = 0;
    QObject::connect(przycisk, &QPushButton::clicked, [&] { ++klikniecia; });

    // Outside the wait the same input arrives: the test can tell.
    QTest::mouseClick(przycisk, Qt::LeftButton);
    QCOMPARE(klikniecia, 1);

    bool wyslane = false;
    QTimer::singleShot(50, [&] {
        QTest::mouseClick(przycisk, Qt::LeftButton);
        QTest::mouseDClick(przycisk, Qt::LeftButton);
        pole->setFocus();
        QTest::keyClicks(pole, "12");
        QTest::keyClick(przycisk, Qt::Key_Space);
        wyslane = true;
    });
    wykonajWTle(k, &okno, [] { uspij(250ms); });
    QVERIFY(wyslane);
    QCOMPARE(klikniecia, 1);
    QCOMPARE(pole->text(), QString());

    // Input is taken again afterwards.
    QTest::mouseClick(przycisk, Qt::LeftButton);
    QCOMPARE(klikniecia, 2);
    pole->setFocus();
    QTest::keyClicks(pole, "3");
    QCOMPARE(pole->text(), QString("3"));
}

void TestKlepsydra::zamkniecieOknaOdrzucone() {
    Klepsydra k;
    LicznikMalowania okno;
    okno.show();
    auto zamknijJakUzytkownik = [&] {
        QCloseEvent e;
        QSpontaneKeyEvent::setSpontaneous(&e);
        QApplication::instance()->notify(&okno, &e);
    };
    zamknijJakUzytkownik();
    QCOMPARE(okno.zamkniecia, 1);
    int wPetli = -1;
    QTimer::singleShot(30, [&] {
        zamknijJakUzytkownik();
        wPetli = okno.zamkniecia;
    });
    wykonajWTle(k, &okno, [] { uspij(150ms); });
    QCOMPARE(wPetli, 1);
    // Closing works again afterwards.
    zamknijJakUzytkownik();
    QCOMPARE(okno.zamkniecia, 2);
}

void TestKlepsydra::wyjatekPrzekazanyPoPrzywroceniuKursora() {
    Klepsydra k;
    QPushButton przycisk;
    przycisk.show();
    int klikniecia = 0;
    QObject::connect(&przycisk, &QPushButton::clicked, [&] { ++klikniecia; });
    std::thread::id watekWyjatku;
    bool zlapany = false;
    try {
        wykonajWTle(k, &przycisk, [&]() -> std::uint8_t {
            watekWyjatku = std::this_thread::get_id();
            uspij(30ms);
            throw BladProgramu("Nie można otworzyć pliku \"klawisz.txt\"");
        });
    } catch (const BladProgramu& b) {
        zlapany = true;
        QCOMPARE(b.komunikat(), QString("Nie można otworzyć pliku \"klawisz.txt\""));
        QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
        QVERIFY(!k.widoczny());
    }
    QVERIFY(zlapany);
    QVERIFY(watekWyjatku != std::this_thread::get_id());
    // Input is no longer blocked after the failure.
    QTest::mouseClick(&przycisk, Qt::LeftButton);
    QCOMPARE(klikniecia, 1);
    // Standard exceptions pass just as well.
    QVERIFY_THROWS_EXCEPTION(std::out_of_range,
                             wykonajWTle(k, nullptr, [] { return std::string().at(3); }));
}

void TestKlepsydra::czekanieZagniezdzone() {
    Klepsydra k;
    std::atomic<int> wynikWewnetrzny{-1};
    bool kursorPodczasWewnetrznego = false;
    QTimer::singleShot(40, [&] {
        wynikWewnetrzny = wykonajWTle(k, nullptr, [&] {
            uspij(60ms);
            return 7;
        });
        kursorPodczasWewnetrznego = k.widoczny();
    });
    QElapsedTimer zegar;
    zegar.start();
    const int zewnetrzny = wykonajWTle(k, nullptr, [] {
        uspij(250ms);
        return 5;
    });
    QCOMPARE(zewnetrzny, 5);
    QCOMPARE(wynikWewnetrzny.load(), 7);
    QVERIFY(kursorPodczasWewnetrznego); // the outer wait still showed it after the inner one
    QVERIFY(!k.widoczny());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);

    // The inner work outlasting the outer one: the outer call returns when both are done.
    wynikWewnetrzny = -1;
    QTimer::singleShot(20, [&] {
        wynikWewnetrzny = wykonajWTle(k, nullptr, [&] {
            uspij(200ms);
            return 8;
        });
    });
    QCOMPARE(wykonajWTle(k, nullptr,
                         [] {
                             uspij(60ms);
                             return 6;
                         }),
             6);
    QCOMPARE(wynikWewnetrzny.load(), 8);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

void TestKlepsydra::animacjaPodczasCzekania() {
    QTemporaryDir katalog;
    Klepsydra k;
    QVERIFY(k.zaladuj(zapiszAni(katalog)));
    const QList<QPoint> widziane =
        obserwujKursor(0, [&] { wykonajWTle(k, nullptr, [] { uspij(400ms); }); });
    // The first sample may see no cursor yet and the last one none any more.
    QList<QPoint> wTrakcie = widziane;
    wTrakcie.removeAll(QPoint(-1, -1));
    sprawdzKolejnosc(wTrakcie, 8);
}

void TestKlepsydra::zwolnienieWcisnietegoPrzyciskuPrzechodzi() {
    // A handler run from a mouse press starts the wait; the button is let go meanwhile. Its
    // release must arrive, or the pressed widget would stay pressed.
    Klepsydra k;
    QPushButton przycisk("Edycja");
    przycisk.show();
    QVERIFY(QTest::qWaitForWindowExposed(&przycisk));
    bool zwolniony = false;
    QObject::connect(&przycisk, &QPushButton::pressed, [&] {
        QTimer::singleShot(30, [&] { QTest::mouseRelease(&przycisk, Qt::LeftButton); });
        wykonajWTle(k, &przycisk, [] { uspij(120ms); });
    });
    QObject::connect(&przycisk, &QPushButton::released, [&] { zwolniony = true; });
    QTest::mousePress(&przycisk, Qt::LeftButton);
    QVERIFY(zwolniony);
    QVERIFY(!przycisk.isDown());
}

void TestKlepsydra::wyjscieAplikacjiPodczasCzekania() {
    // The application told to quit ends every local loop at once; the wait still lasts until
    // the work is done (its data lives on the caller's stack) and gives its result.
    Klepsydra k;
    QTimer::singleShot(20, [] { QCoreApplication::exit(0); });
    QElapsedTimer zegar;
    zegar.start();
    const int wynik = wykonajWTle(k, nullptr, [] {
        uspij(200ms);
        return 3;
    });
    QCOMPARE(wynik, 3);
    QVERIFY(zegar.elapsed() >= 190);
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

QTEST_MAIN(TestKlepsydra)
#include "test_klepsydra.moc"
