#pragma once
/* libkavrel.so, the register's file-based protocol library: everything it exports, for the
 * library itself and for its callers. docs/kavrel.md describes the files and result codes.
 *
 * C linkage; file names and lines in 256-byte zero-terminated buffers (at most 255
 * characters); one-byte results. Calls may come from any thread. A register operation blocks
 * its caller until the register has answered or the timeout of KONFIG.TXT has run out. */

#ifdef __cplusplus
#include <cstdint>
extern "C" {
#else
#include <stdint.h>
#endif

/* Who removes the arguments, as the maker's 32-bit Windows DLL has it: the caller for the
 * register operations and the optional functions (__cdecl), the callee for the line-file
 * writer (__stdcall). The Windows build of this library (Kavrel.dll) is declared the same way;
 * elsewhere there is one convention and both are empty. */
#if defined(_WIN32) && !defined(_WIN64)
#define KAVREL_OPERACJA __cdecl
#define KAVREL_PLIK __stdcall
#else
#define KAVREL_OPERACJA
#define KAVREL_PLIK
#endif

/* Register operations: 0 on success, else a result code. Each finds the register's connection
 * in KONFIG.TXT by the number named in its input file. On failure an older output file is left
 * untouched. */

/* The register's 28 key definitions into `wyjscie` (a key-definition file). */
unsigned char KAVREL_OPERACJA __ODefKlaw(const char* wejscie, const char* wyjscie);
/* The key-definition file `plik` into the register. */
unsigned char KAVREL_OPERACJA __ZDefKlaw(const char* plik);
/* Deletes the keys of the delete list `lista` in the register. */
unsigned char KAVREL_OPERACJA __KDefKlaw(const char* lista);
/* The goods names, the six payment names, the eight currency names into `wyjscie`. */
unsigned char KAVREL_OPERACJA __TowarMax(const char* wejscie, const char* wyjscie);
unsigned char KAVREL_OPERACJA __OPlat(const char* wejscie, const char* wyjscie);
unsigned char KAVREL_OPERACJA __OWaluta(const char* wejscie, const char* wyjscie);

/* Line-file writer: nonzero on success. Mode 1 creates the file anew; each line gets CR LF; the
 * file appears whole on close. Handles are 1 to 32; a closed or unknown one is refused. */
unsigned char KAVREL_PLIK _OtwartoPlik(int32_t* uchwyt, const char* nazwa, unsigned char tryb);
unsigned char KAVREL_PLIK _ZapisanoDoPlikuLinie(int32_t uchwyt, const char* linia);
unsigned char KAVREL_PLIK _ZamknieciePliku(int32_t* uchwyt);

/* Optional: not in every build of the library, so a caller looks it up at run time
 * (dlsym, GetProcAddress) and works without it.
 *
 * Progress of the register operations. `funkcja` is called on the thread of the running
 * operation, each time more of a long reply has arrived, with how many items of it (goods,
 * payments, currencies, key definitions) are in and how many the reply holds (0 while not yet
 * known). It must return quickly and call no function of this library. One function for the
 * whole process; a null `funkcja` stops the reports. Safe to call while an operation runs. */
typedef void(KAVREL_OPERACJA* KavrelPostep)(void* kontekst, unsigned int zrobione,
                                            unsigned int calosc);
void KAVREL_OPERACJA _UstawPostep(KavrelPostep funkcja, void* kontekst);

/* Optional, looked up at run time like _UstawPostep.
 *
 * Why the last register operation of this library that ended with 62 could not open its port:
 * one line of Polish text in UTF-8 (no such port, busy, no permission and the dialout group),
 * copied into the 256-byte `bufor` (at most 255 bytes and a zero byte). Returns 1 with the
 * reason, 0 with an empty text when the last operation did not end with 62. */
unsigned char KAVREL_OPERACJA _PowodBleduPortu(char* bufor);

/* Optional, looked up at run time like _UstawPostep.
 *
 * Why the last line-file call (_OtwartoPlik, _ZapisanoDoPlikuLinie, _ZamknieciePliku) failed:
 * the system's error number (errno), such as EACCES or ENOSPC, when the file could not be
 * created, written or put in place; 0 after a call that succeeded or that was refused for its
 * arguments. A close that fails for an earlier failed line gives that line's number. */
int KAVREL_OPERACJA _BladSystemuPliku(void);

/* Optional, looked up at run time like _UstawPostep.
 *
 * What was wrong with KONFIG.TXT in the last register operation of this library that ended with
 * 7 or 13 to 16: one line of Polish text in UTF-8 naming the line at fault and its number when
 * one line is ("linia 2: pola rozdzielone spacjami, a muszą być rozdzielone znakiem TAB"),
 * copied into the 256-byte `bufor` (at most 255 bytes and a zero byte). Returns 1 with the
 * text, 0 with an empty text after an operation that did not end so. */
unsigned char KAVREL_OPERACJA _PowodBleduKonfiguracji(char* bufor);

#ifdef __cplusplus
}
#endif
