// The serial device picker: the port link it makes or refuses (a pseudo-terminal and plain
// files stand in for devices), the by-id names of the list, and the picker's list and line
// in the dialog.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include "comm/UrzadzeniaSzeregowe.h"
#include "comm/WyborPortu.h"
#include "core/SkryptDialogi.h"

namespace {

// A pseudo-terminal's device, open for as long as the object lives.
struct Terminal {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    Terminal() {
        grantpt(master);
        unlockpt(master);
    }
    ~Terminal() { ::close(master); }
    QString sciezka() const { return QString::fromLocal8Bit(ptsname(master)); }
};

void utworz(const QString& sciezka, const QByteArray& tresc = "plik") {
    QFile f(sciezka);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(tresc);
}

} // namespace

class TestUrzadzenia : public QObject {
    Q_OBJECT
private slots:
    void dowiazanie_data();
    void dowiazanie();
    void bezUprawnienNazywaGrupeDialout();
    void nazwyById();
    void listaWOknie();
};

void TestUrzadzenia::dowiazanie_data() {
    QTest::addColumn<QString>("przed"); // what the folder holds: "link NAME", "plik NAME"
    QTest::addColumn<bool>("brakUrzadzenia");
    QTest::addColumn<QString>("dowiazanie"); // the link that leads to the device after
    QTest::addColumn<QString>("powod");      // part of the refusal; empty when linked
    QTest::newRow("no link yet") << "" << false << "com3"
                                 << "";
    QTest::newRow("link replaced") << "link com3" << false << "com3"
                                   << "";
    QTest::newRow("upper-case link replaced") << "link COM3" << false << "COM3"
                                              << "";
    QTest::newRow("other port untouched") << "link com30" << false << "com3"
                                          << "";
    QTest::newRow("file kept") << "plik com3" << false << ""
                               << "nie jest dowiązaniem";
    QTest::newRow("folder kept") << "folder Com3" << false << ""
                                 << "nie jest dowiązaniem";
    QTest::newRow("two spellings") << "link com3,link COM3" << false << ""
                                   << "kilka plików";
    QTest::newRow("device gone") << "link com3" << true << ""
                                 << "nie istnieje";
}

void TestUrzadzenia::dowiazanie() {
    QFETCH(QString, przed);
    QFETCH(bool, brakUrzadzenia);
    QFETCH(QString, dowiazanie);
    QFETCH(QString, powod);
    QTemporaryDir d;
    const QDir folder(d.path());
    const QString stare = folder.filePath(QStringLiteral("stare"));
    utworz(stare);
    QStringList wpisy;
    for (const QString& w : przed.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString nazwa = w.section(QLatin1Char(' '), 1);
        wpisy << nazwa;
        if (w.startsWith(QLatin1String("link")))
            QVERIFY(QFile::link(stare, folder.filePath(nazwa)));
        else if (w.startsWith(QLatin1String("plik")))
            utworz(folder.filePath(nazwa), "moje");
        else
            QVERIFY(folder.mkdir(nazwa));
    }
    Terminal t;
    const QString urzadzenie =
        brakUrzadzenia ? folder.filePath(QStringLiteral("brak")) : t.sciezka();

    const QString wynik = DowiazPort(d.path(), 3, urzadzenie);
    QVERIFY2(powod.isEmpty() ? wynik.isEmpty() : wynik.contains(powod), qPrintable(wynik));
    QStringList oczekiwane = wpisy << QStringLiteral("stare");
    if (!dowiazanie.isEmpty() && !oczekiwane.contains(dowiazanie))
        oczekiwane << dowiazanie;
    oczekiwane.sort();
    // Nothing else: no temporary link is left behind, whatever the outcome.
    QCOMPARE(folder.entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                              QDir::Name),
             oczekiwane);
    if (!dowiazanie.isEmpty())
        QCOMPARE(QFileInfo(folder.filePath(dowiazanie)).symLinkTarget(), urzadzenie);
    for (const QString& w : przed.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString nazwa = w.section(QLatin1Char(' '), 1);
        if (nazwa != dowiazanie && w.startsWith(QLatin1String("link")))
            QCOMPARE(QFileInfo(folder.filePath(nazwa)).symLinkTarget(), stare);
        if (w.startsWith(QLatin1String("plik"))) {
            QFile f(folder.filePath(nazwa));
            QVERIFY(f.open(QIODevice::ReadOnly));
            QCOMPARE(f.readAll(), QByteArray("moje"));
        }
    }
}

// A device only its owner may open, tried by a user who is not its owner and not root.
void TestUrzadzenia::bezUprawnienNazywaGrupeDialout() {
    QTemporaryDir d;
    QVERIFY(QFile::setPermissions(d.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadOther | QFile::WriteOther |
                                                QFile::ExeOther));
    const QString urzadzenie = d.filePath(QStringLiteral("ttyUSB0"));
    utworz(urzadzenie);
    QVERIFY(QFile::setPermissions(urzadzenie, QFile::ReadOwner | QFile::WriteOwner));
    int rura[2];
    QVERIFY(::pipe(rura) == 0);
    const pid_t dziecko = fork();
    if (dziecko == 0) {
        ::close(rura[0]);
        if (geteuid() == 0 && setuid(65534) != 0)
            _exit(3);
        const QByteArray powod = DowiazPort(d.path(), 1, urzadzenie).toUtf8();
        (void)!::write(rura[1], powod.constData(), static_cast<size_t>(powod.size()));
        _exit(0);
    }
    ::close(rura[1]);
    QByteArray odp;
    char b[512];
    for (ssize_t n; (n = ::read(rura[0], b, sizeof b)) > 0;)
        odp.append(b, static_cast<int>(n));
    ::close(rura[0]);
    int status = 0;
    waitpid(dziecko, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 3)
        QSKIP("cannot drop privileges here");
    QVERIFY2(odp.contains("dialout") && odp.contains(urzadzenie.toUtf8()), odp.constData());
    QVERIFY(!QFileInfo(d.filePath(QStringLiteral("com1"))).isSymLink());
}

void TestUrzadzenia::nazwyById() {
    QTemporaryDir d;
    const QDir dev(d.path());
    for (const char* n : {"ttyS0", "ttyUSB7", "ttyACM0", "ttyUSB1"})
        utworz(dev.filePath(QLatin1String(n)));
    QVERIFY(dev.mkpath(QStringLiteral("by-id")));
    QVERIFY(QFile::link(QStringLiteral("../ttyUSB7"),
                        dev.filePath(QStringLiteral("by-id/usb-FTDI_FT232R_A1-if00-port0"))));
    QVERIFY(QFile::link(QStringLiteral("../ttyACM0"),
                        dev.filePath(QStringLiteral("by-id/usb-Kasa_CDC-if00"))));
    const auto p = [&](const char* n) { return dev.filePath(QLatin1String(n)); };
    const std::vector<UrzadzenieSzeregowe> lista =
        UrzadzeniaZNazwamiById({{p("ttyS0"), ""},
                                {p("ttyUSB7"), "FT232R USB UART"},
                                {p("ttyACM0"), ""},
                                {p("ttyUSB1"), "CP2102"}},
                               dev.filePath(QStringLiteral("by-id")));
    QStringList sciezki, opisy;
    for (const UrzadzenieSzeregowe& u : lista) {
        sciezki << u.sciezka;
        opisy << u.opis;
    }
    QCOMPARE(sciezki, QStringList({p("by-id/usb-FTDI_FT232R_A1-if00-port0"),
                                   p("by-id/usb-Kasa_CDC-if00"), p("ttyS0"), p("ttyUSB1")}));
    QCOMPARE(
        opisy.at(0),
        QStringLiteral("usb-FTDI_FT232R_A1-if00-port0 (%1) - FT232R USB UART").arg(p("ttyUSB7")));
    QCOMPARE(opisy.at(3), p("ttyUSB1") + QStringLiteral(" - CP2102"));
}

// The picker as the dialog has it: its list made on opening, a pick linking the port shown,
// and "Inne urządzenie..." going through the open dialog with a refusal told in a box.
void TestUrzadzenia::listaWOknie() {
    QTemporaryDir d;
    const QString poprzedni = QDir::currentPath();
    QVERIFY(QDir::setCurrent(d.path()));
    Terminal t;
    int zapytania = 0;
    QWidget okno;
    auto* port = new QSpinBox(&okno);
    port->setRange(1, 99);
    auto* przycisk = new QToolButton(&okno);
    auto* opis = new QLabel(&okno);
    opis->resize(400, 18);
    SkryptDialogi dialogi;
    WyborPortu wybor(port, przycisk, opis, dialogi, [&] {
        ++zapytania;
        return std::vector<UrzadzenieSzeregowe>{{t.sciezka(), QStringLiteral("terminal")}};
    });
    QCOMPARE(zapytania, 0); // nothing asked until the list opens
    QCOMPARE(opis->text(), QStringLiteral("Port 1: /dev/ttyS0"));

    port->setValue(4);
    emit przycisk->menu()->aboutToShow();
    QCOMPARE(zapytania, 1);
    const QList<QAction*> pozycje = przycisk->menu()->actions();
    QCOMPARE(pozycje.first()->text(), QStringLiteral("terminal"));
    pozycje.first()->trigger();
    QCOMPARE(QFileInfo(QStringLiteral("com4")).symLinkTarget(), t.sciezka());
    QCOMPARE(opis->text(), QStringLiteral("Port 4: ") + t.sciezka());

    dialogi.pliki.push_back(d.filePath(QStringLiteral("nie-ma")));
    pozycje.last()->trigger();
    QCOMPARE(dialogi.ostatni().ikona, Dialogi::Ikona::Blad);
    QVERIFY(dialogi.ostatni().tekst.contains(QStringLiteral("nie istnieje")));
    QCOMPARE(QFileInfo(QStringLiteral("com4")).symLinkTarget(), t.sciezka());
    QVERIFY(dialogi.nieoczekiwane.isEmpty());
    QDir::setCurrent(poprzedni);
}

QTEST_MAIN(TestUrzadzenia)
#include "test_urzadzenia.moc"
