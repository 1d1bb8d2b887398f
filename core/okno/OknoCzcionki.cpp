#include "core/okno/OknoCzcionki.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The sixteen basic colours of the classic font dialog, with their Polish names.
struct NazwanyKolor {
    const char* nazwa;
    QRgb rgb;
};
constexpr NazwanyKolor kKolory[] = {
    {"Czarny", 0x000000},    {"Bordowy", 0x800000},   {"Zielony", 0x008000},
    {"Oliwkowy", 0x808000},  {"Granatowy", 0x000080}, {"Purpurowy", 0x800080},
    {"Morski", 0x008080},    {"Szary", 0x808080},     {"Srebrny", 0xC0C0C0},
    {"Czerwony", 0xFF0000},  {"Limonowy", 0x00FF00},  {"Żółty", 0xFFFF00},
    {"Niebieski", 0x0000FF}, {"Fuksja", 0xFF00FF},    {"Błękitny", 0x00FFFF},
    {"Biały", 0xFFFFFF}};

} // namespace

OknoCzcionki::OknoCzcionki(const Czcionka& poczatkowa, QWidget* rodzic)
    : QDialog(rodzic), m_poczatkowa(poczatkowa.font), m_font(new QFontDialog(this)),
      m_kolor(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Czcionka"));
    m_font->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    m_font->setCurrentFont(poczatkowa.font);
    m_font->setWindowFlags(Qt::Widget);
    for (const auto& k : kKolory) {
        QPixmap probka(16, 12);
        probka.fill(QColor(k.rgb));
        m_kolor->addItem(QIcon(probka), QString::fromUtf8(k.nazwa), QColor(k.rgb));
    }
    int indeks = m_kolor->findData(poczatkowa.kolor);
    if (indeks < 0) {
        m_kolor->addItem(poczatkowa.kolor.name(), poczatkowa.kolor);
        indeks = m_kolor->count() - 1;
    }
    m_kolor->setCurrentIndex(indeks);

    auto* przyciski = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(przyciski, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(przyciski, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* uklad = new QVBoxLayout(this);
    uklad->addWidget(m_font);
    uklad->addWidget(new QLabel(QStringLiteral("Kolor:"), this));
    uklad->addWidget(m_kolor);
    uklad->addWidget(przyciski);
}

Czcionka OknoCzcionki::wybrana() const {
    QFont f = m_font->currentFont();
    // Compared as the faces resolve: the dialog names sizes in points and faces by family.
    const QFontInfo wybrany(f), poczatkowy(m_poczatkowa);
    if (wybrany.family() == poczatkowy.family() && wybrany.style() == poczatkowy.style() &&
        wybrany.bold() == poczatkowy.bold() && wybrany.pixelSize() == poczatkowy.pixelSize()) {
        const bool podkreslenie = f.underline(), przekreslenie = f.strikeOut();
        f = m_poczatkowa;
        f.setUnderline(podkreslenie);
        f.setStrikeOut(przekreslenie);
    }
    return {f, m_kolor->currentData().value<QColor>()};
}
