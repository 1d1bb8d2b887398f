#pragma once
// The main window: the overlay picture with its label edits, the key definition editor and the
// buttons of the register, key-definition and overlay operations.

#include <QWidget>
#include <functional>
#include <memory>

class DefinicjeKlawiszy;
class Dialogi;
class LaczeKasy;
class QDialog;
class PanelKlawisza;
class KontrolerWkladki;
class SzukajTowaru;
class ZmianyOkna;
class ZnacznikKlawisza;
struct StanProgramu;

namespace Ui {
class TForm3;
}

class TForm3 : public QWidget {
    Q_OBJECT
public:
    TForm3(StanProgramu& stan, Dialogi& dialogi, QWidget* rodzic = nullptr);
    ~TForm3() override;

    Ui::TForm3* ui;

    PanelKlawisza& panel() { return *m_panel; }
    KontrolerWkladki& wkladka() { return *m_wkladka; }
    // The goods search over cbTowary (Ctrl+F), the selected key's mark on the picture, and
    // the history of changes behind Ctrl+Z and the question on closing.
    SzukajTowaru& szukanieTowaru() { return *m_szukaj; }
    ZnacznikKlawisza& znacznik() { return *m_znacznik; }
    ZmianyOkna& zmiany() { return *m_zmiany; }

    // The communication parameters dialog that "Połączenie" opens (given by a function that
    // returns it, so that it can be built when first needed) and the register link of the
    // key-definition operations; the four buttons under "Definicje klawiszy" work from then on.
    void ustawKomunikacje(std::function<QDialog*()> oknoKomunik, LaczeKasy& lacze);
    DefinicjeKlawiszy* definicje() { return m_definicje.get(); }
    // The start-up import of goods, payments, currencies and key definitions (after
    // ustawKomunikacje). Errors it raises reach the caller.
    void importStartowy();

    // Replaces the items of the goods list, item i standing for PLU number i + 1.
    void ustawListeTowarow(const QStringList& pozycje);
    // The goods list's items before any goods name is known: "001 " ... "3071 ".
    static QStringList goleTowary();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;

private:
    void FormCreate();
    void FormShow();
    void Button4Click();
    void ustawCzcionkeOkna();
    void ustawCzcionkiKontrolek();
    void ustawNazwyDostepnosci();
    void ustawMnemoniki();

    StanProgramu& m_stan;
    Dialogi& m_dialogi;
    std::unique_ptr<PanelKlawisza> m_panel;
    std::unique_ptr<KontrolerWkladki> m_wkladka;
    std::unique_ptr<DefinicjeKlawiszy> m_definicje;
    std::unique_ptr<SzukajTowaru> m_szukaj;
    std::unique_ptr<ZmianyOkna> m_zmiany;
    ZnacznikKlawisza* m_znacznik = nullptr; // a child of the picture
    std::function<QDialog*()> m_oknoKomunik;
    LaczeKasy* m_lacze = nullptr;
};
