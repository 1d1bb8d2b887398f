#pragma once
// The error that file and conversion failures raise inside the program; what no handler
// catches ends in the application-wide error report.

#include <QString>
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
