#pragma once
// The register models the connection test tells apart by the first byte of the
// identification reply. Only model code 9 is the register this tool is for. Widget-free.

#include <QString>
#include <cstdint>

inline constexpr int kModelPixoE = 9;

// Model code 1 to 9 for a known identification byte, 0 for any other.
int KodModeluZBajtu(std::uint8_t bajt);

// The model's name as the success message shows it after "TALMO "; empty for code 0.
QString NazwaModelu(int kodModelu);
