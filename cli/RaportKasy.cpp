#include "cli/RaportKasy.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cerrno>
#include <cstring>

#include "transfer/KodyBledow.h"

namespace {

// The message of a failure; `pelny` keeps every line of the library's text (for JSON).
QString komunikat(const WynikKasy& w, bool pelny) {
    if (!w.blad.isEmpty())
        return w.blad;
    const QStringList linie = TekstBledu(w.kod).split(QLatin1Char('\r'));
    QString t = pelny ? linie.join(QLatin1Char('\n')) : linie.first().trimmed();
    if (w.powod.isEmpty())
        return t;
    if (pelny)
        return t + QLatin1Char('\n') + w.powod;
    // "...pliku konfiguracji: linia 2: ..." reads as one sentence.
    if (t.endsWith(QLatin1Char('.')))
        t.chop(1);
    t += QStringLiteral(": ") + w.powod;
    return t;
}

} // namespace

QString NumerKasyTekstem(int kasa) {
    return QStringLiteral("%1").arg(kasa, 2, 10, QLatin1Char('0'));
}

QString LiniaWyniku(const WynikKasy& w) {
    const QString kasa = QStringLiteral("kasa ") + NumerKasyTekstem(w.kasa) + QStringLiteral(": ");
    if (!w.blad.isEmpty())
        return kasa + w.blad;
    if (w.kod != 0) {
        const QString tekst = komunikat(w, false);
        return kasa + QStringLiteral("błąd %1").arg(w.kod) +
               (tekst.isEmpty() ? QString() : QStringLiteral(": ") + tekst);
    }
    if (w.porownanie)
        return kasa + (w.roznice.empty()
                           ? QStringLiteral("zgodna z plikiem")
                           : QStringLiteral("różne klawisze: %1").arg(w.roznice.size()));
    return kasa + QStringLiteral("OK") +
           (w.pliki.isEmpty()
                ? QString()
                : QStringLiteral(" (") + w.pliki.join(QStringLiteral(", ")) + QLatin1Char(')'));
}

void RaportKasy::pisz(const QString& tekst) {
    if (m_zamkniete)
        return;
    const QByteArray b = tekst.toUtf8() + '\n';
    std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), m_wyjscie);
    if (std::fflush(m_wyjscie) == 0 && !std::ferror(m_wyjscie))
        return;
    // The reader went away (a pipe into "head"): said once, where it can still be read.
    m_zamkniete = true;
    const QByteArray b2 = "pixo-kasa: nie można zapisać wyników: " +
                          QString::fromLocal8Bit(std::strerror(errno)).toUtf8() + '\n';
    std::fwrite(b2.constData(), 1, static_cast<std::size_t>(b2.size()), stderr);
}

void RaportKasy::wynik(const WynikKasy& w) {
    const bool zgodna = w.udany() && w.roznice.empty();
    m_udany = m_udany && zgodna;
    if (!m_json) {
        pisz(LiniaWyniku(w));
        for (const RoznicaKlawisza& r : w.roznice)
            pisz(QStringLiteral("  %1: w pliku „%2”, w kasie „%3”")
                     .arg(r.klawisz, r.opisWPliku, r.opisWKasie));
        return;
    }
    QJsonObject o{{QStringLiteral("kasa"), w.kasa},
                  {QStringLiteral("ok"), w.udany()},
                  {QStringLiteral("kod"), w.kod}};
    if (!w.udany())
        o.insert(QStringLiteral("komunikat"), komunikat(w, true));
    if (!w.pliki.isEmpty())
        o.insert(QStringLiteral("pliki"), QJsonArray::fromStringList(w.pliki));
    if (w.porownanie && w.udany()) {
        QJsonArray roznice;
        for (const RoznicaKlawisza& r : w.roznice)
            roznice.append(QJsonObject{{QStringLiteral("klawisz"), r.klawisz},
                                       {QStringLiteral("w_pliku"), QString::fromLatin1(r.wPliku)},
                                       {QStringLiteral("w_kasie"), QString::fromLatin1(r.wKasie)},
                                       {QStringLiteral("opis_w_pliku"), r.opisWPliku},
                                       {QStringLiteral("opis_w_kasie"), r.opisWKasie}});
        o.insert(QStringLiteral("zgodna"), w.roznice.empty());
        o.insert(QStringLiteral("roznice"), roznice);
    }
    m_kasy.append(o);
}

void RaportKasy::blad(const QString& tekst) {
    m_udany = false;
    m_blad = tekst;
    if (!m_json) {
        const QByteArray b = "pixo-kasa: " + tekst.toUtf8() + '\n';
        std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), stderr);
    }
}

void RaportKasy::zakoncz() {
    if (!m_json)
        return;
    QJsonObject o{{QStringLiteral("polecenie"), m_polecenie},
                  {QStringLiteral("ok"), m_udany},
                  {QStringLiteral("kasy"), m_kasy}};
    if (!m_blad.isEmpty())
        o.insert(QStringLiteral("blad"), m_blad);
    pisz(QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Indented)).trimmed());
}
