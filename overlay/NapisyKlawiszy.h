#pragma once
// The key labels without their widgets: which edit holds which line of which key, and the
// texts the fill routine derives from the key definitions.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

#include "keys/TabelaKlawiszy.h"

constexpr int kLiczbaNapisow = 14;
// The length an edit takes by typing, and the one the export pads to.
constexpr int kDlugoscNapisu = 8;
// The fill keeps this many characters of a derived text.
constexpr int kDlugoscWypelnienia = 6;

// Index of a label edit in the window order edit0, edit0a, Edit1, Edit1a ... Edit4, Edit4a,
// Edit5 ... Edit8; linia 1 is the second line, which only keys 0 to 4 have.
int indeksNapisu(int klawisz, int linia = 0);
// The order of the label file's lines and of drawing on the overlay: edit0, Edit1 ... Edit4,
// edit0a ... Edit4a, Edit5 ... Edit8; entry k is the window-order index of line k + 1.
extern const std::array<int, kLiczbaNapisow> kKolejnoscPliku;
// Whether the edit at a window-order index is a one-line label (keys 5 to 8).
bool napisJednoliniowy(int indeks);

// One label edit's text and whether it is shown.
struct StanNapisu {
    QString tekst;
    bool widoczny = false;
    bool operator==(const StanNapisu&) const = default;
};
using Napisy = std::array<StanNapisu, kLiczbaNapisow>; // window order

// What the fill reads besides the table: the editor's three lists (item texts by position)
// and the goods names by PLU number, in code page 852.
struct ZrodlaNapisow {
    QStringList funkcje;
    QStringList platnosci;
    QStringList waluty;
    const std::vector<QByteArray>* towary = nullptr;
};

// The text a definition gives its label; none for a kind that leaves the label alone
// (discount or markup).
std::optional<QString> napisDefinicji(const TDefKlawisza& def, const ZrodlaNapisow& zrodla);
// The first six characters of a text.
QString skrocNapis(const QString& tekst);

// Fills the first lines of keys 0 to 4 from the direct layer and, when a single-Alt layer is
// selected, the lines of keys 5 to 8 from that layer. With `wszystkie` false only empty
// labels are filled. Second lines are never touched.
void WypelnijNapisy(Napisy& napisy, const TabelaKlawiszy& tabela, int warstwa,
                    const ZrodlaNapisow& zrodla, bool wszystkie);
