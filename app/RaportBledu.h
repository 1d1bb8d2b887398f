#pragma once
// The application-wide report of an error that no handler caught.

#include <QString>

class Dialogi;
class QWidget;

// The report's text: four lines joined by carriage returns.
QString tekstRaportuBledu(const QString& komunikat);

// Shows the report and returns true when the user chose to end the program.
bool pokazRaportBledu(Dialogi& dialogi, QWidget* okno, const QString& komunikat);
