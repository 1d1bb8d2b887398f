#pragma once
/* libsevrin.so, the register's serial-port library: everything it exports, for the library
 * itself and for its callers. docs/protocol.md describes the exchanges.
 *
 * C linkage, one-byte results. One port per process: the functions share it and take turns
 * (each holds the library's lock while it runs); calls may come from any thread. Nothing is
 * thrown across these functions. */

#ifdef __cplusplus
extern "C" {
#endif

/* The callee removes the arguments (__stdcall), as in the maker's 32-bit Windows DLL; the
 * Windows build of this library (Sevrin.dll) is declared the same way. Elsewhere there is one
 * convention and this is empty. */
#if defined(_WIN32) && !defined(_WIN64)
#define SEVRIN_FUNKCJA __stdcall
#else
#define SEVRIN_FUNKCJA
#endif

/* Closes the port; nothing when none is open. */
void SEVRIN_FUNKCJA UnInitializePort(void);

/* Opens port `port` (the file comN of the working folder when it exists, else /dev/ttyS<N-1>)
 * at `baud` (9600, 19200, 28800 or 57600), 8N1, with a reply timeout of `timeout` seconds
 * (`timeout2` is ignored: callers pass the same value twice). 0 when the port is open; 62 when
 * it is not (no such port, busy, no permission). */
unsigned char SEVRIN_FUNKCJA InitializePort(unsigned char port, unsigned short baud,
                                            unsigned short timeout, unsigned short timeout2);

/* Selects multiplexer channel `kanal` (1 to 8) on the open port: nonzero when selected, 0 when
 * not (no multiplexer, no register on the channel, no answer, or no open port). */
unsigned char SEVRIN_FUNKCJA UstawKanal(unsigned char kanal);

/* One command exchange: sends command `rozkaz` with the first `ile2` bytes of `nadawanie` as
 * its arguments and waits for the reply. 0 with the reply data in `odbior` (at most `ile`
 * bytes, 0 meaning 255; the rest of the 256 bytes zeroed), else the result code (20, 21, 23,
 * 24, 62, a key-command code or the translated status). Both buffers hold 256 bytes; either
 * may be null when not used. */
unsigned char SEVRIN_FUNKCJA RSSequence(unsigned char rozkaz, unsigned char ile, unsigned char ile2,
                                        unsigned char* odbior, unsigned char* nadawanie);

/* Optional: not in every build of the library, so a caller looks it up at run time (dlsym,
 * GetProcAddress).
 *
 * Why the last InitializePort that failed could not open the port: one line of Polish text in
 * UTF-8 (no such port, busy, no permission and the dialout group), copied into the 256-byte
 * `bufor` (at most 255 bytes and a zero byte). Returns 1 with the reason, 0 with an empty text
 * when the last InitializePort succeeded. */
unsigned char SEVRIN_FUNKCJA PowodBleduPortu(char* bufor);

#ifdef __cplusplus
}
#endif
