#pragma once
// Result codes of the register libraries and their messages. A code is one byte: 0 is
// success, every other value a failure the user is told about in Polish. Widget-free, so the
// table is tested directly.

#include <QString>
#include <cstdint>

// The message for a result code, exactly as the user sees it; a bare carriage return breaks
// the line. Codes without a message (0 among them) give an empty text.
QString TekstBledu(std::uint8_t kod);

// Translates a status byte as the register reports it into the result code space: bit 7 is
// ignored, bit 6 means an unknown failure (255); the low six bits map onto 0-25, 101-105,
// 107-115, 200-210 and 211, the rest onto 255. Code 106 is never produced.
std::uint8_t KodZeStatusu(std::uint8_t status);
