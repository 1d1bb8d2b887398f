#pragma once
// The one way the program calls the register libraries: the call runs on a worker thread
// while the GUI thread waits in a local event loop. To the user the program is as blocked as
// if the call ran on the GUI thread (busy cursor, no clicks, keys or window closing taken),
// but the windows repaint and the hourglass keeps turning, even through transfers of minutes.
//
// The work must not touch widgets or other GUI objects: it runs on another thread. It may read
// and write data the caller owns; the caller does nothing else until the call returns.

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

class Klepsydra;
class QWidget;
struct PostepPracy;

// Runs `praca` on a worker thread and waits for it with the busy cursor shown and user input to
// every window swallowed. An exception thrown by `praca` is rethrown here, on the GUI thread,
// after the cursor is restored and input is taken again. `okno` is the window on whose behalf
// the call runs (may be null): it is repainted before the wait starts, so that what its handler
// changed just before the call is on screen while the call runs. Calls may nest (a timer firing
// during the wait may run another); each returns when its own work is done and every outer one
// still waiting. Called off the GUI thread or without an application, `praca` simply runs.
// With `postep`, a wait longer than kPokazPostepPoMs shows the progress window (what runs, how
// much is done, the time left), refreshed every kOdswiezPostepMs until the work ends.
constexpr int kPokazPostepPoMs = 500;
constexpr int kOdswiezPostepMs = 100;
void czekajNaWatku(Klepsydra& klepsydra, QWidget* okno, const std::function<void()>& praca,
                   const PostepPracy* postep = nullptr);

// The same, passing back what `praca` returns (for the libraries: the one-byte result code).
template <typename F>
auto wykonajWTle(Klepsydra& klepsydra, QWidget* okno, F&& praca,
                 const PostepPracy* postep = nullptr) -> std::invoke_result_t<F&> {
    using Wynik = std::invoke_result_t<F&>;
    if constexpr (std::is_void_v<Wynik>) {
        czekajNaWatku(
            klepsydra, okno, [&] { praca(); }, postep);
    } else {
        std::optional<Wynik> wynik;
        czekajNaWatku(
            klepsydra, okno, [&] { wynik.emplace(praca()); }, postep);
        return std::move(*wynik);
    }
}
