#pragma once
// Rules on the names of the files the user saves. Widget-free.

#include <QString>

// The file name without its folder.
QString nazwaBezFolderu(const QString& sciezka);
// "KONFIG.TXT" and "RAPORT.TXT" (the protocol library's configuration and report files), in
// any letter case and any folder: names the user may not save under.
bool zastrzezonaNazwa(const QString& sciezka);
