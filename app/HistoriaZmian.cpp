#include "app/HistoriaZmian.h"

#include "transfer/PlikDefinicji.h"

namespace {

QByteArray definicje(const TabelaKlawiszy& tabela) {
    return TekstPlikuDefinicji(tabela, QString());
}

bool teSameTeksty(const Napisy& a, const Napisy& b) {
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].tekst != b[i].tekst)
            return false;
    return true;
}

bool taSamaPraca(const StanEdycji& a, const StanEdycji& b) {
    return teSameTeksty(a.napisy, b.napisy) && definicje(a.tabela) == definicje(b.tabela);
}

} // namespace

HistoriaZmian::HistoriaZmian(const StanEdycji& poczatek)
    : m_ostatni(poczatek), m_zapisaneDefinicje(definicje(poczatek.tabela)),
      m_zapisaneNapisy(poczatek.napisy) {}

void HistoriaZmian::zmiana(const StanEdycji& teraz) {
    if (!taSamaPraca(teraz, m_ostatni)) {
        m_kroki.push_back(m_ostatni);
        if (m_kroki.size() > kKrokiCofania)
            m_kroki.pop_front();
    }
    m_ostatni = teraz;
}

void HistoriaZmian::wczytanoDefinicje(const StanEdycji& teraz) {
    // Labels refilled from what was read are what reading again gives; labels the user had
    // not saved stay unsaved.
    const bool napisyZapisane = !niezapisaneNapisy(m_ostatni);
    zmiana(teraz);
    m_zapisaneDefinicje = definicje(teraz.tabela);
    if (napisyZapisane)
        m_zapisaneNapisy = teraz.napisy;
}

void HistoriaZmian::zapisanoDefinicje(const StanEdycji& teraz) {
    zmiana(teraz);
    m_zapisaneDefinicje = definicje(teraz.tabela);
}

void HistoriaZmian::wczytanoNapisy(const StanEdycji& teraz) {
    zmiana(teraz);
    m_zapisaneNapisy = teraz.napisy;
}

void HistoriaZmian::zapisanoNapisy(const StanEdycji& teraz) {
    m_ostatni = teraz;
    m_zapisaneNapisy = teraz.napisy;
}

std::optional<StanEdycji> HistoriaZmian::cofnij(const StanEdycji& teraz) {
    zmiana(teraz);
    if (m_kroki.empty())
        return std::nullopt;
    StanEdycji cel = m_kroki.back();
    m_kroki.pop_back();
    for (std::size_t i = 0; i < cel.napisy.size(); ++i)
        cel.napisy[i].widoczny = cel.napisy[i].widoczny || teraz.napisy[i].widoczny;
    m_ostatni = cel;
    return cel;
}

bool HistoriaZmian::niezapisaneDefinicje(const StanEdycji& teraz) const {
    return definicje(teraz.tabela) != m_zapisaneDefinicje;
}

bool HistoriaZmian::niezapisaneNapisy(const StanEdycji& teraz) const {
    return !teSameTeksty(teraz.napisy, m_zapisaneNapisy);
}
