#pragma once
// Which way to the register the programs take, chosen once at start: the maker's Kavrel.dll
// and Sevrin.dll through Wine when both lie in the working folder, else the program's own
// libraries. Widget-free.

#include <QString>
#include <memory>
#include <optional>

#include "transfer/BibliotekiWine.h"

// The maker's two DLLs in `folder` (any letter case), when both are there.
std::optional<BibliotekiWine::Pliki> BibliotekiProducenta(const QString& folder);

// The way to the register, chosen once at start: the maker's DLLs through Wine when both lie
// in `folder`, else the program's own libraries.
std::unique_ptr<LaczeKasy> WybierzBiblioteki(BibliotekiKasy::Oczekiwanie oczekiwanie,
                                             const QString& folder = QStringLiteral("."));
