#pragma once
// Amounts as the editor panel shows, normalizes and reads them. An amount is a count of
// hundredths of the currency unit.

#include <QString>
#include <cstdint>
#include <optional>

// The decimal text of a count of hundredths, shown with a comma and exactly two decimals
// ("1250" -> "12,50", "5" -> "0,05", "" -> "0,00"). A leading minus sign is kept in front.
QString FormatujKwote(const QString& tekst);

// Normalizes the amount field's text in place to digits, a comma and two decimals; a point is
// taken as the separator too. Returns false when the text is not an amount.
bool NormalizujKwote(QString& tekst);

// Reads the field as a number with "," as the decimal separator (a point is not accepted):
// the amount in hundredths, further decimals dropped, never rounded. Nothing when the text is
// not such a number or does not fit.
std::optional<std::int64_t> KwotaWSetnych(const QString& tekst);

// Reads the field as for KwotaWSetnych and returns the whole part (decimals cut off).
std::optional<std::int64_t> CzescCalkowita(const QString& tekst);

// What the user may type into the amount field: these characters, up to this many in all.
constexpr int kDlugoscPolaKwoty = 9;
bool znakKwoty(QChar znak);

// An edit of the amount field that did not come by typing (a paste, a drop) made `nowy` of
// `stary`: the text typing the inserted characters one by one would have given (characters
// other than digits, "." and "," left out, none past the ninth character of the field), and
// in `kursor` the position after the last one kept. Deleting is never limited.
QString WstawienieDoKwoty(const QString& stary, const QString& nowy, int& kursor);
