#pragma once
// A register link for dialog tests: records every call, answers the serial commands from a
// queue, and keeps the files the line writer was given in memory, with switches to make any
// step fail.

#include <QByteArrayList>
#include <QMap>
#include <QStringList>
#include <deque>
#include <functional>

#include "transfer/LaczeKasy.h"

class FalszyweLacze : public LaczeKasy {
public:
    struct Odpowiedz {
        std::uint8_t wynik = 0;
        QByteArray bajty;
    };

    QStringList wywolania;
    std::uint8_t wynikInit = 0;
    std::uint8_t wynikKanalu = 1;
    std::deque<Odpowiedz> odpowiedzi;
    bool portOtwarty = false;

    QMap<QString, QByteArrayList> pliki; // files closed successfully
    QString nieOtwieraj;                 // name whose open fails
    QString psujLinieW;                  // name whose line number psujLinie fails
    int psujLinie = -1;
    QString psujZamkniecieW; // name whose close fails
    int bladPliku = 0;       // the system error a failed file step reports

    // Register operations, recorded as "TowarMax(towary.txt)" (the output, or the only file),
    // answered by `operacja` when set, else with 255.
    std::function<std::uint8_t(const QString& nazwa, const QString& plik)> operacja;

    std::uint8_t ODefKlaw(const QString&, const QString& wy) override { return op("ODefKlaw", wy); }
    std::uint8_t ZDefKlaw(const QString& p) override { return op("ZDefKlaw", p); }
    std::uint8_t KDefKlaw(const QString& p) override { return op("KDefKlaw", p); }
    std::uint8_t TowarMax(const QString&, const QString& wy) override { return op("TowarMax", wy); }
    std::uint8_t OPlat(const QString&, const QString& wy) override { return op("OPlat", wy); }
    std::uint8_t OWaluta(const QString&, const QString& wy) override { return op("OWaluta", wy); }

    std::uint8_t OtwartoPlik(std::int32_t& uchwyt, const QString& nazwa,
                             std::uint8_t tryb) override {
        wywolania << QStringLiteral("OtwartoPlik(%1,%2)").arg(nazwa).arg(tryb);
        if (nazwa == nieOtwieraj)
            return 0;
        m_otwarte << Otwarty{nazwa, {}};
        uchwyt = static_cast<std::int32_t>(m_otwarte.size());
        return 1;
    }
    std::uint8_t ZapisanoDoPlikuLinie(std::int32_t uchwyt, const QByteArray& linia) override {
        Otwarty& o = m_otwarte[uchwyt - 1];
        if (o.nazwa == psujLinieW && o.linie.size() == psujLinie)
            return 0;
        o.linie << linia;
        return 1;
    }
    std::uint8_t ZamknieciePliku(std::int32_t& uchwyt) override {
        const Otwarty o = m_otwarte[uchwyt - 1];
        wywolania << QStringLiteral("ZamknieciePliku(%1)").arg(o.nazwa);
        uchwyt = 0;
        if (o.nazwa == psujZamkniecieW || o.nazwa == psujLinieW)
            return 0;
        pliki[o.nazwa] = o.linie;
        return 1;
    }

    int bladSystemuPliku() const override { return bladPliku; }

    void UnInitializePort() override {
        wywolania << QStringLiteral("UnInitializePort");
        portOtwarty = false;
    }
    std::uint8_t InitializePort(std::uint8_t port, std::uint16_t baud, std::uint16_t timeout,
                                std::uint16_t timeout2) override {
        wywolania << QStringLiteral("InitializePort(%1,%2,%3,%4)")
                         .arg(port)
                         .arg(baud)
                         .arg(timeout)
                         .arg(timeout2);
        portOtwarty = wynikInit == 0;
        return wynikInit;
    }
    std::uint8_t UstawKanal(std::uint8_t kanal) override {
        wywolania << QStringLiteral("UstawKanal(%1)").arg(kanal);
        return wynikKanalu;
    }
    std::uint8_t RSSequence(std::uint8_t rozkaz, std::uint8_t licznik, std::uint8_t licznik2,
                            Bufor& odbior, const Bufor& nadawanie) override {
        wywolania << QStringLiteral("RSSequence(%1,%2,%3)").arg(rozkaz).arg(licznik).arg(licznik2);
        for (char c : nadawanie)
            if (c != 0)
                wywolania << QStringLiteral("niezerowy bufor nadawania");
        if (odpowiedzi.empty())
            return 21;
        const Odpowiedz o = odpowiedzi.front();
        odpowiedzi.pop_front();
        std::copy(o.bajty.begin(), o.bajty.end(), odbior.begin());
        return o.wynik;
    }

private:
    std::uint8_t op(const QString& nazwa, const QString& plik) {
        wywolania << QStringLiteral("%1(%2)").arg(nazwa, plik);
        return operacja ? operacja(nazwa, plik) : 255;
    }

    struct Otwarty {
        QString nazwa;
        QByteArrayList linie;
    };
    QList<Otwarty> m_otwarte;
};
