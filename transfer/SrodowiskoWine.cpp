#include "transfer/SrodowiskoWine.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "transfer/ProcesMostu.h"

extern char** environ;

namespace {

const QString kZnacznik = QStringLiteral("/pixo-gotowy");

// What tells one installed Wine from another: the program's real file and when it was
// installed. Stored in the prefix once it is made.
QByteArray wersjaWine(const QString& wine) {
    const QFileInfo f(QFileInfo(wine).canonicalFilePath());
    return (f.filePath() + QLatin1Char(' ') + QString::number(f.lastModified().toSecsSinceEpoch()))
        .toUtf8();
}

QByteArray zawartosc(const QString& plik) {
    QFile f(plik);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Holds the lock of the prefix's folder while it lives; taken when `zajety()` is false.
class BlokadaPrefiksu {
public:
    explicit BlokadaPrefiksu(const QString& dane) {
        m_fd = ::open(QFile::encodeName(dane + QStringLiteral("/wine.lock")).constData(),
                      O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        const qint64 termin = QDateTime::currentMSecsSinceEpoch() + kGranicaPrzygotowaniaMs;
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
            if (QDateTime::currentMSecsSinceEpoch() > termin) {
                ::close(m_fd);
                m_fd = -1;
            } else {
                QThread::msleep(100);
            }
        }
    }
    ~BlokadaPrefiksu() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    bool zajety() const { return m_fd < 0; }

private:
    int m_fd = -1;
};

std::vector<std::string> argumentyWine(const UstawieniaWine& u, const QStringList& dalej) {
    std::vector<std::string> a{QFile::encodeName(u.wine).toStdString()};
    for (const QString& s : dalej)
        a.push_back(s.toStdString());
    return a;
}

// Port N's file in `folder`: "comN" itself, else the first other spelling in byte order.
QString plikPortu(const QStringList& nazwy, int numer) {
    const QString szukana = QStringLiteral("com%1").arg(numer);
    if (nazwy.contains(szukana))
        return szukana;
    for (const QString& n : nazwy)
        if (n.compare(szukana, Qt::CaseInsensitive) == 0)
            return n;
    return {};
}

long long zmiana(const QByteArray& sciezka) {
    struct stat st {};
    if (::stat(sciezka.constData(), &st) != 0)
        return -1;
    return static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec;
}

// Points `link` at `cel`, replacing it in one step, unless it leads there already.
void ustawLink(const QByteArray& link, const QByteArray& cel) {
    char obecny[PATH_MAX];
    const ssize_t n = ::readlink(link.constData(), obecny, sizeof obecny);
    if (n >= 0 && QByteArray(obecny, static_cast<qsizetype>(n)) == cel)
        return;
    const QByteArray nowy = link + ".pixo-nowy";
    ::unlink(nowy.constData());
    if (::symlink(cel.constData(), nowy.constData()) == 0 &&
        ::rename(nowy.constData(), link.constData()) != 0)
        ::unlink(nowy.constData());
}

} // namespace

UstawieniaWine DomyslneUstawieniaWine() {
    UstawieniaWine u;
    u.wine = QStandardPaths::findExecutable(QStringLiteral("wine"));
    // Installed, the bridge lies in the package's library folder, which the program's run
    // path also names; run from the build tree, in its Windows build.
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QString zainstalowany = QFileInfo(program).dir().filePath(
        QStringLiteral("../" PIXO_KATALOG_BIBLIOTEK "/pixo-most.exe"));
    u.most = QFileInfo::exists(zainstalowany) ? QFileInfo(zainstalowany).absoluteFilePath()
                                              : QStringLiteral(PIXO_MOST_W_BUDOWIE);
    u.dane = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
             QStringLiteral("/pixo-klawiatura");
    return u;
}

std::vector<std::string> SrodowiskoProcesuWine(const QString& prefiks, bool mostu) {
    static const char* const kZmieniane[] = {
        "DISPLAY=",          "WAYLAND_DISPLAY=", "WINEPREFIX=", "WINEARCH=",
        "WINEDLLOVERRIDES=", "WINEDEBUG=",       "WINELOADER=", "WINESERVER="};
    std::vector<std::string> s;
    for (char** e = environ; e && *e; ++e) {
        const std::string z = *e;
        bool zmieniana = false;
        for (const char* p : kZmieniane)
            zmieniana = zmieniana || z.rfind(p, 0) == 0;
        if (!zmieniana)
            s.push_back(z);
    }
    s.push_back("WINEPREFIX=" + QFile::encodeName(prefiks).toStdString());
    s.push_back("WINEARCH=win32");
    s.push_back("WINEDEBUG=-all");
    s.push_back(std::string("WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d") +
                (mostu ? ";wineboot.exe=d" : ""));
    return s;
}

bool PrefiksGotowy(const UstawieniaWine& u) {
    return !u.wine.isEmpty() && zawartosc(u.prefiks() + kZnacznik) == wersjaWine(u.wine);
}

std::optional<QString> PrzygotujPrefiks(const UstawieniaWine& u) {
    if (!QDir().mkpath(u.dane))
        return QStringLiteral("Nie można utworzyć folderu %1.").arg(u.dane);
    const BlokadaPrefiksu blokada(u.dane);
    if (blokada.zajety())
        return QStringLiteral("Inny program od %1 min przygotowuje środowisko Wine w %2.")
            .arg(kGranicaPrzygotowaniaMs / 60000)
            .arg(u.prefiks());
    if (PrefiksGotowy(u))
        return std::nullopt; // made by the other program meanwhile
    // A prefix without its mark was cut short while being made: it is made again from
    // nothing. One with a mark of another Wine is updated.
    const bool bylGotowy = QFileInfo::exists(u.prefiks() + kZnacznik);
    if (!bylGotowy && QFileInfo::exists(u.prefiks()) && !QDir(u.prefiks()).removeRecursively())
        return QStringLiteral("Nie można usunąć niedokończonego środowiska Wine %1.")
            .arg(u.prefiks());
    const std::string dziennik = QFile::encodeName(u.dziennik()).toStdString();
    const std::vector<std::string> srodowisko = SrodowiskoProcesuWine(u.prefiks(), false);
    const int wynik = WykonajProgram(
        argumentyWine(u, {QStringLiteral("wineboot"),
                          bylGotowy ? QStringLiteral("-u") : QStringLiteral("-i")}),
        srodowisko, QFile::encodeName(u.dane).toStdString(), dziennik, kGranicaPrzygotowaniaMs);
    if (wynik != 0)
        return QStringLiteral("Przygotowanie środowiska Wine nie powiodło się (%1); szczegóły w "
                              "pliku %2. Jeśli brakuje 32-bitowej części Wine: sudo dpkg "
                              "--add-architecture i386, sudo apt-get update, sudo apt-get "
                              "install wine32:i386.")
            .arg(wynik < 0 ? QStringLiteral("przekroczony czas")
                           : QStringLiteral("kod %1").arg(wynik),
                 u.dziennik());
    // The services that wineboot started end with their session; until then the device
    // manager may still be writing the COM links that the program's own replace.
    const QString wineserver = QFileInfo(u.wine).dir().filePath(QStringLiteral("wineserver"));
    if (QFileInfo(wineserver).isExecutable())
        WykonajProgram({QFile::encodeName(wineserver).toStdString(), "-w"}, srodowisko,
                       QFile::encodeName(u.dane).toStdString(), dziennik, 30000);
    QFile znacznik(u.prefiks() + kZnacznik);
    if (!znacznik.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        znacznik.write(wersjaWine(u.wine)) < 0 || !znacznik.flush())
        return QStringLiteral("Nie można zapisać pliku %1.").arg(znacznik.fileName());
    return std::nullopt;
}

void OdswiezPortyWine(const QString& prefiks, const QString& folder, StanPortowWine& ostatnio) {
    const QByteArray urzadzenia = QFile::encodeName(prefiks + QStringLiteral("/dosdevices/"));
    if (ostatnio.folder == folder && ostatnio.zmianaFolderu == zmiana(QFile::encodeName(folder)) &&
        ostatnio.zmianaUrzadzen == zmiana(urzadzenia))
        return;
    const QDir dir(folder);
    const QStringList nazwy = dir.entryList(
        {QStringLiteral("[cC][oO][mM]*")},
        QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (int n = 1; n <= 99; ++n) {
        const QString plik = plikPortu(nazwy, n);
        const QByteArray cel = plik.isEmpty() ? "/dev/ttyS" + QByteArray::number(n - 1)
                                              : QFile::encodeName(dir.absoluteFilePath(plik));
        ustawLink(urzadzenia + "com" + QByteArray::number(n), cel);
    }
    ostatnio = {folder, zmiana(QFile::encodeName(folder)), zmiana(urzadzenia)};
    // File times advance by the kernel's clock tick: a change within the same tick as the
    // times just read would go unseen, so times that recent are not trusted.
    const long long teraz = QDateTime::currentMSecsSinceEpoch() * 1000000LL;
    if (teraz - ostatnio.zmianaFolderu < 50000000LL || teraz - ostatnio.zmianaUrzadzen < 50000000LL)
        ostatnio.zmianaFolderu = -1;
}

QString SciezkaWindows(const QString& sciezka) {
    return QStringLiteral("Z:") +
           QFileInfo(sciezka).absoluteFilePath().replace(QLatin1Char('/'), QLatin1Char('\\'));
}
