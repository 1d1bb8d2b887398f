#pragma once
// The work done in the main window, widget-free: the states of the key table and the fourteen
// key labels between the user's changes (for undo), and what was last stored (for the question
// on closing).
//
// - Each change recorded (a confirm, a read from a file or the register, a delete, the default
//   layout, a label typed or read from a file) whose table or label texts differ from the
//   previous state makes that previous state one step to go back to; at most kKrokiCofania
//   steps are kept, the oldest dropped first.
// - Going back restores the table and the label texts whole. A label shown now stays shown
//   (only its text goes back); a label hidden since is shown again when it was.
// - The definitions count as stored after a save to a file, a write to the register, a read
//   from either and a delete in the register (the register then holds what the table holds).
//   The labels count as stored after a label file was written or read, and after a read of the
//   definitions refilled them, unless they held unsaved texts before it.
// - The definitions compare as the key-definition file writes them (fields a record's kind
//   does not use and the code a record was read with make no difference); label visibility
//   alone is no change: neither is a step nor unsaved work.

#include <QByteArray>
#include <cstddef>
#include <deque>
#include <optional>

#include "keys/TabelaKlawiszy.h"
#include "overlay/NapisyKlawiszy.h"

struct StanEdycji {
    TabelaKlawiszy tabela;
    Napisy napisy; // window order
};

class HistoriaZmian {
public:
    static constexpr std::size_t kKrokiCofania = 100;

    // The state at start, which counts as stored.
    explicit HistoriaZmian(const StanEdycji& poczatek);

    // Records the state after a change of the user's.
    void zmiana(const StanEdycji& teraz);
    // Records the state after the definitions were read from a file or the register, or
    // deleted in the register.
    void wczytanoDefinicje(const StanEdycji& teraz);
    // The definitions were saved to a file or written to the register.
    void zapisanoDefinicje(const StanEdycji& teraz);
    // Records the state after the labels were read from a label file.
    void wczytanoNapisy(const StanEdycji& teraz);
    // The labels were written to a label file. What writing did to them (it pads each text
    // to its full length) is no step of its own.
    void zapisanoNapisy(const StanEdycji& teraz);

    bool moznaCofnac() const { return !m_kroki.empty(); }
    // The state to go back to from `teraz` (a change not yet recorded counts as the last
    // step); none when there is nothing to undo.
    std::optional<StanEdycji> cofnij(const StanEdycji& teraz);

    bool niezapisaneDefinicje(const StanEdycji& teraz) const;
    bool niezapisaneNapisy(const StanEdycji& teraz) const;

private:
    std::deque<StanEdycji> m_kroki;
    StanEdycji m_ostatni;           // the state last recorded
    QByteArray m_zapisaneDefinicje; // as the key-definition file holds them
    Napisy m_zapisaneNapisy;
};
