#pragma once
// Work that only a hidden control needs (fitting its font, say) waits until the control is
// first shown, so that it costs nothing at start-up.

#include <functional>

class QWidget;

// Runs `dzialanie` once: when `w` is first shown, before it is painted; at once when it is
// visible already.
void przyPierwszymPokazaniu(QWidget* w, std::function<void()> dzialanie);
