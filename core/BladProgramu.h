#pragma once
// The error that file and conversion failures raise inside the program; what no handler
// catches ends in the application-wide error report.

#include <QString>
#include <exception>
#include <functional>
#include <stdexcept>

class BladProgramu : public std::runtime_error {
public:
    explicit BladProgramu(const QString& komunikat)
        : std::runtime_error(komunikat.toStdString()), m_komunikat(komunikat) {}
    const QString& komunikat() const { return m_komunikat; }

private:
    QString m_komunikat;
};

// The message of any caught exception, as the error report shows it.
QString komunikatWyjatku(const std::exception& e);

// Errors that an event handler lets through. The toolkit's event delivery is not built to be
// unwound (an error crossing it leaks what it had in hand), so handlers connected to signals
// and event filters catch everything and hand it here; the application reports it (the
// application-wide report). Without a reporter set the error is raised again.
using ZglaszanieBledow = std::function<void(std::exception_ptr)>;
void ustawZglaszanieBledow(ZglaszanieBledow zglos);
void zglosBladObslugi(std::exception_ptr blad);

// A handler for a signal that reports what it lets through instead of throwing it into the
// toolkit.
template <typename F> auto chronione(F obsluga) {
    return [obsluga = std::move(obsluga)]() mutable {
        try {
            obsluga();
        } catch (...) {
            zglosBladObslugi(std::current_exception());
        }
    };
}
