// Files the key-definition library writes: the line-file writer that the communication dialog
// uses for "in" and KONFIG.TXT, and whole output files. Both must leave either the complete new
// file or the old one, never a half file or a stray temporary.

#include "PomocKavrel.h"
#include "link/kavrel/ZapisPliku.h"

#include <QtTest>

#include <cerrno>
#include <csignal>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using namespace pixo::kavrel;
using pomoc::czytaj;
using pomoc::pliki;
using pomoc::zapisz;

namespace {

// Makes every write beyond `bajtow` bytes of one file fail, as a full disk would.
class LimitRozmiaru {
public:
    explicit LimitRozmiaru(rlim_t bajtow) {
        ::getrlimit(RLIMIT_FSIZE, &stary_);
        poprzedni_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit nowy = stary_;
        nowy.rlim_cur = bajtow;
        ::setrlimit(RLIMIT_FSIZE, &nowy);
    }
    ~LimitRozmiaru() {
        ::setrlimit(RLIMIT_FSIZE, &stary_);
        std::signal(SIGXFSZ, poprzedni_);
    }

private:
    rlimit stary_{};
    void (*poprzedni_)(int) = nullptr;
};

// A 256-byte buffer as the program passes it.
struct Bufor {
    explicit Bufor(const QByteArray& tekst) {
        std::memcpy(b, tekst.constData(),
                    static_cast<std::size_t>(qMin<qsizetype>(tekst.size(), 255)));
    }
    char b[256] = {};
};

// What stands where a file is written, for the test of targets that are not regular files.
enum Wezel { Fifo, DowiazanieDoFifo, Urzadzenie, Gniazdo, ObceDowiazanie, WlasneDowiazanie };

unsigned char otworz(std::int32_t& u, const char* nazwa) {
    return otworzPlikLiniowy(&u, Bufor(nazwa).b, 1);
}
unsigned char linia(std::int32_t u, const QByteArray& tekst) {
    return zapiszLiniePliku(u, Bufor(tekst).b);
}

} // namespace

class TestZapis : public QObject {
    Q_OBJECT

private slots:
    void plikLiniowyDokladneBajty() {
        pomoc::FolderRoboczy f;
        std::int32_t u = 0;
        QVERIFY(otworz(u, "in"));
        QVERIFY(u >= 1);
        QVERIFY(linia(u, "#01"));
        QVERIFY(linia(u, "#"));
        QVERIFY(linia(u, "#"));
        QVERIFY(linia(u, ""));
        QVERIFY(linia(u, QByteArray(255, 'z')));
        QVERIFY(zamknijPlikLiniowy(&u));
        QCOMPARE(u, 0);
        QCOMPARE(czytaj("in"), "#01\r\n#\r\n#\r\n\r\n" + QByteArray(255, 'z') + "\r\n");
        QCOMPARE(pliki(), QStringList{"in"});
    }

    void publikacjaDopieroPrzyZamknieciu() {
        pomoc::FolderRoboczy f;
        zapisz("KONFIG.TXT", "$05\tcom2:9600:mux0:1\t5\r\n");
        std::int32_t u = 0;
        QVERIFY(otworz(u, "KONFIG.TXT"));
        QVERIFY(linia(u, "$1\tcom12:57600:mux0:1\t1000"));
        // Until the close the reader still finds the whole old file.
        QCOMPARE(czytaj("KONFIG.TXT"), QByteArray("$05\tcom2:9600:mux0:1\t5\r\n"));
        QVERIFY(zamknijPlikLiniowy(&u));
        QCOMPARE(czytaj("KONFIG.TXT"), QByteArray("$1\tcom12:57600:mux0:1\t1000\r\n"));
        QCOMPARE(pliki(), QStringList{"KONFIG.TXT"});
    }

    void istniejacyWariantNazwyJestZastepowany() {
        pomoc::FolderRoboczy f;
        zapisz("konfig.txt", "stary\r\n");
        std::int32_t u = 0;
        QVERIFY(otworz(u, "KONFIG.TXT"));
        QVERIFY(linia(u, "$1\tcom1:9600:mux0:1\t5"));
        QVERIFY(zamknijPlikLiniowy(&u));
        // One file, as the program sees it: no stale konfig.txt beside a new KONFIG.TXT.
        QCOMPARE(pliki(), QStringList{"konfig.txt"});
        QCOMPARE(czytaj("konfig.txt"), QByteArray("$1\tcom1:9600:mux0:1\t5\r\n"));
    }

    void nieudanaLiniaNiePublikujePolowy_data() {
        QTest::addColumn<int>("przypadek");
        QTest::addColumn<int>("blad"); // the system error the failure gives as its reason
        QTest::newRow("line without zero byte") << 0 << 0;
        QTest::newRow("line with CR LF inside") << 1 << 0;
        QTest::newRow("null line") << 2 << 0;
        QTest::newRow("disk full") << 3 << EFBIG;
    }
    void nieudanaLiniaNiePublikujePolowy() {
        QFETCH(int, przypadek);
        QFETCH(int, blad);
        pomoc::FolderRoboczy f;
        zapisz("in", "#07\r\n#\r\n#\r\n");
        std::int32_t u = 0;
        QVERIFY(otworz(u, "in"));
        QVERIFY(linia(u, "#1"));
        switch (przypadek) {
        case 0: {
            pomoc::BuforNaGranicy b; // 256 bytes, no zero, then an unreadable page
            QCOMPARE(zapiszLiniePliku(u, b.dane()), 0);
            break;
        }
        case 1:
            QCOMPARE(linia(u, "#\r\n#"), 0);
            break;
        case 2:
            QCOMPARE(zapiszLiniePliku(u, nullptr), 0);
            break;
        case 3: {
            LimitRozmiaru limit(6); // "#1\r\n" fits, the next line does not
            QCOMPARE(linia(u, "#2345"), 0);
            break;
        }
        }
        QCOMPARE(bladSystemuPlikuLiniowego(), blad);
        // Once a line failed, later lines are refused as well: the file can no longer be whole.
        QCOMPARE(linia(u, "#"), 0);
        QCOMPARE(zamknijPlikLiniowy(&u), 0);
        QCOMPARE(bladSystemuPlikuLiniowego(), blad);
        QCOMPARE(u, 0);
        QCOMPARE(czytaj("in"), QByteArray("#07\r\n#\r\n#\r\n"));
        QCOMPARE(pliki(), QStringList{"in"});
    }

    void zleUchwytyIArgumenty() {
        pomoc::FolderRoboczy f;
        for (std::int32_t zly : {0, -1, MaksPlikowLiniowych + 1, 1000000, INT32_MIN}) {
            QCOMPARE(zapiszLiniePliku(zly, Bufor("x").b), 0);
            std::int32_t u = zly;
            QCOMPARE(zamknijPlikLiniowy(&u), 0);
        }
        QCOMPARE(zamknijPlikLiniowy(nullptr), 0);

        std::int32_t u = 77;
        QCOMPARE(otworzPlikLiniowy(nullptr, Bufor("in").b, 1), 0);
        QCOMPARE(otworzPlikLiniowy(&u, Bufor("in").b, 0), 0); // only mode 1 exists
        QCOMPARE(otworzPlikLiniowy(&u, Bufor("in").b, 2), 0);
        QCOMPARE(otworzPlikLiniowy(&u, Bufor("").b, 1), 0);
        QCOMPARE(otworzPlikLiniowy(&u, nullptr, 1), 0);
        QCOMPARE(bladSystemuPlikuLiniowego(), 0); // refused for its arguments: no system error
        QCOMPARE(otworzPlikLiniowy(&u, Bufor("brak/folderu/in").b, 1), 0);
        QCOMPARE(bladSystemuPlikuLiniowego(), ENOENT);
        QVERIFY(QDir().mkdir("Folder"));
        QCOMPARE(otworzPlikLiniowy(&u, Bufor("folder").b, 1), 0);
        QCOMPARE(bladSystemuPlikuLiniowego(), EISDIR);
        pomoc::BuforNaGranicy b;
        QCOMPARE(otworzPlikLiniowy(&u, b.dane(), 1), 0);
        QCOMPARE(u, 77); // a failed open leaves the handle alone
        QCOMPARE(pliki(), QStringList{});
        QVERIFY(QDir().rmdir("Folder"));

        // A closed handle is dead: no write, no second close.
        QVERIFY(otworz(u, "in"));
        std::int32_t kopia = u;
        QVERIFY(zamknijPlikLiniowy(&u));
        QCOMPARE(linia(kopia, "#"), 0);
        QCOMPARE(zamknijPlikLiniowy(&kopia), 0);
        QCOMPARE(czytaj("in"), QByteArray());
        // Not even once a later open has taken its place: nothing goes into the other file.
        QVERIFY(otworz(u, "KONFIG.TXT"));
        QCOMPARE(linia(kopia, "obcy"), 0);
        QVERIFY(linia(u, "$01"));
        QCOMPARE(zamknijPlikLiniowy(&kopia), 0);
        QVERIFY(zamknijPlikLiniowy(&u));
        QCOMPARE(czytaj("KONFIG.TXT"), QByteArray("$01\r\n"));
    }

    void pelnaTabelaUchwytow() {
        pomoc::FolderRoboczy f;
        std::vector<std::int32_t> u(MaksPlikowLiniowych);
        for (int i = 0; i < MaksPlikowLiniowych; ++i)
            QVERIFY(otworz(u[static_cast<std::size_t>(i)], qPrintable(QString("p%1").arg(i))));
        std::int32_t jeszcze = 0;
        QCOMPARE(otworz(jeszcze, "nadmiar"), 0);
        QCOMPARE(bladSystemuPlikuLiniowego(), EMFILE);
        std::sort(u.begin(), u.end());
        QVERIFY(std::adjacent_find(u.begin(), u.end()) == u.end()); // all distinct
        for (std::int32_t& h : u)
            QVERIFY(zamknijPlikLiniowy(&h));
        QCOMPARE(pliki().size(), MaksPlikowLiniowych); // the refused one left nothing
        QVERIFY(otworz(jeszcze, "nadmiar"));           // slots are reused
        QVERIFY(zamknijPlikLiniowy(&jeszcze));
    }

    void wieleWatkowNaraz() {
        pomoc::FolderRoboczy f;
        std::atomic<int> bledy{0};
        std::vector<std::thread> watki;
        for (int w = 0; w < 8; ++w) {
            watki.emplace_back([w, &bledy] {
                for (int n = 0; n < 25; ++n) {
                    std::int32_t u = 0;
                    const QByteArray nazwa = "w" + QByteArray::number(w);
                    if (!otworz(u, nazwa.constData())) {
                        ++bledy;
                        continue;
                    }
                    for (int l = 0; l < 20; ++l)
                        if (!linia(u, nazwa + "-" + QByteArray::number(n) + "-" +
                                          QByteArray::number(l)))
                            ++bledy;
                    if (!zamknijPlikLiniowy(&u))
                        ++bledy;
                }
            });
        }
        for (auto& t : watki)
            t.join();
        QCOMPARE(bledy.load(), 0);
        for (int w = 0; w < 8; ++w) {
            QByteArray oczekiwany;
            for (int l = 0; l < 20; ++l)
                oczekiwany += "w" + QByteArray::number(w) + "-24-" + QByteArray::number(l) + "\r\n";
            QCOMPARE(czytaj("w" + QString::number(w)), oczekiwany);
        }
        QCOMPARE(pliki().size(), 8);
    }

    // ---- whole output files ----

    void calyPlikZastepujeStary() {
        pomoc::FolderRoboczy f;
        zapisz("towary.txt", "stare");
        QCOMPARE(zapiszCalyPlik("towary.txt", "#1\r\n#\r\n#\r\n$1\tA\r\n"), 0);
        QCOMPARE(czytaj("towary.txt"), QByteArray("#1\r\n#\r\n#\r\n$1\tA\r\n"));
        QCOMPARE(pliki(), QStringList{"towary.txt"});
        // A plain file under the user's umask (a private 0600 temporary would lock others out).
        const mode_t stara = ::umask(022);
        QCOMPARE(zapiszCalyPlik("plat.txt", "x"), 0);
        ::umask(stara);
        QVERIFY(QFile::permissions("plat.txt") & QFile::ReadOther);
    }

    // A linked KONFIG.TXT stays a link and the file it leads to keeps its permissions; the
    // process-wide umask is never touched (worker threads run beside the writer).
    void dowiazanieIUprawnieniaZostaja() {
        pomoc::FolderRoboczy f;
        QVERIFY(QDir().mkdir("wspolne"));
        zapisz("wspolne/konfig", "stary");
        QVERIFY(QFile::setPermissions("wspolne/konfig",
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
        QVERIFY(QFile::link("wspolne/konfig", "KONFIG.TXT"));
        const mode_t maska = ::umask(027);
        std::int32_t u = 0;
        QCOMPARE(int(otworzPlikLiniowy(&u, pomoc::Bufor("KONFIG.TXT").b, 1)), 1);
        QCOMPARE(int(zapiszLiniePliku(u, pomoc::Bufor("$01").b)), 1);
        QCOMPARE(int(zamknijPlikLiniowy(&u)), 1);
        QCOMPARE(::umask(maska), mode_t(027));
        QVERIFY(QFileInfo("KONFIG.TXT").isSymLink());
        QCOMPARE(czytaj("wspolne/konfig"), QByteArray("$01\r\n"));
        struct stat st {};
        QCOMPARE(::stat("wspolne/konfig", &st), 0);
        QCOMPARE(st.st_mode & 0777, mode_t(0640));
        QCOMPARE(QDir("wspolne").entryList(QDir::Files | QDir::Hidden), QStringList{"konfig"});
    }

    // Only a regular file is replaced: a device node or FIFO (also behind a link) and a socket
    // stay what they were, and so does the file behind a link another user planted in a shared
    // sticky folder; the caller's own link there is followed, as the kernel would follow it.
    void celInnyNizZwyklyPlik_data() {
        QTest::addColumn<int>("wezel");
        QTest::addColumn<int>("powod");
        QTest::newRow("fifo") << int(Fifo) << pixo::kNieZwyklyPlik;
        QTest::newRow("dowiazanie do fifo") << int(DowiazanieDoFifo) << pixo::kNieZwyklyPlik;
        QTest::newRow("dowiazanie do urzadzenia") << int(Urzadzenie) << pixo::kNieZwyklyPlik;
        QTest::newRow("gniazdo") << int(Gniazdo) << pixo::kNieZwyklyPlik;
        QTest::newRow("obce dowiazanie we wspolnym")
            << int(ObceDowiazanie) << pixo::kObceDowiazanie;
        QTest::newRow("wlasne dowiazanie we wspolnym") << int(WlasneDowiazanie) << 0;
    }
    void celInnyNizZwyklyPlik() {
        QFETCH(int, wezel);
        QFETCH(int, powod);
        pomoc::FolderRoboczy f;
        QVERIFY(QDir().mkdir("wspolne"));
        QCOMPARE(::chmod("wspolne", 01777), 0);
        zapisz("ofiara", "stare");
        const char* cel = wezel >= ObceDowiazanie ? "wspolne/cel" : "cel";
        switch (wezel) {
        case Fifo:
            QCOMPARE(::mkfifo(cel, 0600), 0);
            break;
        case DowiazanieDoFifo:
        case Urzadzenie:
            if (wezel == Urzadzenie && ::mknod("wspolne/w", S_IFCHR | 0666, makedev(1, 3)) != 0)
                QSKIP("mknod is not allowed here");
            if (wezel == DowiazanieDoFifo)
                QCOMPARE(::mkfifo("wspolne/w", 0600), 0);
            QCOMPARE(::symlink("wspolne/w", cel), 0);
            break;
        case Gniazdo: {
            const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un a{};
            a.sun_family = AF_UNIX;
            std::strcpy(a.sun_path, cel);
            QCOMPARE(::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
            ::close(s);
            break;
        }
        default:
            QCOMPARE(::symlink("../ofiara", cel), 0);
            if (wezel == ObceDowiazanie && ::lchown(cel, 4321, 4321) != 0)
                QSKIP("planting another user's link needs root");
        }
        struct stat przed {
        }, po{};
        QCOMPARE(::lstat(cel, &przed), 0);
        PlikTymczasowy p;
        QCOMPARE(p.utworz(cel) && p.zapisz("nowe") && p.opublikuj(), powod == 0);
        QCOMPARE(p.bladSystemu(), powod);
        QCOMPARE(::lstat(cel, &po), 0);
        QCOMPARE(po.st_mode & S_IFMT, przed.st_mode & S_IFMT);
        QCOMPARE(czytaj("ofiara"), QByteArray(powod ? "stare" : "nowe"));
        QCOMPARE(zapiszCalyPlik(cel, "x"), std::uint8_t(powod ? 8 : 0));
        QCOMPARE(pliki().filter(".tmp") + pliki("wspolne").filter(".tmp"), QStringList{});
    }

    void calyPlikBledy() {
        pomoc::FolderRoboczy f;
        QCOMPARE(zapiszCalyPlik("brak/towary.txt", "x"), 8);
        QCOMPARE(zapiszCalyPlik("", "x"), 8);
        zapisz("towary.txt", "stare");
        {
            LimitRozmiaru limit(100);
            QCOMPARE(zapiszCalyPlik("towary.txt", std::string(5000, 'x')), 17);
        }
        QCOMPARE(czytaj("towary.txt"), QByteArray("stare"));
        QCOMPARE(pliki(), QStringList{"towary.txt"});
    }

    void pozostalosciKilkuPlikowNaRaz() {
        // What killed writers left of two files goes with one look at their folder; a living
        // writer's temporary stays, and so does another file's, also for a writer told that
        // the look was taken.
        pomoc::FolderRoboczy f;
        for (const char* n : {".a.bmp.zabity01.tmp", ".a.bm0.zabity02.tmp", ".a.bmp.zyjacy01.tmp",
                              ".b.bmp.zabity03.tmp"})
            zapisz(n, "x");
        QFile zyjacy(".a.bmp.zyjacy01.tmp");
        QVERIFY(zyjacy.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(zyjacy.handle(), LOCK_EX | LOCK_NB), 0);
        pixo::usunPozostalosci({"a.bmp", "./a.bm0", "brak/c.bmp"});
        const QStringList zostaja{".a.bmp.zyjacy01.tmp", ".b.bmp.zabity03.tmp"};
        QCOMPARE(pliki(), zostaja);
        PlikTymczasowy p;
        QVERIFY(p.utworz("b.bmp", false) && p.zapisz("y") && p.opublikuj());
        QCOMPARE(pliki(), zostaja + QStringList{"b.bmp"});
    }

    void tymczasowyUsuwanyGdyPorzucony() {
        pomoc::FolderRoboczy f;
        {
            PlikTymczasowy p;
            QVERIFY(p.utworz("klawisz.txt"));
            QVERIFY(p.zapisz("abc"));
            QCOMPARE(pliki().size(), 1);
            QVERIFY(QFileInfo(QString::fromStdString(p.sciezkaTymczasowa())).isHidden());
        }
        QCOMPARE(pliki(), QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestZapis)
#include "test_kavrel_zapis.moc"
