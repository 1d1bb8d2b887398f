#pragma once
// Shared by the key-definition library tests: a scratch folder that is the current folder for
// one test, byte-exact file helpers, buffers that end at an unreadable page (reading one byte
// past them crashes), and a fake register.

#include "link/common/KlientKasy.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace pomoc {

// A name or line in the 256-byte, zero-terminated buffer the library functions take.
struct Bufor {
    explicit Bufor(const QByteArray& tekst) {
        std::memcpy(b, tekst.constData(),
                    static_cast<std::size_t>(qMin<qsizetype>(tekst.size(), 255)));
    }
    char b[256] = {};
};

class FolderRoboczy {
public:
    FolderRoboczy() : poprzedni_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
    ~FolderRoboczy() { QDir::setCurrent(poprzedni_); }
    QString sciezka() const { return dir_.path(); }

private:
    QTemporaryDir dir_;
    QString poprzedni_;
};

inline void zapisz(const QString& nazwa, const QByteArray& bajty) {
    // Removed first: truncating an existing file makes ext4 flush it to disk at close, which
    // costs milliseconds per file.
    QFile::remove(nazwa);
    QFile f(nazwa);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw std::runtime_error("cannot write test file");
    f.write(bajty);
}

inline QByteArray czytaj(const QString& nazwa) {
    QFile f(nazwa);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll();
}

// Files of the current folder, hidden ones included (the library's temporaries are hidden).
inline QStringList pliki(const QString& folder = ".") {
    QStringList l = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    l.sort();
    return l;
}

// 256 bytes that end exactly at a page the process may not read.
class BuforNaGranicy {
public:
    BuforNaGranicy() {
        const long strona = ::sysconf(_SC_PAGESIZE);
        strona_ = static_cast<std::size_t>(strona);
        pamiec_ = static_cast<char*>(::mmap(nullptr, 2 * strona_, PROT_READ | PROT_WRITE,
                                            MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        ::mprotect(pamiec_ + strona_, strona_, PROT_NONE);
        bufor_ = pamiec_ + strona_ - 256;
        std::memset(bufor_, 'a', 256);
    }
    ~BuforNaGranicy() { ::munmap(pamiec_, 2 * strona_); }
    char* dane() { return bufor_; }

private:
    std::size_t strona_ = 0;
    char* pamiec_ = nullptr;
    char* bufor_ = nullptr;
};

// A register that answers from its fields and records what it was asked.
struct FakeKasa {
    std::string numer = "01";
    std::vector<pixo::DefinicjaNaKasie> definicje;
    std::vector<pixo::TowarNaKasie> towary;
    std::vector<std::string> platnosci{"KARTA", "CZEK", "BON", "KREDYT", "PRZELEW", "INNA"};
    std::vector<std::string> waluty{"EUR", "USD", "GBP", "CHF", "CZK", "NOK", "SEK", "DKK"};

    std::uint8_t kodPolaczenia = 0;
    std::uint8_t kodNumeru = 0;
    std::uint8_t kodOperacji = 0; // answer of the data operation itself
    bool wyjatek = false;

    // What happened.
    int polaczen = 0;
    pixo::ParametryLacza parametry;
    std::vector<pixo::DefinicjaNaKasie> zapisane;
    std::vector<std::uint8_t> skasowane;
    int operacji = 0;
};

class KlientFake : public pixo::KlientKasy {
public:
    explicit KlientFake(FakeKasa& k) : k_(k) {}
    std::uint8_t identyfikacja(std::uint8_t& bajt) override {
        bajt = 139;
        return 0;
    }
    std::uint8_t numerKasy(std::string& numer) override {
        numer = k_.numer;
        return k_.kodNumeru;
    }
    std::uint8_t czytajDefinicje(std::vector<pixo::DefinicjaNaKasie>& d) override {
        return odpowiedz([&] { d = k_.definicje; });
    }
    std::uint8_t zapiszDefinicje(const std::vector<pixo::DefinicjaNaKasie>& d) override {
        return odpowiedz([&] { k_.zapisane = d; });
    }
    std::uint8_t skasujDefinicje(const std::vector<std::uint8_t>& kody) override {
        return odpowiedz([&] { k_.skasowane = kody; });
    }
    std::uint8_t czytajTowary(std::vector<pixo::TowarNaKasie>& t) override {
        return odpowiedz([&] { t = k_.towary; });
    }
    std::uint8_t czytajPlatnosci(std::vector<std::string>& n) override {
        return odpowiedz([&] { n = k_.platnosci; });
    }
    std::uint8_t czytajWaluty(std::vector<std::string>& n) override {
        return odpowiedz([&] { n = k_.waluty; });
    }

private:
    template <class F> std::uint8_t odpowiedz(F wykonaj) {
        ++k_.operacji;
        if (k_.wyjatek)
            throw std::runtime_error("link broke");
        if (k_.kodOperacji != 0)
            return k_.kodOperacji;
        wykonaj();
        return 0;
    }
    FakeKasa& k_;
};

// The connection factory the operations take.
inline auto polaczenie(FakeKasa& k) {
    return [&k](const pixo::ParametryLacza& p, std::unique_ptr<pixo::KlientKasy>& klient) {
        ++k.polaczen;
        k.parametry = p;
        if (k.kodPolaczenia != 0)
            return k.kodPolaczenia;
        klient = std::make_unique<KlientFake>(k);
        return std::uint8_t{0};
    };
}

} // namespace pomoc
