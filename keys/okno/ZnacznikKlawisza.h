#pragma once
// The selected key on the overlay picture, seen and reached from the keyboard.
//
// A frame is drawn around the area of the key the editor panel shows, on every layer, and
// none while no key is selected (after a click outside every key). The picture is a stop of
// the Tab chain (it does not take the focus on a click, so a click selects as it always did);
// with the focus on it, a dotted line runs round its edge and
// - the arrow keys, Home and End select another key of the current layer,
// - Page Up and Page Down select the previous or next Alt layer (and with it its key 0),
// each with exactly the effect of a click: a key as a mouse-down at the top left corner of its
// first label edit, a layer as a click on its item in rgAlty. The focus then stays on the
// picture (a kind's layout may have moved it into its list) so that the next key moves on.

#include <QWidget>
#include <optional>

#include "keys/okno/PanelKlawisza.h"

class ZnacznikKlawisza : public QWidget {
    Q_OBJECT
public:
    // Lies over the whole picture as its child, transparent for the mouse.
    ZnacznikKlawisza(const WidokPanelu& widok, PanelKlawisza& panel);

    // The frame's rectangle in the picture's coordinates; none while no key is selected.
    std::optional<QRect> obszar() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

private:
    bool klawiszNaObrazie(int klawisz);
    void wybierz(int klawisz);

    WidokPanelu m_widok;
    PanelKlawisza& m_panel;
    int m_klawisz = -1; // the key the panel shows, -1 for none
};
