#pragma once
// The application object: every error that leaves an event handler unhandled ends here and is
// reported; the user decides whether the program ends or goes on.

#include <QApplication>
#include <QPointer>
#include <exception>

class Dialogi;

class TAplikacja : public QApplication {
    Q_OBJECT
public:
    TAplikacja(int& argc, char** argv);
    ~TAplikacja() override;

    // Where the report is shown and which window "Yes" closes.
    void ustawObslugeBledow(Dialogi* dialogi, QWidget* glowneOkno);

    bool notify(QObject* odbiorca, QEvent* zdarzenie) override;

    // Reports an error caught outside the message loop (the start-up import); returns true
    // when the user chose to end the program.
    bool zglosBlad(const QString& komunikat);
    // Whether the user chose to end the program in a report (start-up then stops).
    bool zakonczenieWybrane() const { return m_zakonczenieWybrane; }

    // An error while the main window is being set up goes to the report when the application
    // is this one; otherwise (a test's own application) it is raised again.
    static void zglosBladStartu(const std::exception& e);

private:
    // Shows the report; "Tak" closes the main window.
    void zglosNieobsluzony(std::exception_ptr blad);

    Dialogi* m_dialogi = nullptr;
    QPointer<QWidget> m_glowneOkno;
    bool m_raportPokazany = false;
    bool m_zakonczenieWybrane = false;
};
