#pragma once
// Finding a goods item by its number or by part of its name; widget-free.
//
// The index is built once from the goods list's items as they are shown (item i stands for
// PLU number i + 1: the number, a blank, the name) and then answers every keystroke of a
// search with a scan of prepared texts, no conversion per item.
//
// Matching:
// - A query of digits alone is a PLU number: that number first, then the numbers it begins
//   (5: 50 to 59, 500 to 599...), then the names that contain the digits.
// - Otherwise every word of the query must occur in the name, in any letter case. A word
//   typed without Polish letters also finds them ("zolw" finds "ŻÓŁW"); a word typed with
//   them finds only them ("żur" finds "ŻUREK", not "ZUREK"). Names that begin with the
//   first word come first.
// - Within each group items keep their PLU order; an item is listed once.

#include <QString>
#include <QStringList>
#include <vector>

class IndeksTowarow {
public:
    IndeksTowarow() = default;
    explicit IndeksTowarow(const QStringList& pozycje);

    // The item indices that match, best first; none for a blank query.
    std::vector<int> szukaj(const QString& zapytanie) const;

    int liczba() const { return static_cast<int>(m_nazwy.size()); }

private:
    std::vector<QString> m_nazwy;       // names in case-folded form
    std::vector<QString> m_nazwyProste; // the same without Polish marks
};

// A text in the form the search compares: case-folded, and with `bezZnakow` also without
// the marks of Polish letters (ą to a, ł to l, ż to z...).
QString tekstDoSzukania(const QString& tekst, bool bezZnakow);
