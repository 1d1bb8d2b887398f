#include "core/ZapisPliku.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "core/BladProgramu.h"
#include "core/OdczytPliku.h"
#include "link/common/PlikTymczasowy.h"

namespace {

[[noreturn]] void bladZapisu(const QString& sciezka, int numerBledu) {
    throw BladProgramu(QStringLiteral("Nie można zapisać pliku \"%1\": %2.")
                           .arg(sciezka, przyczynaBledu(numerBledu)));
}

std::string nazwaSystemowa(const QString& sciezka) {
    return QFile::encodeName(sciezka).toStdString();
}

[[noreturn]] void bladUtworzenia(const QString& sciezka, int numerBledu) {
    throw BladProgramu(QStringLiteral("Nie można utworzyć pliku \"%1\": %2.")
                           .arg(sciezka, przyczynaBledu(numerBledu)));
}

void zapiszPlik(const QString& sciezka, QByteArrayView dane, bool szukajPozostalosci) {
    pixo::PlikTymczasowy plik;
    if (!plik.utworz(nazwaSystemowa(sciezka), szukajPozostalosci))
        bladUtworzenia(sciezka, plik.bladSystemu());
    if (!plik.zapisz(std::string_view(dane.constData(), static_cast<std::size_t>(dane.size()))) ||
        !plik.opublikuj())
        bladZapisu(sciezka, plik.bladSystemu());
}

// The old bytes of a target kept to be put back are read whole; the files written together
// are lists of a few hundred kilobytes.
constexpr qint64 kMaksKopii = 64 * 1024 * 1024;

} // namespace

QString przyczynaBledu(int numerBledu) {
    if (const char* wlasna = pixo::przyczynaWlasna(numerBledu))
        return QString::fromUtf8(wlasna);
    switch (numerBledu) {
    case EACCES:
    case EPERM:
        return QStringLiteral("brak uprawnień");
    case ENOENT:
        return QStringLiteral("nie ma takiego pliku ani folderu");
    case ENOTDIR:
        return QStringLiteral("ścieżka prowadzi przez plik, a nie folder");
    case EISDIR:
        return QStringLiteral("pod tą nazwą jest folder");
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("brak miejsca na dysku");
    case EROFS:
        return QStringLiteral("dysk tylko do odczytu");
    case EFBIG:
        return QStringLiteral("plik przekracza dozwolony rozmiar");
    case ENAMETOOLONG:
        return QStringLiteral("za długa nazwa");
    case EIO:
        return QStringLiteral("błąd wejścia-wyjścia");
    default:
        return QString::fromLocal8Bit(std::strerror(numerBledu));
    }
}

void zapiszBezpiecznie(const QString& sciezka, const std::function<bool(QIODevice&)>& zapisz) {
    // The data are gathered first and handed to the one writer of the project whole.
    QByteArray dane;
    QBuffer bufor(&dane);
    bufor.open(QIODevice::WriteOnly);
    if (!zapisz(bufor))
        bladZapisu(sciezka, EIO);
    zapiszBezpiecznie(sciezka, QByteArrayView(dane));
}

void zapiszBezpiecznie(const QString& sciezka, QByteArrayView dane) {
    zapiszPlik(sciezka, dane, true);
}

ZapisKolejny::ZapisKolejny(QStringList sciezki) : m_sciezki(std::move(sciezki)) {}

void ZapisKolejny::zapisz(const QString& sciezka, QByteArrayView dane) {
    if (!m_przejrzane) {
        std::vector<std::string> nazwy;
        for (const QString& s : m_sciezki)
            nazwy.push_back(nazwaSystemowa(s));
        pixo::usunPozostalosci(nazwy);
        m_przejrzane = true;
    }
    zapiszPlik(sciezka, dane, !m_sciezki.contains(sciezka));
}

void zapiszRazemBezpiecznie(const std::vector<std::pair<QString, QByteArray>>& pliki) {
    // The old bytes of every target but the last: nothing fails after the last is in place.
    std::vector<std::optional<QByteArray>> stare(pliki.size());
    for (std::size_t i = 0; i + 1 < pliki.size(); ++i)
        if (QFileInfo::exists(pliki[i].first))
            stare[i] = wczytajZwyklyPlik(pliki[i].first, kMaksKopii);
    std::vector<std::unique_ptr<pixo::PlikTymczasowy>> tymczasowe;
    for (const auto& [sciezka, dane] : pliki) {
        auto plik = std::make_unique<pixo::PlikTymczasowy>();
        if (!plik->utworz(nazwaSystemowa(sciezka)))
            bladUtworzenia(sciezka, plik->bladSystemu());
        if (!plik->zapisz(
                std::string_view(dane.constData(), static_cast<std::size_t>(dane.size()))) ||
            !plik->utrwal())
            bladZapisu(sciezka, plik->bladSystemu());
        tymczasowe.push_back(std::move(plik));
    }
    for (std::size_t i = 0; i < pliki.size(); ++i) {
        if (tymczasowe[i]->opublikuj())
            continue;
        for (std::size_t j = 0; j < i; ++j) {
            if (stare[j])
                pixo::zapiszCalyPlik(nazwaSystemowa(pliki[j].first),
                                     std::string_view(stare[j]->constData(),
                                                      static_cast<std::size_t>(stare[j]->size())));
            else
                QFile::remove(pliki[j].first);
        }
        bladZapisu(pliki[i].first, tymczasowe[i]->bladSystemu());
    }
}
