#include "core/okno/CzekanieNaWatku.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <exception>
#include <memory>
#include <thread>

#include "core/okno/Klepsydra.h"
#include "core/okno/OknoPostepu.h"

namespace {

// Swallows user input to every object of the application while installed. Paint, timer and
// posted events pass, so the windows stay drawn and the busy cursor animates.
class BlokadaWejscia : public QObject {
public:
    BlokadaWejscia() { QCoreApplication::instance()->installEventFilter(this); }
    ~BlokadaWejscia() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_polkniete |= static_cast<QMouseEvent*>(e)->button();
            return true;
        case QEvent::MouseButtonRelease: {
            // Only the releases of presses swallowed here are swallowed: a button pressed
            // before the wait began (a handler run from a press) must get its release, or the
            // widget that took the press would stay pressed for good.
            const Qt::MouseButton przycisk = static_cast<QMouseEvent*>(e)->button();
            if (!(m_polkniete & przycisk))
                return false;
            m_polkniete &= ~przycisk;
            return true;
        }
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::NonClientAreaMouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::InputMethod:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
        case QEvent::TabletPress:
        case QEvent::TabletMove:
        case QEvent::TabletRelease:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        // A window's close button. Qt delivers a top-level window's own close() the same way,
        // so that is refused too; nothing in the program closes windows during a wait.
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }

private:
    Qt::MouseButtons m_polkniete; // buttons whose press was swallowed
};

} // namespace

void czekajNaWatku(Klepsydra& klepsydra, QWidget* okno, const std::function<void()>& praca,
                   const PostepPracy* postep) {
    QCoreApplication* aplikacja = QCoreApplication::instance();
    if (!aplikacja || QThread::currentThread() != aplikacja->thread()) {
        praca();
        return;
    }

    std::exception_ptr blad;
    {
        KursorKlepsydry kursor(klepsydra);
        BlokadaWejscia blokada;
        if (okno)
            okno->repaint();

        QEventLoop petla;
        // The progress window comes only when the wait lasts; a short call shows the busy
        // cursor alone.
        std::unique_ptr<OknoPostepu> oknoPostepu;
        QTimer zegarPostepu;
        QElapsedTimer odPoczatku;
        odPoczatku.start();
        if (postep) {
            QObject::connect(&zegarPostepu, &QTimer::timeout, [&] {
                if (!oknoPostepu && odPoczatku.elapsed() >= kPokazPostepPoMs) {
                    oknoPostepu = std::make_unique<OknoPostepu>(*postep, okno);
                    oknoPostepu->show();
                }
                if (oknoPostepu)
                    oknoPostepu->odswiez();
            });
            zegarPostepu.start(kOdswiezPostepMs);
        }
        std::atomic<bool> gotowe{false};
        std::thread watek([&] {
            try {
                praca();
            } catch (...) {
                blad = std::current_exception();
            }
            // The flag first: the loop may also end for another reason (the application
            // quitting) and then must see that the work is done, or wait again.
            gotowe.store(true, std::memory_order_release);
            QMetaObject::invokeMethod(
                &petla, [&petla] { petla.quit(); }, Qt::QueuedConnection);
        });
        while (!gotowe.load(std::memory_order_acquire)) {
            petla.exec();
            // Once the application is told to quit, every new loop returns at once; then
            // only waiting for the worker is left, without spinning.
            if (!gotowe.load(std::memory_order_acquire))
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // The worker may still be posting the quit; the loop must outlive that.
        watek.join();
        zegarPostepu.stop();
    }
    if (blad)
        std::rethrow_exception(blad);
}
