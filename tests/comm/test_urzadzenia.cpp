// The serial device picker: the port link it makes or refuses (a pseudo-terminal and plain
// files stand in for devices), the by-id names of the list, and the picker in the dialog.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "comm/UrzadzeniaSzeregowe.h"
#include "comm/okno/WyborPortu.h"
#include "core/okno/SkryptDialogi.h"

namespace {

// A pseudo-terminal's device, there for as long as the object lives.
struct Terminal {
    int master = posix_openpt(O_RDWR | O_NOCTTY);
    Terminal() {
        grantpt(master);
        unlockpt(master);
    }
    ~Terminal() { ::close(master); }
    QString sciezka() const { return QString::fromLocal8Bit(ptsname(master)); }
};

void utworz(const QString& sciezka, const QByteArray& tresc) {
    QFile f(sciezka);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(tresc) == tresc.size());
}

// A folder's entries as "name->link target", "name=content" or "name/", sorted, joined by ",".
QString stan(const QDir& d) {
    QStringList s;
    for (const QFileInfo& f :
         d.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)) {
        QFile plik(f.filePath());
        s << (f.isSymLink() ? f.fileName() + "->" + QFileInfo(f.symLinkTarget()).fileName()
              : f.isDir()   ? f.fileName() + "/"
              : plik.open(QIODevice::ReadOnly) ? f.fileName() + "=" + plik.readAll()
                                               : f.fileName());
    }
    s.sort();
    return s.join(',');
}

} // namespace

class TestUrzadzenia : public QObject {
    Q_OBJECT
private slots:
    // "stare" is a device an existing link leads to; the new device is "nowe".
    void dowiazanie_data() {
        QTest::addColumn<QString>("przed");
        QTest::addColumn<QString>("po");
        QTest::addColumn<QString>("powod"); // part of the refusal; empty when linked
        const auto wiersz = [](const char* nazwa, QString przed, QString po, QString powod) {
            QTest::newRow(nazwa) << przed << po << powod;
        };
        wiersz("no link yet", "", "com3->nowe", "");
        wiersz("link replaced", "com3->stare", "com3->nowe", "");
        wiersz("upper-case link", "COM3->stare", "COM3->nowe", "");
        wiersz("other port", "com30->stare", "com3->nowe,com30->stare", "");
        wiersz("file kept", "com3=moje", "com3=moje", "nie jest dowiązaniem");
        wiersz("folder kept", "Com3/", "Com3/", "nie jest dowiązaniem");
        wiersz("two spellings", "COM3->stare,com3->stare", "COM3->stare,com3->stare",
               "kilka plików");
        wiersz("device gone", "com3->stare,-nowe", "com3->stare", "nie istnieje");
    }
    void dowiazanie() {
        QFETCH(QString, przed);
        QFETCH(QString, po);
        QFETCH(QString, powod);
        QTemporaryDir dev, d;
        const QDir folder(d.path());
        utworz(dev.filePath("stare"), "");
        if (!przed.contains("-nowe"))
            utworz(dev.filePath("nowe"), "");
        for (const QString& w : przed.split(',', Qt::SkipEmptyParts)) {
            if (w.contains("->"))
                QVERIFY(QFile::link(dev.filePath("stare"), folder.filePath(w.section("->", 0, 0))));
            else if (w.contains('='))
                utworz(folder.filePath(w.section('=', 0, 0)), w.section('=', 1).toLatin1());
            else if (w.endsWith('/'))
                QVERIFY(folder.mkdir(w.chopped(1)));
        }
        const QString wynik = DowiazPort(d.path(), 3, dev.filePath("nowe"));
        QVERIFY2(powod.isEmpty() ? wynik.isEmpty() : wynik.contains(powod), qPrintable(wynik));
        QCOMPARE(stan(folder), po); // and no temporary link left behind
    }

    // A device only its owner may open, tried by a user who is neither its owner nor root.
    void bezUprawnienNazywaGrupeDialout() {
        QTemporaryDir d;
        QVERIFY(QFile::setPermissions(d.path(), QFileDevice::Permissions(0x7777)));
        const QString urzadzenie = d.filePath("ttyUSB0");
        utworz(urzadzenie, "");
        QVERIFY(QFile::setPermissions(urzadzenie, QFile::ReadOwner | QFile::WriteOwner));
        int rura[2];
        QVERIFY(::pipe(rura) == 0);
        if (fork() == 0) {
            if (geteuid() == 0 && setuid(65534) != 0)
                _exit(3);
            const QByteArray powod = DowiazPort(d.path(), 1, urzadzenie).toUtf8();
            _exit(::write(rura[1], powod.constData(), size_t(powod.size())) > 0 ? 0 : 1);
        }
        ::close(rura[1]);
        QByteArray odp(1024, '\0');
        odp.truncate(int(std::max<ssize_t>(0, ::read(rura[0], odp.data(), odp.size()))));
        ::close(rura[0]);
        int status = 0;
        ::wait(&status);
        if (WEXITSTATUS(status) == 3)
            QSKIP("cannot drop privileges here");
        QVERIFY2(odp.contains("dialout") && odp.contains(urzadzenie.toUtf8()), odp.constData());
        QVERIFY(!QFileInfo(d.filePath("com1")).isSymLink());
    }

    void nazwyById() {
        QTemporaryDir d;
        const auto p = [&](const char* n) { return d.filePath(QLatin1String(n)); };
        for (const char* n : {"ttyS0", "ttyUSB7", "ttyUSB1"})
            utworz(p(n), "");
        QVERIFY(QDir(d.path()).mkdir("by-id"));
        QVERIFY(QFile::link("../ttyUSB7", p("by-id/usb-FTDI_FT232R_A1-if00-port0")));
        const std::vector<UrzadzenieSzeregowe> lista = UrzadzeniaZNazwamiById(
            {{p("ttyS0"), ""}, {p("ttyUSB7"), "FT232R USB UART"}, {p("ttyUSB1"), "CP2102"}},
            p("by-id"));
        QCOMPARE(lista.size(), 3u);
        QCOMPARE(lista[0].sciezka, p("by-id/usb-FTDI_FT232R_A1-if00-port0"));
        QCOMPARE(lista[0].opis,
                 "usb-FTDI_FT232R_A1-if00-port0 (" + p("ttyUSB7") + ") - FT232R USB UART");
        QCOMPARE(lista[1].opis, p("ttyS0"));
        QCOMPARE(lista[2].opis, p("ttyUSB1") + " - CP2102");
    }

    // The list is made when it opens, a pick links the port shown (a pseudo-terminal's device),
    // and "Inne urządzenie..." goes through the open dialog, a refusal told in a box.
    void listaWOknie() {
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
            return std::vector<UrzadzenieSzeregowe>{{t.sciezka(), "terminal"}};
        });
        QCOMPARE(opis->text(), "Port 1: /dev/ttyS0");
        port->setValue(4);
        QCOMPARE(zapytania, 0);
        emit przycisk->menu()->aboutToShow();
        const QList<QAction*> pozycje = przycisk->menu()->actions();
        QCOMPARE(zapytania, 1);
        QCOMPARE(pozycje.first()->text(), "terminal");
        pozycje.first()->trigger();
        QCOMPARE(opis->text(), "Port 4: " + t.sciezka());

        dialogi.pliki.push_back(d.filePath("nie-ma"));
        pozycje.last()->trigger();
        QVERIFY(dialogi.ostatni().tekst.contains("nie istnieje"));
        QCOMPARE(dialogi.ostatni().ikona, Dialogi::Ikona::Blad);
        QVERIFY(dialogi.pokazane.at(0).plik.urzadzenia); // device files listed
        QCOMPARE(QFileInfo("com4").symLinkTarget(), t.sciezka());
        QDir::setCurrent(poprzedni);
    }
};

QTEST_MAIN(TestUrzadzenia)
#include "test_urzadzenia.moc"
