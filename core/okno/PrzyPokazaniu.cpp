#include "core/okno/PrzyPokazaniu.h"

#include <QEvent>
#include <QWidget>

namespace {

class FiltrPokazania : public QObject {
public:
    FiltrPokazania(QWidget* w, std::function<void()> dzialanie)
        : QObject(w), m_dzialanie(std::move(dzialanie)) {}

    bool eventFilter(QObject* obiekt, QEvent* e) override {
        if (e->type() == QEvent::Show) {
            obiekt->removeEventFilter(this);
            deleteLater();
            m_dzialanie();
        }
        return false;
    }

private:
    std::function<void()> m_dzialanie;
};

} // namespace

void przyPierwszymPokazaniu(QWidget* w, std::function<void()> dzialanie) {
    if (w->isVisible()) {
        dzialanie();
        return;
    }
    w->installEventFilter(new FiltrPokazania(w, std::move(dzialanie)));
}
